#pragma once

#include "core/QVL_DateTime.h"
#include "core/QVL_FileObject.h"

#include <QString>

#include <memory>

class TQVL_Options;
class TQVL_Result_User;
class TQVL_User_Rights;

// A user profile (".qxs"): identity, optional password, own units folder,
// rights, practice time and all query results. Guarded by a ".crc" companion.
// The active profile is opened read-only, logged in, and written back at
// logout unless the program options keep user files read-only.
class TQVL_User : public TQVL_FileObject
{
public:
    TQVL_User();
    ~TQVL_User() override;

    void LoadFromXML(TQVL_XMLTag& tag) override;
    void SaveToXML(TQVL_XMLTag& tag) override;
    // The same as LoadFromXML, straight from the parsed file: a profile with
    // years of results never exists as a tag tree.
    void ReadXML(const TQVL_XMLElement& root) override;
    void WriteXML(TQVL_XMLWriter& writer) override;

    // Sets the logged-in flag and lastlogin := now.
    void Login();
    // Clears the logged-in flag and, unless the options keep user files
    // read-only, requests write access and saves the profile (which raises
    // "Datei ist schreibgeschützt!" when the access is refused).
    void LogOut();
    // LogOut when logged in, then CloseFile. The file is closed even when the
    // logout's save fails; that error is passed on afterwards.
    void Close();
    bool IsLoggedIn() const { return loggedIn; }

    // The values of a profile just created: `profileName`, symbol 0, no
    // password, no own units folder, never logged in, no practice time, no
    // results, every right set. The Uid is left as it is.
    void ResetToNewProfile(const QString& profileName);

    // Lower-case hexadecimal MD5 of the password's 8-bit (Latin-1) text.
    static QString PasswordDigest(const QString& passwordText);
    // Whether `typed` hashes to `storedDigest` exactly (an upper-case digest never matches).
    static bool PasswordMatches(const QString& storedDigest, const QString& typed);
    bool HasPassword() const { return !password.isEmpty(); }
    bool CheckPassword(const QString& typed) const { return PasswordMatches(password, typed); }
    // Stores the digest of `passwordText`; an empty text removes the password.
    void SetPassword(const QString& passwordText);

    TQVL_Result_User& Results() const { return *results; }
    // Clears the card records of every unit (the counters and stored queries
    // stay), or with `everything` the whole results; saves the profile, then
    // notes the deletion date, which the next save writes.
    void DeleteResults(bool everything);
    TQVL_User_Rights& Rights() const { return *rights; }

    // The program options consulted at logout (`userfiles_readonly`); not
    // owned. Set by the owner; without options the logout saves.
    const TQVL_Options* Options = nullptr;

    QString name;
    // Symbol: 0 "Männlich", 1 "Weiblich", 2 "Männlich 2", 3 "Männlich 3".
    int icon = 0;
    // Digest of the password (see PasswordDigest); empty for none.
    QString password;
    // The user's own units folder; empty for the folder of the program options.
    QString units_directory;
    qint64 alltimequeryseconds = 0;
    // Empty for a profile that was never used.
    TQVL_DateTime lastlogin;

private:
    std::unique_ptr<TQVL_Result_User> results;
    std::unique_ptr<TQVL_User_Rights> rights;
    bool loggedIn = false;
};
