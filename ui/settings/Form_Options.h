#pragma once

#include "ui/shell/FormDialogMeta.h"
#include "users/QVL_Options_Input.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QStackedWidget;
class QToolButton;
class QTreeWidget;
class TQVL;

// "Programmeinstellungen": the program options a user may change, one page
// per category of the list on the left. The dialog holds write access to the
// options file while it is open; without it (another program instance edits
// them) the settings stay grey and empty and nothing can be applied.
// "Übernehmen" checks every field, writes the file and closes; a refused
// field is reported and the dialog stays open with nothing written.
class TFormOptions : public TFormDialogMeta
{
    Q_OBJECT
public:
    explicit TFormOptions(TQVL& core, QWidget* parent = nullptr);
    ~TFormOptions() override;

    // The fields as the learner filled them.
    TQVL_Options_Input Input() const;
    // Whether the dialog holds write access to the options file.
    bool Writable() const { return writable; }

    // Checks, writes and closes; raises when a field is refused.
    void Apply();
    // The three "..." buttons.
    void BrowseUnitsFolder();
    void BrowseUsersFolder();
    void BrowseProfile();
    void BrowseSyncFolder();

    QTreeWidget* VST_Categories = nullptr;
    QLabel* Panel5 = nullptr;
    QStackedWidget* Pages = nullptr;
    QCheckBox* check_Updates = nullptr;
    QCheckBox* check_SoundDisabled = nullptr;
    QCheckBox* check_OverviewHidden = nullptr;
    QComboBox* Combo_InterfaceLanguage = nullptr;
    QComboBox* Combo_HomeLangCode = nullptr;
    QLineEdit* Edit_QueryDelimiter = nullptr;
    QLineEdit* edit_play_intervall_question = nullptr;
    QLineEdit* edit_play_intervall_answer = nullptr;
    QLineEdit* edit_UnitsDir = nullptr;
    QToolButton* Button_UnitsDir = nullptr;
    QLineEdit* edit_UserProfilesDir = nullptr;
    QToolButton* Button_UserProfilesDir = nullptr;
    QRadioButton* check_UserManagement_Active = nullptr;
    QRadioButton* check_UserManagement_UseProfile = nullptr;
    QLineEdit* edit_UsersProfile = nullptr;
    QToolButton* Button_UsersProfile = nullptr;
    QRadioButton* check_Sync_Off = nullptr;
    QRadioButton* check_Sync_Folder = nullptr;
    QLineEdit* edit_SyncFolder = nullptr;
    QToolButton* Button_SyncFolder = nullptr;

public slots:
    // Any way of closing lets go of the write access.
    void done(int result) override;

private:
    QWidget* generalPage();
    QWidget* queryPage();
    QWidget* playPage();
    QWidget* unitsPage();
    QWidget* usersPage();
    QWidget* syncPage();
    void syncModeChanged();
    void fill();
    void categoryChanged();
    // The folder a picker starts in: the one the field names, when it exists.
    QString startFolder(const QString& typed, bool relative, const QString& fallback) const;
    void releaseWriteAccess() noexcept;

    TQVL& core;
    bool writable = false;
};
