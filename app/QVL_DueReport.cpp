#include "app/QVL_DueReport.h"

#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "users/QVL_User.h"

#include <QFileInfo>

namespace {

QString storageName(const TQVL_Result_Unit& unit)
{
    const QString name = QFileInfo(unit.unit_lastknownfilename).completeBaseName();
    return name.isEmpty() ? unit.unit_uid : name;
}

QString cards(int count)
{
    return count == 1 ? QStringLiteral("1 Vokabel") : QStringLiteral("%1 Vokabeln").arg(count);
}

} // namespace

void TQVL_DueReport::Collect(TQVL& core, TQVL_DateTime now)
{
    Profiles.clear();
    Errors.clear();
    const QString optionsFile = core.System->AppDataFolder + QStringLiteral("/Data/Options.xml");
    try {
        if (!core.Options->IsOpen)
            core.Options->Open(optionsFile);
    } catch (const TQVL_Error& error) {
        throw TQVL_Error::WithCause(QStringLiteral("Eine zum Betrieb der Anwendung benötigte Datei konnte nicht "
                                                   "gefunden werden. Bitte installieren Sie die Anwendung neu."),
                                    error.Message());
    }
    TQVL_Provider_Custom& profiles = core.Users->Provider();
    profiles.Clear();
    profiles.Scan(core.Options->UsersFolder(core.System->DocumentsFolder));
    for (const TQVL_Provider_Item_Custom* item : profiles.Items) {
        if (!item->IsFile)
            continue;
        // Read-only and without logging in: a running program keeps the profile as it is.
        TQVL_User user;
        try {
            user.Open(item->Path);
        } catch (const TQVL_Error& error) {
            Errors << error.Message();
            continue;
        }
        // The whole profile decides, not the few header bytes a list reads.
        if (!user.HasPassword()) {
            Profile profile{user.name, {}};
            for (int i = 0; i < user.Results().UnitCount(); ++i) {
                const TQVL_Result_Unit& unit = user.Results().Unit(i);
                if (!unit.longtermstorage)
                    continue;
                Storage storage{storageName(unit), 0};
                unit.CountDue(now, storage.Due);
                profile.Storages.push_back(storage);
            }
            Profiles.push_back(std::move(profile));
        }
        user.CloseFile();
    }
}

QStringList TQVL_DueReport::Lines() const
{
    QStringList lines;
    for (const Profile& profile : Profiles) {
        if (profile.Storages.empty())
            lines << QStringLiteral("%1: kein Langzeitspeicher").arg(profile.UserName);
        for (const Storage& storage : profile.Storages)
            lines << QStringLiteral("%1, Langzeitspeicher \"%2\": %3 heute abzufragen")
                         .arg(profile.UserName, storage.Name, cards(storage.Due));
    }
    return lines;
}
