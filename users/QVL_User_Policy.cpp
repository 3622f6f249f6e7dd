#include "users/QVL_User_Policy.h"

#include "users/QVL_User.h"
#include "users/QVL_User_Rights.h"

TQVL_User_Policy::ProfileAccess TQVL_User_Policy::ForProfile(const TQVL_User_Rights& editor, bool own)
{
    ProfileAccess access;
    access.MayEdit = own ? editor.USERPROFILES_EDIT_SELF : editor.USERPROFILES_EDIT_OTHER;
    access.MayEditRights = access.MayEdit && (!own || editor.USERPROFILES_EDIT_SELT_RIGHTS);
    access.MayDeleteResults = access.MayEdit && editor.USERPROFILES_EDIT_RESULTS;
    access.MayOpenUnguarded = !own && editor.USERPROFILES_EDIT_OTHER;
    return access;
}

bool TQVL_User_Policy::AsksPassword(const QString& storedDigest)
{
    return !storedDigest.isEmpty();
}

bool TQVL_User_Policy::MayLogIn(const QString& storedDigest, const QString& typed)
{
    return !AsksPassword(storedDigest) || TQVL_User::PasswordMatches(storedDigest, typed);
}
