#pragma once

#include "users/QVL_User_Rights.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class TQVL_User_Rights;

// The program's commands: caption, category, the right a command needs, and
// its action. The menu bar and the tiles run them; the main window switches
// them on and off with the state of user and unit.
// The groups of menu commands the main window switches on and off together.
enum class TActionCategory
{
    None,
    System,
    Units,
    // Choosing a storage: its own group, which the lesson commands leave alone.
    LongTermStorage,
    Internet,
    Help,
};

class TFormDataModule : public QObject
{
    Q_OBJECT
public:
    // The rights of the logged-in user, or nullptr when nobody is logged in.
    using TRightsSource = std::function<const TQVL_User_Rights*()>;

    explicit TFormDataModule(TRightsSource rights, QObject* parent = nullptr);

    void DisableAllActions();
    void EnableAllActions();
    void DisableCategory(TActionCategory category);
    void EnableCategory(TActionCategory category);
    void EnableUserActions();

    // Binds `action` to run `body` (through the error boundary) when the user
    // has one of `rights` (none means no right is needed); without it
    // OnNoRight runs instead.
    void Bind(QAction* action, std::vector<TQVL_Right> rights, std::function<void()> body);
    std::function<void()> OnNoRight;

    QAction* Action_Program_Options;
    QAction* Action_LanguagesManage;
    QAction* Action_Program_Fullscreen;
    QAction* Action_Program_Exit;
    QAction* Action_UsersManage;
    QAction* Action_UsersSelect;
    QAction* Action_Unit_Select;
    QAction* Action_LongTermStorage_Select;
    QAction* Action_Unit_Close;
    QAction* Action_Unit_Edit;
    QAction* Action_Unit_Print;
    QAction* Action_Unit_Export;
    QAction* Action_Unit_Integrate;
    QAction* Action_Unit_Import;
    QAction* Action_LongTermStorages;
    QAction* Action_Update;
    QAction* Action_Community;
    QAction* Action_Help_Content;
    QAction* Action_Help_FirstSteps;
    QAction* Action_Help_Welcome;
    QAction* Action_Help_Search;
    QAction* Action_AboutQuorvel;
    QAction* Action_User_Close;

    const std::vector<QAction*>& Actions() const { return actions; }
    static TActionCategory Category(const QAction* action);

private:
    QAction* make(const char* name, const QString& caption, TActionCategory category);

    TRightsSource rightsSource;
    std::vector<QAction*> actions;
};
