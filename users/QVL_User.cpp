#include "users/QVL_User.h"

#include "core/QVL_Error.h"
#include "core/QVL_ErrorDisplay.h"
#include "core/QVL_Notices.h"
#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLStream.h"
#include "core/QVL_XMLTag.h"
#include "core/QVL_XMLTagWriter.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "users/QVL_Options.h"
#include "users/QVL_PasswordHash.h"
#include "users/QVL_User_Rights.h"

#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

TQVL_User::TQVL_User() : results(std::make_unique<TQVL_Result_User>()), rights(std::make_unique<TQVL_User_Rights>())
{
    IntegrityGuard = true;
}

TQVL_User::~TQVL_User() = default;

void TQVL_User::LoadFromXML(TQVL_XMLTag& tag)
{
    ReadXML(tag);
}

void TQVL_User::ReadXML(const TQVL_XMLElement& root)
{
    // Everything is read into locals first, so a broken file leaves the profile as it was.
    try {
        const TQVL_XMLElement header = root.NeedChild("header"_L1);
        QString newUid = header.NeedChild("uid"_L1).Value();
        QString newName = header.NeedChild("name"_L1).Value();
        const int newIcon = header.NeedChild("icon"_L1).AsInteger();
        const TQVL_DateTime newLastLogin = header.NeedChild("lastlogin"_L1).AsDateTime();
        const qint64 newSeconds = header.NeedChild("alltimequeryseconds"_L1).AsInt64();
        QString newPassword = header.NeedChild("password"_L1).Value();
        QString newUnitsDirectory = header.NeedChild("units_directory"_L1).Value();

        const TQVL_XMLElement rightList = root.NeedChild("rights"_L1);
        TQVL_User_Rights newRights;
        for (const TQVL_User_Rights::Entry& entry : TQVL_User_Rights::Table())
            newRights.*entry.Flag = rightList.NeedChild(QLatin1String(entry.Name)).AsBoolean();

        // The learner's own settings came later: a profile without them keeps the defaults.
        bool newReadAloud = false;
        if (const TQVL_XMLElement settings = root.FindChild("settings"_L1))
            if (const TQVL_XMLElement flag = settings.FindChild("readaloud"_L1))
                newReadAloud = flag.AsBoolean();

        // Last: it keeps the results as they were when it fails.
        results->LoadFromXML(root.NeedChild("results"_L1));

        Uid = std::move(newUid);
        name = std::move(newName);
        icon = newIcon;
        lastlogin = newLastLogin;
        alltimequeryseconds = newSeconds;
        password = std::move(newPassword);
        units_directory = std::move(newUnitsDirectory);
        *rights = newRights;
        readaloud = newReadAloud;
        // The review logs lie beside the profile file.
        results->ReviewLogProfile = FileName;
    } catch (const TQVL_Error&) {
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" ist kein gültiges Benutzerprofil!").arg(FileName));
    }
}

void TQVL_User::SaveToXML(TQVL_XMLTag& tag)
{
    TQVL_XMLTagWriter writer(tag);
    WriteXML(writer);
}

void TQVL_User::WriteXML(TQVL_XMLWriter& writer)
{
    writer.Begin("header"_L1);
    writer.Text("uid"_L1, Uid);
    writer.Text("name"_L1, name);
    writer.Integer("icon"_L1, icon);
    writer.DateTime("lastlogin"_L1, lastlogin);
    writer.Integer("alltimequeryseconds"_L1, alltimequeryseconds);
    writer.Text("password"_L1, password);
    writer.Text("units_directory"_L1, units_directory);
    writer.End();

    writer.Begin("rights"_L1);
    for (const TQVL_User_Rights::Entry& entry : TQVL_User_Rights::Table())
        writer.Boolean(QLatin1String(entry.Name), rights.get()->*entry.Flag);
    writer.End();

    // Only a profile whose learner changed a setting carries them, so that
    // every other profile keeps the shape it always had.
    if (readaloud) {
        writer.Begin("settings"_L1);
        writer.Boolean("readaloud"_L1, readaloud);
        writer.End();
    }

    writer.Begin("results"_L1);
    // A new or renamed profile keeps its review logs beside its file.
    results->ReviewLogProfile = FileName;
    results->WriteXML(writer);
    writer.End();
}

void TQVL_User::Login()
{
    if (loggedIn)
        throw TQVL_Error(QStringLiteral("User already logged in"));
    loggedIn = true;
    readOnlySession = false;
    sessionLock = false;
    if (!Options || !Options->userfiles_readonly) {
        // Held until logout: a second program instance on the same profile must
        // never overwrite what this one stores.
        try {
            sessionLock = TQVL_FileObject::RequestWriteAccess();
        } catch (const TQVL_Error& error) {
            // Changed by another instance and unreadable now: the session only reads.
            TQVL_ErrorDisplay::Current().ShowError(error.Message());
        }
        readOnlySession = !sessionLock;
    }
    // After the lock: a profile that another instance saved meanwhile has just been read again.
    lastlogin = TQVL_DateTime::Now();
    if (readOnlySession)
        TQVL_Notices::Show(QStringLiteral("Das Benutzerprofil \"%1\" ist schreibgeschützt oder in einem anderen "
                                          "Programmfenster geöffnet. Es wird nur gelesen: Ergebnisse werden nicht "
                                          "gespeichert.")
                               .arg(QFileInfo(FileName).fileName()));
}

bool TQVL_User::RequestWriteAccess()
{
    if (loggedIn && readOnlySession)
        return false;
    if (loggedIn && sessionLock && WriteAccess)
        return true;
    return TQVL_FileObject::RequestWriteAccess();
}

bool TQVL_User::ReleaseWriteAccess()
{
    // Releasing would let another instance take the profile in the middle of the session.
    if (loggedIn && sessionLock && WriteAccess)
        return true;
    return TQVL_FileObject::ReleaseWriteAccess();
}

void TQVL_User::LogOut()
{
    if (!loggedIn)
        throw TQVL_Error(QStringLiteral("User is not logged in"));
    // The session's lock kept every other writer out, so what this session
    // holds is the newest: asking again could only read an older state back.
    const bool locked = sessionLock && WriteAccess;
    loggedIn = false;
    sessionLock = false;
    // The learner was told at login; what this session holds is not written.
    if (readOnlySession)
        return;
    if (Options && Options->userfiles_readonly)
        return;
    // A refused request leaves read access; the save then reports it.
    if (!locked)
        RequestWriteAccess();
    Save();
}

void TQVL_User::Close()
{
    if (loggedIn) {
        try {
            LogOut();
        } catch (...) {
            // A profile that could not be written must still be let go, or the
            // program could neither open another profile nor end cleanly.
            if (IsOpen)
                CloseFile();
            throw;
        }
    }
    CloseFile();
}

void TQVL_User::ResetToNewProfile(const QString& profileName)
{
    name = profileName;
    icon = 0;
    password.clear();
    units_directory.clear();
    readaloud = false;
    lastlogin = TQVL_DateTime();
    alltimequeryseconds = 0;
    results->Clear();
    results->lastdeletion_date = TQVL_DateTime();
    rights->SetAll(true);
}

QString TQVL_User::PasswordDigest(const QString& passwordText)
{
    return TQVL_PasswordHash::Hash(passwordText);
}

bool TQVL_User::PasswordMatches(const QString& storedDigest, const QString& typed)
{
    return TQVL_PasswordHash::Matches(storedDigest, typed);
}

void TQVL_User::UpgradePassword(const QString& typed)
{
    // Outside Latin-1 the old digest saw "?" for every such character: it
    // cannot tell what the learner's password really is.
    if (!HasPassword() || !TQVL_PasswordHash::IsLegacy(password) ||
        QString::fromLatin1(typed.toLatin1()) != typed || !TQVL_PasswordHash::Matches(password, typed))
        return;
    password = TQVL_PasswordHash::Hash(typed);
}

void TQVL_User::SetPassword(const QString& passwordText)
{
    if (passwordText.isEmpty())
        password.clear();
    else
        password = PasswordDigest(passwordText);
}

void TQVL_User::DeleteResults(bool everything)
{
    if (everything) {
        results->Clear();
    } else {
        for (int i = 0; i < results->UnitCount(); ++i)
            results->Unit(i).ClearCards();
    }
    Save();
    results->lastdeletion_date = TQVL_DateTime::Now();
}
