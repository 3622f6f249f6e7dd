#pragma once

#include <optional>

// What the main window shows once a learner has logged in (TQVL::UserLoggedIn).
struct TQVL_LoginView
{
    // The profile is in use elsewhere and only read in this session.
    bool ReadOnly = false;
    // Cards due in the learner's storages; empty when no storage has results.
    std::optional<int> DueCards;
    // The update search was started (the learner may update and wants it searched).
    bool UpdateSearchStarted = false;
    // A lesson stayed open across the change of user; its commands stay with it.
    bool UnitOpen = false;
};
