#pragma once

#include <QtGlobal>

class TQVL_FileObject;
class TQVL_Result_User;

// What a query needs of the logged-in user's profile. The owner of the query
// hands it out; a null Profile means that no user is logged in.
struct TQVL_Query_ActiveUser
{
    // The profile file: write access is requested at start, and the profile is
    // saved and released when the results are stored.
    TQVL_FileObject* Profile = nullptr;
    // The results inside that profile.
    TQVL_Result_User* Results = nullptr;
    // The profile's total query time in seconds.
    qint64* AllTimeQuerySeconds = nullptr;
};
