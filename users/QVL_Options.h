#pragma once

#include "core/QVL_FileObject.h"

// The program-wide settings file "Data/Options.xml". Opened read-only at
// start, given write access only while the options dialog applies changes.
// There are no built-in defaults: the installed file provides them.
class TQVL_Options : public TQVL_FileObject
{
public:
    TQVL_Options();
    ~TQVL_Options() override;

    void LoadFromXML(TQVL_XMLTag& tag) override;
    void SaveToXML(TQVL_XMLTag& tag) override;

    // The folders the settings name, resolved against the documents folder.
    QString UsersFolder(const QString& documentsFolder) const;
    QString AutoloadProfile(const QString& documentsFolder) const;
    // The user's own units folder wins when set; it is used as it stands.
    QString UnitsFolder(const QString& documentsFolder, const QString& userUnitsFolder = {}) const;
    // The character that separates alternative meanings in one answer; null when none is set.
    QChar Delimiter() const { return query_delimiter.isEmpty() ? QChar() : query_delimiter.front(); }

    QString community_url;
    bool sound_disabled = false;
    bool updates_autosearch = false;
    QString languages_langcode_home;
    bool programfiles_readonly = false;
    bool userfiles_readonly = false;
    QString users_directory;
    bool users_directory_relative = false;
    bool users_autoload = false;
    QString users_autoload_profile;
    bool users_autoload_profile_relative = false;
    bool users_select_showpath = false;
    QString units_directory;
    bool units_directory_relative = false;
    int play_both_intervall = 0;
    int play_series_showquestionintervall = 0;
    int play_series_showanswerintervall = 0;
    QString query_delimiter;
    // This machine's id in the review logs (see TQVL_DeviceId); empty until first needed.
    QString device_id;
    // The overview of the day beside the main menu's tiles; shown unless the learner hid it.
    bool mainmenu_overview_hidden = false;
    // Sync between machines: SyncOff, or SyncFolder with the folder a sync
    // client keeps in step. Files from before sync have no such element: off.
    // A mode this version does not know is kept as written and counts as off.
    QString sync_mode;
    QString sync_folder;
    static inline const QString SyncOff = QString();
    static inline const QString SyncFolder = QStringLiteral("folder");
    // The shared folder when folder mode is on; empty otherwise.
    QString SharedSyncFolder() const { return sync_mode == SyncFolder ? sync_folder : QString(); }
};
