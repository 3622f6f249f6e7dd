#include "ui/shell/FormDataModule.h"

#include "ui/shell/Guarded.h"
#include "users/QVL_User_Rights.h"

#include <QAction>

TFormDataModule::TFormDataModule(TRightsSource rights, QObject* parent)
    : QObject(parent), rightsSource(std::move(rights))
{
    constexpr TActionCategory none = TActionCategory::None;
    Action_Program_Options = make("Action_Program_Options", QStringLiteral("Einstellungen"), none);
    Action_LanguagesManage =
        make("Action_LanguagesManage", QStringLiteral("Sprachenprofile verwalten"), TActionCategory::System);
    Action_Program_Fullscreen =
        make("Action_Program_Fullscreen", QStringLiteral("Ansicht in Vollbildschirm umschalten"), none);
    Action_Program_Fullscreen->setCheckable(true);
    Action_Program_Fullscreen->setShortcut(QKeySequence(Qt::Key_F11));
    Action_Program_Exit = make("Action_Program_Exit", QStringLiteral("Programm beenden"), none);
    Action_UsersManage = make("Action_UsersManage", QStringLiteral("Benutzerprofile verwalten"), none);
    Action_UsersSelect = make("Action_UsersSelect", QStringLiteral("Benutzerprofil wechseln"), none);
    Action_Unit_Select = make("Action_Unit_Select", QStringLiteral("Lektion auswählen"), TActionCategory::Units);
    Action_LongTermStorage_Select = make("Action_LongTermStorage_Select", QStringLiteral("Langzeitspeicher auswählen"),
                                         TActionCategory::LongTermStorage);
    Action_Unit_Close = make("Action_Unit_Close", QStringLiteral("Schliessen"), TActionCategory::Units);
    Action_Unit_Edit = make("Action_Unit_Edit", QStringLiteral("Bearbeiten"), TActionCategory::Units);
    Action_Unit_Print = make("Action_Unit_Print", QStringLiteral("Drucken"), TActionCategory::Units);
    Action_Unit_Export = make("Action_Unit_Export", QStringLiteral("Exportieren"), TActionCategory::Units);
    Action_Unit_Integrate =
        make("Action_Unit_Integrate", QStringLiteral("Andere Lektion integrieren"), TActionCategory::Units);
    Action_Unit_Import = make("Action_Unit_Import", QStringLiteral("Importieren"), TActionCategory::Units);
    Action_LongTermStorages = make("Action_LongTermStorages", QStringLiteral("Langzeitspeicher"), TActionCategory::Units);
    Action_Update = make("Action_Update", QStringLiteral("Nach Updates suchen"), TActionCategory::Internet);
    Action_Community = make("Action_Community", QStringLiteral("Quorvel Community"), TActionCategory::Internet);
    Action_Help_Content = make("Action_Help_Content", QStringLiteral("Inhaltsverzeichnis"), TActionCategory::Help);
    Action_Help_Content->setShortcut(QKeySequence(Qt::Key_F1));
    Action_Help_FirstSteps =
        make("Action_Help_FirstSteps", QStringLiteral("Erste Schritte in Quorvel"), TActionCategory::Help);
    Action_Help_Welcome = make("Action_Help_Welcome", QStringLiteral("Willkommen"), TActionCategory::Help);
    Action_Help_Search = make("Action_Help_Search", QStringLiteral("Suchen"), TActionCategory::Help);
    Action_AboutQuorvel = make("Action_AboutQuorvel", QStringLiteral("Über Quorvel"), none);
    Action_User_Close = make("Action_User_Close", QString(), none);
}

QAction* TFormDataModule::make(const char* name, const QString& caption, TActionCategory category)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    action->setProperty("category", int(category));
    actions.push_back(action);
    return action;
}

TActionCategory TFormDataModule::Category(const QAction* action)
{
    return TActionCategory(action->property("category").toInt());
}

void TFormDataModule::DisableAllActions()
{
    for (QAction* action : actions)
        action->setEnabled(false);
    for (QAction* action : {Action_Program_Exit, Action_Help_Content, Action_Help_FirstSteps, Action_AboutQuorvel,
                            Action_Program_Fullscreen})
        action->setEnabled(true);
}

void TFormDataModule::EnableAllActions()
{
    for (QAction* action : actions)
        action->setEnabled(true);
}

void TFormDataModule::DisableCategory(TActionCategory category)
{
    for (QAction* action : actions)
        if (Category(action) == category)
            action->setEnabled(false);
}

void TFormDataModule::EnableCategory(TActionCategory category)
{
    for (QAction* action : actions)
        if (Category(action) == category)
            action->setEnabled(true);
}

void TFormDataModule::EnableUserActions()
{
    Action_UsersManage->setEnabled(true);
    Action_UsersSelect->setEnabled(true);
}

void TFormDataModule::Bind(QAction* action, std::vector<TQVL_Right> rights, std::function<void()> body)
{
    connect(action, &QAction::triggered, this, [this, rights = std::move(rights), body = std::move(body)] {
        Guarded([&] {
            const TQVL_User_Rights* granted = rightsSource ? rightsSource() : nullptr;
            if (!rights.empty() && !(granted && granted->HasAnyOf(rights))) {
                if (OnNoRight)
                    OnNoRight();
                return;
            }
            body();
        });
    });
}
