#pragma once

#include "content/QVL_Manager.h"
#include "content/QVL_Provider_Users.h"
#include "users/QVL_User.h"

// The logged-in user: the active user profile, logged in as soon as it opens,
// and the list of profiles in the users folder. Further profiles handed out
// by CreateAdditionalFile (for the profile editor) are not logged in.
class TQVL_Users : public TQVL_Manager
{
public:
    TQVL_Users() { Initialize(std::make_unique<TQVL_Provider_Users>(), QStringLiteral(".qxs")); }

    TQVL_User& GetActiveUser() const { return activeAs<TQVL_User>("no active User"); }
    TQVL_Provider_Users& Profiles() const { return static_cast<TQVL_Provider_Users&>(Provider()); }
    // A user is active exactly while the profile is open.
    bool HasActiveUser() const { return GetActiveUser().IsOpen; }

protected:
    std::unique_ptr<TQVL_FileObject> CreateFileObject() override { return std::make_unique<TQVL_User>(); }
    void FileOpened() override
    {
        TQVL_Manager::FileOpened();
        GetActiveUser().Login();
    }
};
