#include "users/QVL_Options.h"

#include "core/QVL_Error.h"
#include "core/QVL_XMLTag.h"

TQVL_Options::TQVL_Options() = default;

TQVL_Options::~TQVL_Options() = default;

void TQVL_Options::LoadFromXML(TQVL_XMLTag& tag)
{
    try {
        if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("community_url")))
            community_url = t->Value;
        if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("sound_disabled")))
            sound_disabled = t->AsBoolean();
        if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("updates_autosearch")))
            updates_autosearch = t->AsBoolean();
        // Files from before the overview have no such element: it is shown there.
        mainmenu_overview_hidden = false;
        if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("mainmenu_overview_hidden")))
            mainmenu_overview_hidden = t->AsBoolean();
        if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("languages_langcode_home")))
            languages_langcode_home = t->Value;
        programfiles_readonly = tag.NeedChild(QStringLiteral("programfiles_readonly")).AsBoolean();
        userfiles_readonly = tag.NeedChild(QStringLiteral("userfiles_readonly")).AsBoolean();

        const TQVL_XMLTag& users = tag.NeedChild(QStringLiteral("users"));
        users_directory = users.NeedChild(QStringLiteral("directory")).Value;
        users_directory_relative = users.NeedChild(QStringLiteral("directory_relative")).AsBoolean();
        users_autoload = users.NeedChild(QStringLiteral("autoload")).AsBoolean();
        users_autoload_profile = users.NeedChild(QStringLiteral("autoload_profile")).Value;
        users_autoload_profile_relative = users.NeedChild(QStringLiteral("autoload_profile_relative")).AsBoolean();
        users_select_showpath = users.NeedChild(QStringLiteral("select_showpath")).AsBoolean();

        const TQVL_XMLTag& units = tag.NeedChild(QStringLiteral("units"));
        units_directory = units.NeedChild(QStringLiteral("directory")).Value;
        units_directory_relative = units.NeedChild(QStringLiteral("directory_relative")).AsBoolean();

        const TQVL_XMLTag& play = tag.NeedChild(QStringLiteral("play"));
        play_both_intervall = play.NeedChild(QStringLiteral("both_intervall")).AsInteger();
        play_series_showquestionintervall = play.NeedChild(QStringLiteral("series_showquestionintervall")).AsInteger();
        play_series_showanswerintervall = play.NeedChild(QStringLiteral("series_showanswerintervall")).AsInteger();

        query_delimiter = tag.NeedChild(QStringLiteral("query")).NeedChild(QStringLiteral("delimiter")).Value;
        sync_mode.clear();
        sync_folder.clear();
        if (const TQVL_XMLTag* sync = tag.FindChild(QStringLiteral("sync"))) {
            if (const TQVL_XMLTag* t = sync->FindChild(QStringLiteral("mode")))
                sync_mode = t->Value;
            if (const TQVL_XMLTag* t = sync->FindChild(QStringLiteral("folder")))
                sync_folder = t->Value;
        }
        device_id.clear();
        if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("device_id")))
            device_id = t->Value;
    } catch (const TQVL_Error&) {
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" ist keine gültige Einstellungsdatei!").arg(FileName));
    }
}

void TQVL_Options::SaveToXML(TQVL_XMLTag& tag)
{
    tag.AddChild(QStringLiteral("community_url"), community_url);
    tag.AddBoolean(QStringLiteral("sound_disabled"), sound_disabled);
    tag.AddBoolean(QStringLiteral("updates_autosearch"), updates_autosearch);
    tag.AddChild(QStringLiteral("languages_langcode_home"), languages_langcode_home);
    tag.AddBoolean(QStringLiteral("programfiles_readonly"), programfiles_readonly);
    tag.AddBoolean(QStringLiteral("userfiles_readonly"), userfiles_readonly);

    TQVL_XMLTag* users = tag.AddChild(QStringLiteral("users"));
    users->AddChild(QStringLiteral("directory"), users_directory);
    users->AddBoolean(QStringLiteral("directory_relative"), users_directory_relative);
    users->AddBoolean(QStringLiteral("autoload"), users_autoload);
    users->AddChild(QStringLiteral("autoload_profile"), users_autoload_profile);
    users->AddBoolean(QStringLiteral("autoload_profile_relative"), users_autoload_profile_relative);
    users->AddBoolean(QStringLiteral("select_showpath"), users_select_showpath);

    TQVL_XMLTag* units = tag.AddChild(QStringLiteral("units"));
    units->AddChild(QStringLiteral("directory"), units_directory);
    units->AddBoolean(QStringLiteral("directory_relative"), units_directory_relative);

    TQVL_XMLTag* play = tag.AddChild(QStringLiteral("play"));
    play->AddInteger(QStringLiteral("both_intervall"), play_both_intervall);
    play->AddInteger(QStringLiteral("series_showquestionintervall"), play_series_showquestionintervall);
    play->AddInteger(QStringLiteral("series_showanswerintervall"), play_series_showanswerintervall);

    tag.AddChild(QStringLiteral("query"))->AddChild(QStringLiteral("delimiter"), query_delimiter);
    // Only once made: settings that never needed one are written as they were read.
    if (!device_id.isEmpty())
        tag.AddChild(QStringLiteral("device_id"), device_id);
    // Written only when hidden, so a file with the overview shown stays as it was.
    if (mainmenu_overview_hidden)
        tag.AddBoolean(QStringLiteral("mainmenu_overview_hidden"), true);
    // Only once chosen: a file of a learner who never synced stays as it was.
    if (!sync_mode.isEmpty() || !sync_folder.isEmpty()) {
        TQVL_XMLTag* sync = tag.AddChild(QStringLiteral("sync"));
        sync->AddChild(QStringLiteral("mode"), sync_mode);
        sync->AddChild(QStringLiteral("folder"), sync_folder);
    }
}

QString TQVL_Options::UsersFolder(const QString& documentsFolder) const
{
    return users_directory_relative ? documentsFolder + QLatin1Char('/') + users_directory : users_directory;
}

QString TQVL_Options::AutoloadProfile(const QString& documentsFolder) const
{
    return users_autoload_profile_relative ? documentsFolder + QLatin1Char('/') + users_autoload_profile
                                           : users_autoload_profile;
}

QString TQVL_Options::UnitsFolder(const QString& documentsFolder, const QString& userUnitsFolder) const
{
    if (!userUnitsFolder.isEmpty())
        return userUnitsFolder;
    return units_directory_relative ? documentsFolder + QLatin1Char('/') + units_directory : units_directory;
}
