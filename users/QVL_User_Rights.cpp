#include "users/QVL_User_Rights.h"

const std::array<TQVL_User_Rights::Entry, 17>& TQVL_User_Rights::Table()
{
    using R = TQVL_User_Rights;
    static const std::array<Entry, 17> table{{
        {"PRINT", &R::PRINT, "Drucken", ""},
        {"USERPROFILES_DELETE", &R::USERPROFILES_DELETE, "Benutzerprofile löschen", "Benutzerprofile"},
        {"INTERNET", &R::INTERNET, "Internet-Funktionalitäten nutzen", ""},
        {"LANGUAGES_NEW", &R::LANGUAGES_NEW, "Neue Sprachprofile anlegen", "Sprachprofile"},
        {"UNITS_NEW", &R::UNITS_NEW, "Neue Lektionen erstellen", "Lektionen"},
        {"QUERY_OPTIONS", &R::QUERY_OPTIONS, "Abfrageeinstellungen vornehmen", "Abfrage"},
        {"USERPROFILES_EDIT_RESULTS", &R::USERPROFILES_EDIT_RESULTS, "Abfrageergebnisse löschen", "Benutzerprofile"},
        {"USERPROFILES_EDIT_SELF", &R::USERPROFILES_EDIT_SELF, "Eigenes Benutzerprofil bearbeiten", "Benutzerprofile"},
        {"USERPROFILES_EDIT_SELT_RIGHTS", &R::USERPROFILES_EDIT_SELT_RIGHTS, "Eigene Rechte bearbeiten",
         "Benutzerprofile"},
        {"PROGRAM_OPTIONS_EDIT", &R::PROGRAM_OPTIONS_EDIT, "Programmoptionen editieren", ""},
        {"LANGUAGES_DELETE", &R::LANGUAGES_DELETE, "Sprachprofile löschen", "Sprachprofile"},
        {"QUERY_SELFASSESSMENT", &R::QUERY_SELFASSESSMENT, "Eigene Bewertung der Abfrage", "Abfrage"},
        {"LANGUAGES_EDIT", &R::LANGUAGES_EDIT, "Sprachprofile bearbeiten", "Sprachprofile"},
        {"UNITS_EDIT", &R::UNITS_EDIT, "Lektionen bearbeiten", "Lektionen"},
        {"USERPROFILES_NEW", &R::USERPROFILES_NEW, "Neue Benutzerprofile erstellen", "Benutzerprofile"},
        {"PROGRAM_UPDATES", &R::PROGRAM_UPDATES, "Programmupdates einspielen", ""},
        {"USERPROFILES_EDIT_OTHER", &R::USERPROFILES_EDIT_OTHER, "Andere Benutzerprofile bearbeiten",
         "Benutzerprofile"},
    }};
    return table;
}

void TQVL_User_Rights::SetAll(bool value)
{
    for (const Entry& entry : Table())
        this->*entry.Flag = value;
}

bool TQVL_User_Rights::HasAnyOf(const std::vector<TQVL_Right>& rights) const
{
    if (rights.empty())
        return true;
    for (TQVL_Right right : rights)
        if (this->*right)
            return true;
    return false;
}

int TQVL_User_Rights::IndexOf(TQVL_Right right)
{
    const auto& table = Table();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].Flag == right)
            return int(i);
    // Every member is in the table; a test walks them all.
    return -1;
}
