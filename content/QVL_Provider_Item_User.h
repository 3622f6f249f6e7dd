#pragma once

#include "content/QVL_Provider_Item_Custom.h"
#include "core/QVL_DateTime.h"

// A user profile file with what the user selection shows.
class TQVL_Provider_Item_User : public TQVL_Provider_Item_Custom
{
public:
    void Load() override;

    QString UserName;
    int Icon = 0;
    // The stored password digest, unchanged; empty without password.
    QString Password;
    QString Uid;
    TQVL_DateTime LastLogin;
    qint64 AllTimeQuerySeconds = 0;
};
