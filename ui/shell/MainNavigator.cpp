#include "ui/shell/MainNavigator.h"

#include "app/QVL.h"
#include "query/QVL_Statistics_LastQuery.h"
#include "statistics/QVL_Statistics.h"
#include "ui/edit/EditLauncher.h"
#include "ui/edit/Form_Edit.h"
#include "ui/play/Form_MenuPlay.h"
#include "ui/query/Form_MenuQuery.h"
#include "ui/query/Form_QueryMultipleFiles.h"
#include "ui/query/Form_QueryOptions.h"
#include "ui/query/Form_QueryResultStatistics.h"
#include "ui/query/QueryLauncher.h"
#include "ui/shell/FormDataModule.h"
#include "ui/shell/Form_MainMenuTwo.h"
#include "ui/shell/Main.h"
#include "ui/shell/WindowManager.h"
#include "ui/show/Form_ShowMeta.h"
#include "ui/show/ShowLauncher.h"
#include "ui/statistics/Form_ProblemWords.h"
#include "ui/statistics/Form_Statistics.h"
#include "ui/units/Form_MenuUnitsNew.h"

#include <QAction>
#include <QLabel>

TFormMeta* TMainNavigator::Show(TDestination destination)
{
    TWindowManager& screens = main.WindowManager();
    switch (destination) {
    case TDestination::MainMenu:
        main.ShowMainMenu();
        return screens.CurrentWindow();
    case TDestination::MoreFunctions:
        return screens.SwitchWindow<TFormMainMenuTwo>();
    case TDestination::QueryMenu:
        return screens.SwitchWindow<TFormMenuQuery>();
    case TDestination::PlayMenu:
        return screens.SwitchWindow<TFormMenuPlay>();
    case TDestination::NewUnitMenu:
        return screens.SwitchWindow<TFormMenuUnitsNew>();
    case TDestination::Statistics:
        return screens.SwitchWindow<TFormStatistics>(true);
    case TDestination::QueryOptions:
        return screens.SwitchWindow<TFormQueryOptions>();
    case TDestination::UnitList:
        return screens.SwitchWindow<TFormQueryMultipleFiles>();
    case TDestination::QueryResults:
        return screens.SwitchWindow<TFormQueryResultStatistics>();
    case TDestination::Cards:
        return OpenCardViewer(main);
    case TDestination::LastQueryCards:
        return OpenCardViewer(main, true, main.Core().Statistics->LastQuery->ResultsStored);
    case TDestination::CardEditor:
        return OpenUnitEditor(main);
    case TDestination::Run:
        return StartQueryWindow(main);
    case TDestination::ProblemWords:
        return screens.SwitchWindow<TFormProblemWords>();
    }
    return nullptr;
}

void TMainNavigator::Run(TCommand command)
{
    TFormDataModule& actions = main.DataModule();
    switch (command) {
    case TCommand::SelectUnit:
        actions.Action_Unit_Select->trigger();
        break;
    case TCommand::LongTermStorages:
        actions.Action_LongTermStorages->trigger();
        break;
    case TCommand::Community:
        actions.Action_Community->trigger();
        break;
    case TCommand::Update:
        actions.Action_Update->trigger();
        break;
    }
}

void TMainNavigator::CreateUnit(TQVL_CardType kind)
{
    CreateNewUnit(main, kind);
}

bool TMainNavigator::CheckUnitSelected()
{
    return main.CheckUnitSelected();
}

void TMainNavigator::ShowNoRight()
{
    main.ShowNoRight();
}

void TMainNavigator::ShowStatus(const QString& text)
{
    main.Label_Status->setText(text);
}
