#pragma once

#include "users/QVL_User_Rights.h"

#include <QString>

class TQVL_User;

// What the profile editor lets a learner change in a user profile, held as
// its controls show it: the password fields as typed (or the stored digest
// while untouched), the symbol as a list index. The editor copies its
// controls into this value and applies it; a save that fails puts the
// profile's previous values back, so nothing unsaved is written at logout.
class TQVL_User_Input
{
public:
    // The stored values as the editor shows them; both password fields hold the stored digest.
    static TQVL_User_Input Of(const TQVL_User& user);

    // Raises "Das Passwort stimmt nicht mit seiner Wiederholung überein!"
    // when the first password field is filled and differs from the second.
    void Validate() const;
    // Validate, then writes every field into the profile.
    void AssignTo(TQVL_User& user) const;
    // AssignTo, save (with the integrity guard on) and drop the write access
    // (the profile must hold it). Any error becomes "Fehler beim Speichern des
    // Benutzerprofiles "…"!" with its cause, and the profile in memory is as it
    // was before; a refused password leaves it untouched as well.
    void Apply(TQVL_User& user) const;

    QString Name;
    // Index of the symbol list; a negative index (the stored symbol is not in the list) keeps it.
    int Icon = -1;
    // Whether either password field was edited; otherwise the stored password stays.
    bool PasswordEdited = false;
    QString Password;
    QString PasswordRepeat;
    QString UnitsDirectory;
    TQVL_User_Rights Rights;
};
