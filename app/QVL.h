#pragma once

#include "content/QVL_CardArrangements.h"
#include "content/QVL_Languages.h"
#include "content/QVL_LongTermStorages.h"
#include "content/QVL_Units.h"
#include "core/QVL_System.h"
#include "statistics/QVL_Statistics.h"
#include "app/QVL_LoginView.h"
#include "app/QVL_UnitView.h"
#include "app/QVL_UpdateThread.h"
#include "content/QVL_StorageHandle.h"
#include "query/QVL_Query.h"
#include "users/QVL_Options.h"
#include "users/QVL_Users.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

// The application core: one per process, alive for the whole run. It owns the
// system services, the managers of the active files and the program options,
// and starts the update search. Screens reach all data through it.
class TQVL
{
public:
    // Creates the members; opens no file. The new core becomes the one Instance() returns.
    TQVL();
    // Asks a running update search to stop and waits for it (at most
    // UpdateJoinTimeoutMs), then releases the members in reverse order, the
    // system services last.
    ~TQVL();
    TQVL(const TQVL&) = delete;
    TQVL& operator=(const TQVL&) = delete;

    // The core of this process, created on first use.
    static TQVL& Instance();
    // The core of this process, or nullptr.
    static TQVL* Current();

    // Opens the options, starts the sound system and opens or asks for the user profile.
    void Startup();
    // Set, Startup leaves the sound system to StartSoundSystem: the window
    // shows its first screen without waiting for the sound library.
    bool DeferSoundSystem = false;
    // Starts the sound system unless the options turn it off or it runs already.
    void StartSoundSystem();
    void AutoloadUser();
    // Lists the profiles of the users folder and asks for a user.
    void RequestUserSelection();
    void StartUpdateSearch();
    // How long the core's end waits for an update search that was asked to
    // stop; a search stuck past it can no longer reach the core (its result
    // is bound to the core's context object).
    int UpdateJoinTimeoutMs = 5000;
    void CloseFiles();
    // The folder of the long-term storages: the documents folder + "/Storages".
    QString StoragesFolder() const;

    // Copies the cards of `source` into `destination` and saves it (see
    // TQVL_Unit_Integration::Integrate). Into a long-term storage, the active
    // user's results then mark the storage and start the new cards at stage 0.
    // An existing storage is first copied into its "Backups" folder; returns
    // the copy's path (empty when none was needed).
    QString IntegrateUnit(TQVL_Unit& destination, const TQVL_Unit& source, bool skipConflicts);
    // Opens the language profiles of the active unit's home and foreign
    // language; a language without a profile gets the one of the program's
    // home language, and `warn` receives the message saying so.
    void OpenUnitLanguages(const std::function<void(const QString&)>& warn);
    // Opens the card arrangement a grammar unit names; raises the German
    // message when no arrangement has its id.
    void OpenUnitArrangement();
    // Closes what OpenUnitLanguages and OpenUnitArrangement opened.
    void CloseUnitCompanions();

    // The active user has just logged in: lists the long-term storages,
    // counts their due cards, starts the update search when the learner may
    // update and the options ask for it, and forgets what reading aloud told
    // the learner before. Returns what the window shows.
    TQVL_LoginView UserLoggedIn();
    // Makes `fileName` the active unit, closing the one open before.
    void OpenActiveUnit(const QString& fileName);
    // The active unit has just been opened: opens its languages, then, for a
    // grammar unit, its arrangement. When a step fails, what was opened is
    // closed again, the unit too, and the error raised. Returns what the window shows.
    TQVL_UnitView ActiveUnitOpened(const std::function<void(const QString&)>& warn);
    // Opens the long-term storage of the active unit's languages, creating it
    // when there is none; closed when the handle goes. Raises the German
    // message when the active unit is a storage itself.
    TQVL_StorageHandle OpenStorageOfActiveUnit();

    QPointer<TQVL_UpdateThread> UpdateThread;
    std::unique_ptr<TQVL_System> System;
    std::unique_ptr<TQVL_Units> Units;
    std::unique_ptr<TQVL_Users> Users;
    std::unique_ptr<TQVL_Languages> Languages;
    std::unique_ptr<TQVL_Options> Options;
    std::function<void()> OnUserSelectionRequired;
    std::unique_ptr<TQVL_Query> Query;
    std::unique_ptr<TQVL_Statistics> Statistics;
    std::unique_ptr<TQVL_CardArrangements> CardArrangements;
    std::function<void()> OnUpdateSearchStart;
    std::function<void(bool updatesFound, bool searchFailed)> OnUpdateSearchDone;
    std::unique_ptr<TQVL_LongTermStorages> LongTermStorages;

    // The search the update thread runs; replaced in tests.
    TQVL_UpdateThread::SearchFunction UpdateSearch;

private:
    // Queued results of the update thread are bound to it; they die with the core.
    std::unique_ptr<QObject> updateContext;
};
