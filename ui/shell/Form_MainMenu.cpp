#include "ui/shell/Form_MainMenu.h"

#include "app/QVL.h"

#include <QAction>
#include <QLayout>
#include "ui/edit/EditLauncher.h"
#include "ui/shell/Form_MainMenuTwo.h"
#include "ui/query/Form_MenuQuery.h"
#include "ui/play/Form_MenuPlay.h"
#include "ui/units/Form_MenuUnitsNew.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/FormDataModule.h"
#include "ui/shell/Main.h"
#include "ui/shell/WindowManager.h"
#include "ui/shell/MenuTiles.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Panel_TodayOverview.h"
#include "ui/show/ShowLauncher.h"
#include "ui/statistics/Form_ProblemWords.h"
#include "ui/statistics/Form_Statistics.h"

TFormMainMenu::TFormMainMenu(QWidget* parent, TQVL& qvl) : TFormMeta(parent), core(qvl)
{
    setObjectName(QStringLiteral("FormMainMenu"));
    SetHeaderHeight(TallHeaderHeight);
    SetCaption(QStringLiteral("Willkommen..."));
    SetSubCaption(QStringLiteral("Bitte wählen Sie einen der Menüpunkte, um zu weiteren Funktionen zu gelangen..."));
    KQ_ClickMatrix1 = CreateMenuTiles(*this, Tiles());
    KQ_ClickMatrix1->onSelectItem = [this](TKQ_ClickMatrixItem* item) {
        if (item)
            select(item->Index());
    };
    Panel_Today = new TPanelTodayOverview(Content(), core);
    Content()->layout()->addWidget(Panel_Today);
    Panel_Today->OnStorageChosen = [this](const QString& path) { Guarded([&] { startStorageQuery(path); }); };
    Panel_Today->OnProblemWordsChosen = [] {
        Guarded([] { TMainForm::Instance()->WindowManager().SwitchWindow<TFormProblemWords>(); });
    };
}

QList<QPair<QString, QString>> TFormMainMenu::Tiles()
{
    return {{QStringLiteral("Lektion auswählen"), QStringLiteral("unit-select")},
            {QStringLiteral("Vokabeln abfragen"), QStringLiteral("query")},
            {QStringLiteral("Vokabeln vorspielen"), QStringLiteral("play")},
            {QStringLiteral("Vokabeln anzeigen"), QStringLiteral("view")},
            {QStringLiteral("Neue Lektion"), QStringLiteral("unit-new")},
            {QStringLiteral("Vokabeln bearbeiten"), QStringLiteral("edit")},
            {QStringLiteral("Erfolg & Statistiken"), QStringLiteral("statistics")},
            {QStringLiteral("Weitere Funktionen"), QStringLiteral("more")}};
}

void TFormMainMenu::showEvent(QShowEvent* event)
{
    // Decided each time the menu is shown.
    const TQVL_Unit& unit = core.Units->GetActiveUnit();
    const bool empty = !unit.IsOpen || unit.Cards->Count() == 0;
    KQ_ClickMatrix1->Items().Item(5)->SetCaption(empty ? QStringLiteral("Vokabeln hinzufügen")
                                                       : QStringLiteral("Vokabeln bearbeiten"));
    const bool overview = core.Users->HasActiveUser() && !core.Options->mainmenu_overview_hidden;
    Panel_Today->setVisible(overview);
    if (overview)
        Guarded([this] { Panel_Today->Refresh(); });
    TFormMeta::showEvent(event);
}

void TFormMainMenu::startStorageQuery(const QString& path)
{
    TQVL_Unit& unit = core.Units->GetActiveUnit();
    if (unit.IsOpen)
        unit.CloseFile();
    unit.Open(path);
    TMainForm& main = *TMainForm::Instance();
    main.WindowManager().SwitchWindow<TFormMenuQuery>()->SelectTile(TFormMenuQuery::TileSimple);
}

void TFormMainMenu::select(int index)
{
    TMainForm& main = *TMainForm::Instance();
    switch (index) {
    case 0: main.DataModule().Action_Unit_Select->trigger(); break;
    case 1: main.WindowManager().SwitchWindow<TFormMenuQuery>(); break;
    case 2: main.WindowManager().SwitchWindow<TFormMenuPlay>(); break;
    case 3:
        if (main.CheckUnitSelected())
            OpenCardViewer(main);
        break;
    case 4: main.WindowManager().SwitchWindow<TFormMenuUnitsNew>(); break;
    case 5: OpenUnitEditor(main); break;
    case 6: main.WindowManager().SwitchWindow<TFormStatistics>(true); break;
    case 7: main.WindowManager().SwitchWindow<TFormMainMenuTwo>(); break;
    default: break;
    }
}
