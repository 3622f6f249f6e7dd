#pragma once

#include <QString>

class TQVL_User_Rights;

// The rules the user screens apply: what the logged-in user may change in a
// profile, and when a profile asks for its password.
namespace TQVL_User_Policy {

struct ProfileAccess
{
    // Name, symbol, password and units folder.
    bool MayEdit = false;
    bool MayEditRights = false;
    bool MayDeleteResults = false;
    // A profile whose companion does not match may be opened, to be repaired.
    bool MayOpenUnguarded = false;
};

// The access of a user with `editor` rights to a profile, their own (`own`)
// or another. Writing still needs the file's write access.
ProfileAccess ForProfile(const TQVL_User_Rights& editor, bool own);

// Whether logging in to a profile with `storedDigest` asks for a password.
bool AsksPassword(const QString& storedDigest);
// Whether `typed` opens a profile with `storedDigest`.
bool MayLogIn(const QString& storedDigest, const QString& typed);

} // namespace TQVL_User_Policy
