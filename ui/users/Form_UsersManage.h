#pragma once

#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/ProfileEditSession.h"
#include "users/QVL_User_Input.h"

#include <memory>
#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TQVL_User;
class TQVL_User_Rights;
class TQVL;

// The profile editor: the users folder as a tree, one profile at a time in the
// edit pages (name, password, symbol, own units folder, rights, results), and
// new or deleted profiles and folders. What may be done is decided by the
// rights of the logged-in user. The logged-in user's own profile is edited in
// the active user object; any other profile is opened into an object of the
// editor and closed again before the next one is loaded or the dialog closes.
class TFormUsersManage : public TFormDialogMeta
{
    Q_OBJECT
public:
    // Scans the users folder and fills the tree; no profile is loaded.
    explicit TFormUsersManage(TQVL& engine, QWidget* parent = nullptr);
    ~TFormUsersManage() override;

    // Loads the profile of a tree entry into the pages (the previous one must be closed).
    // One row of the profile tree as it was listed: the tree keeps its own
    // copy, so a rescan of the users folder never leaves it pointing anywhere.
    struct Row
    {
        QString Path;
        // The file or folder name.
        QString Name;
        QString Uid;
        QString UserName;
        bool IsFile = false;
    };
    void LoadProfile(const Row& entry);
    // The pages as the learner filled them.
    TQVL_User_Input Input() const;
    // Checks the pages, then writes them into the loaded profile and saves it
    // when it holds write access; a failed save leaves the profile as it was.
    void SaveProfile();
    // Saves and lets go of the loaded profile; the pages are hidden.
    void CloseProfile();

    // The tool buttons and the result buttons.
    void NewProfile();
    void NewFolder();
    void DeleteEntry();
    void DeleteCardResults();
    void DeleteAllResults();
    void BrowseUnitsFolder();

    // Where new profiles and folders go: the focused folder, the folder of the focused profile, or the users folder.
    QString CurrentFolder() const;
    // The tree node of the entry with this path or uid, or nullptr.
    QTreeWidgetItem* FindNodeByPath(const QString& path) const;
    QTreeWidgetItem* FindNodeByUid(const QString& uid) const;
    // The row a node stands for; none for no node.
    static std::optional<Row> RowOf(const QTreeWidgetItem* node);

    // The profile in the pages (the active user or the editor's own object), or nullptr.
    TQVL_User* Profile() const { return session.Profile(); }
    // Whether the pages take input (the profile may be edited and written).
    bool EditPanelEnabled() const { return editable; }
    // The rights as the rights tree shows them now.
    void RightsFromTree(TQVL_User_Rights& rights) const;
    // Flips the right of a node of the rights tree, as a double-click does; false for a group node.
    bool ToggleRight(QTreeWidgetItem* node);

    // A change of either password field sets it; loading a profile clears it.
    bool PasswordEdited = false;

    QTreeWidget* VST1 = nullptr;
    QToolButton* ToolButton_NewProfile = nullptr;
    QToolButton* ToolButton_NewFolder = nullptr;
    QToolButton* ToolButton_Delete = nullptr;
    QLabel* TntPanel1 = nullptr;
    QWidget* Panel6 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QToolButton* Button_BrowseUnits = nullptr;
    QTreeWidget* VST2 = nullptr;
    QLabel* Label_Results = nullptr;
    QPushButton* Button_DeleteCardResults = nullptr;
    QPushButton* Button_DeleteAllResults = nullptr;

public slots:
    // Closing in any way saves and closes the loaded profile first; a failure keeps the dialog open.
    void done(int result) override;

private:
    TQVL& core;
    void buildBasicsPage(QWidget* page);
    void buildRightsTree();
    void fillRightsTree(const TQVL_User_Rights& rights);
    void setRightNode(QTreeWidgetItem* node, bool value);
    void rescan();
    void fillTree();
    void currentNodeChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void setEditable(bool value);
    // The logged-in user's rights; none when nobody is logged in.
    const TQVL_User_Rights& loggedInRights() const;
    bool isLoggedInUser(const QString& uid) const;

    // The logged-in user's profile in place, or another one opened by the editor.
    TProfileEditSession<TQVL_User> session;
    bool editable = false;
    bool filling = false;
    std::unique_ptr<TQVL_User_Rights> noRights;
};
