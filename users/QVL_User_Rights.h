#pragma once

#include <array>
#include <vector>

class TQVL_User_Rights;
// One right, named by its member, so that a misspelt right does not compile.
using TQVL_Right = bool TQVL_User_Rights::*;

// The seventeen rights of a user profile. Each one gates commands of the
// program; a few are stored and edited but consulted nowhere.
class TQVL_User_Rights
{
public:
    // One right as the file and the profile editor know it.
    struct Entry
    {
        // Element name below `rights`.
        const char* Name;
        bool TQVL_User_Rights::*Flag;
        // Caption and group node in the profile editor (UTF-8); an empty group is the top level.
        const char* Caption;
        const char* Group;
    };
    // The rights in their stored order.
    static const std::array<Entry, 17>& Table();

    void SetAll(bool value);
    // Whether one of `rights` is granted; an empty list needs no right.
    bool HasAnyOf(const std::vector<TQVL_Right>& rights) const;
    // The position of `right` in Table().
    static int IndexOf(TQVL_Right right);
    bool operator==(const TQVL_User_Rights&) const = default;

    bool PRINT = false;
    bool USERPROFILES_DELETE = false;
    bool INTERNET = false;
    bool LANGUAGES_NEW = false;
    bool UNITS_NEW = false;
    bool QUERY_OPTIONS = false;
    bool USERPROFILES_EDIT_RESULTS = false;
    bool USERPROFILES_EDIT_SELF = false;
    // Spelled with "SELT" in the files.
    bool USERPROFILES_EDIT_SELT_RIGHTS = false;
    bool PROGRAM_OPTIONS_EDIT = false;
    bool LANGUAGES_DELETE = false;
    bool QUERY_SELFASSESSMENT = false;
    bool LANGUAGES_EDIT = false;
    bool UNITS_EDIT = false;
    bool USERPROFILES_NEW = false;
    bool PROGRAM_UPDATES = false;
    bool USERPROFILES_EDIT_OTHER = false;
};
