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

    // Raises "Die Bezeichnung "<name>" ist nicht gültig!" unless `name` can
    // be a file name and is not blank.
    static void CheckProfileName(const QString& name);
    // Writes a new profile `name` (see TQVL_User::ResetToNewProfile) into
    // `folder`, creating the folder, and returns its uid. A profile never
    // replaces a file: a name taken in the folder, also in other letter case,
    // raises "Ein Benutzerprofil mit der Bezeichnung ... besteht bereits in
    // diesem Verzeichnis!". Nothing stays open.
    QString CreateProfile(const QString& folder, const QString& name);
    // Removes the profile file and its checksum companion; raises "Die Datei
    // ... konnte nicht gelöscht werden!" when the file stays.
    static void DeleteProfile(const QString& path);

protected:
    std::unique_ptr<TQVL_FileObject> CreateFileObject() override { return std::make_unique<TQVL_User>(); }
    void FileOpened() override
    {
        // Logged in before the listeners hear of it: they show whether the session is read-only.
        GetActiveUser().Login();
        TQVL_Manager::FileOpened();
    }
};
