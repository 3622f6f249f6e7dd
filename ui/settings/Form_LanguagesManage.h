#pragma once

#include "content/QVL_Language_Input.h"
#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/ProfileEditSession.h"

#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TKQ_ClickMatrix;
class TQVL;
class TQVL_Language;

// "Sprachprofile verwalten": the language profiles of the application-data
// folder, one at a time in the edit pages (name, code, the special-character
// bar, the automatic replacement, fonts and adjectives), and new or deleted
// profiles. A profile is saved when another one is chosen and when the dialog
// closes. The profiles the open unit uses are edited in their own objects, so
// the main window applies the changes when the dialog closes; any other
// profile is opened into an object of the dialog.
class TFormLanguagesManage : public TFormDialogMeta
{
    Q_OBJECT
public:
    // Lists the profiles and reads the code list; no profile is loaded.
    explicit TFormLanguagesManage(TQVL& core, QWidget* parent = nullptr);
    ~TFormLanguagesManage() override;

    // One row of the profile list, as it was listed.
    struct Row
    {
        QString Path;
        QString Uid;
        QString Shown;
    };
    static std::optional<Row> RowOf(const QTreeWidgetItem* node);
    QTreeWidgetItem* FindRowByPath(const QString& path) const;

    // Loads a profile into the pages (none may be loaded).
    void LoadProfile(const Row& row);
    // Saves the loaded profile when it holds write access, then lets go of it.
    void CloseProfile();
    // The controls as the learner filled them.
    TQVL_Language_Input Input() const;

    // The tool buttons and the list buttons.
    void AddProfile();
    void DeleteProfile();
    void SetCharacter();
    void DeleteCharacter();
    void SetReplacement();
    void DeleteReplacement();

    // The profile in the pages (the unit's, or the dialog's own), or nullptr.
    TQVL_Language* Profile() const { return session.Profile(); }
    QStringList LanguageCodes() const { return codes; }

    QToolButton* Button_AddProfile = nullptr;
    QToolButton* Button_DeleteProfile = nullptr;
    QTreeWidget* VST3 = nullptr;
    QLabel* Panel5 = nullptr;
    QWidget* Panel6 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QComboBox* Combo_LanguageCode = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QTreeWidget* VST1 = nullptr;
    QLineEdit* TntEdit1 = nullptr;
    QPushButton* Button_CharSet = nullptr;
    QPushButton* Button_CharDelete = nullptr;
    QCheckBox* check_CharactersShow = nullptr;
    // The characters as the main window's bar will show them.
    TKQ_ClickMatrix* KQ_ClickMatrix_Preview = nullptr;
    QLineEdit* TntEdit2 = nullptr;
    QLineEdit* TntEdit3 = nullptr;
    QTreeWidget* VST2 = nullptr;
    QPushButton* Button_ReplacementSet = nullptr;
    QPushButton* Button_ReplacementDelete = nullptr;
    QCheckBox* check_UseReplacement = nullptr;
    QComboBox* Combo_Font = nullptr;
    QLineEdit* Edit_FontBig = nullptr;
    QLineEdit* Edit_FontSmall = nullptr;
    QCheckBox* Check_UseFont = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;

public slots:
    // Closing saves the loaded profile (a failure keeps the dialog open) and
    // reopens the unit's profiles so that the main window applies them.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* charactersPage();
    QWidget* replacementsPage();
    QWidget* morePage();
    void fillList();
    void currentRowChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void fillControls(const TQVL_Language& language);
    void resetCharacterEdit();
    void resetReplacementEdit();
    void characterSelectionChanged();
    void replacementSelectionChanged();
    void updatePreview();
    bool inUse(const QString& uid) const;
    void reopenUnitProfiles();

    TQVL& core;
    QStringList codes;
    // A profile of the open unit in place, or another one opened by the dialog.
    TProfileEditSession<TQVL_Language> session;
    bool filling = false;
};
