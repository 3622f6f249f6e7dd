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

    // Sets the logged-in flag and lastlogin := now, and takes the profile's
    // write lock for the whole session (unless the options keep user files
    // read-only); a profile another instance saved since it was opened is
    // read again first. When another program instance holds it, or the file is
    // read-only, the session is read-only: the learner is told, and nothing
    // of this session is ever written to the profile.
    void Login();
    // Clears the logged-in flag and, unless the session is read-only or the
    // options keep user files read-only, saves the profile (which raises
    // "Datei ist schreibgeschützt!" when the access is refused).
    void LogOut();
    // LogOut when logged in, then CloseFile. The file is closed even when the
    // logout's save fails; that error is passed on afterwards.
    void Close();
    bool IsLoggedIn() const { return loggedIn; }
    // Logged in without the profile's write lock (see Login).
    bool IsReadOnlySession() const { return loggedIn && readOnlySession; }

    // While logged in with the session lock, write access is kept; in a
    // read-only session it is never granted. Otherwise as for every file.
    bool RequestWriteAccess() override;
    bool ReleaseWriteAccess() override;

    // The values of a profile just created: `profileName`, symbol 0, no
    // password, no own units folder, never logged in, no practice time, no
    // results, every right set. The Uid is left as it is.
    void ResetToNewProfile(const QString& profileName);

    // The stored form of a password: Argon2id, salted (see TQVL_PasswordHash).
    static QString PasswordDigest(const QString& passwordText);
    // Whether `typed` is the password stored as `storedDigest`; an MD5 digest
    // of an earlier version is compared as it always was (upper case never matches).
    static bool PasswordMatches(const QString& storedDigest, const QString& typed);
    bool HasPassword() const { return !password.isEmpty(); }
    bool CheckPassword(const QString& typed) const { return PasswordMatches(password, typed); }
    // Stores the digest of `passwordText`; an empty text removes the password.
    void SetPassword(const QString& passwordText);
    // After `typed` opened the profile: an MD5 digest of an earlier version is
    // replaced by Argon2id of `typed`, written with the next save. Only when
    // the old digest is exact for `typed` (Latin-1 text); otherwise it stays.
    void UpgradePassword(const QString& typed);

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
    // Cards without a recording are read aloud (the learner's switch in play and query).
    bool readaloud = false;

private:
    std::unique_ptr<TQVL_Result_User> results;
    std::unique_ptr<TQVL_User_Rights> rights;
    bool loggedIn = false;
    bool readOnlySession = false;
    bool sessionLock = false;
};
