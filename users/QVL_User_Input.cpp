#include "users/QVL_User_Input.h"

#include "core/QVL_Error.h"
#include "users/QVL_User.h"

namespace {

// Every value the editor may change, so that a failed save can put them back.
struct Snapshot
{
    QString name;
    int icon;
    QString password;
    QString units_directory;
    TQVL_User_Rights rights;
    bool integrityGuard;

    static Snapshot Of(const TQVL_User& u)
    {
        return {u.name, u.icon, u.password, u.units_directory, u.Rights(), u.IntegrityGuard};
    }
    void RestoreTo(TQVL_User& u) const
    {
        u.name = name;
        u.icon = icon;
        u.password = password;
        u.units_directory = units_directory;
        u.Rights() = rights;
        u.IntegrityGuard = integrityGuard;
    }
};

} // namespace

TQVL_User_Input TQVL_User_Input::Of(const TQVL_User& user)
{
    TQVL_User_Input input;
    input.Name = user.name;
    input.Icon = user.icon;
    input.Password = user.password;
    input.PasswordRepeat = user.password;
    input.UnitsDirectory = user.units_directory;
    input.Rights = user.Rights();
    return input;
}

void TQVL_User_Input::Validate() const
{
    if (!Password.isEmpty() && Password != PasswordRepeat)
        throw TQVL_Error(QStringLiteral("Das Passwort stimmt nicht mit seiner Wiederholung überein!"));
}

void TQVL_User_Input::AssignTo(TQVL_User& user) const
{
    Validate();
    user.name = Name;
    if (Icon >= 0)
        user.icon = Icon;
    if (PasswordEdited)
        user.SetPassword(Password);
    user.units_directory = UnitsDirectory;
    user.Rights() = Rights;
}

void TQVL_User_Input::Apply(TQVL_User& user) const
{
    Validate();
    const auto failed = [this](const TQVL_Error& error) {
        return TQVL_Error::WithCause(QStringLiteral("Fehler beim Speichern des Benutzerprofiles \"%1\"!").arg(Name),
                                     error.Message());
    };
    const Snapshot before = Snapshot::Of(user);
    try {
        AssignTo(user);
        // Every save writes the companion again.
        user.IntegrityGuard = true;
        user.Save();
    } catch (const TQVL_Error& error) {
        before.RestoreTo(user);
        throw failed(error);
    } catch (...) {
        before.RestoreTo(user);
        throw;
    }
    // Saved: memory and file agree now, whatever the release says.
    try {
        user.ReleaseWriteAccess();
    } catch (const TQVL_Error& error) {
        throw failed(error);
    }
}
