#include "ui/shell/Form_MainMenu.h"

#include "app/QVL.h"
#include "ui/query/Form_MenuQuery.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/Navigator.h"
#include "ui/shell/Panel_TodayOverview.h"

#include <QLayout>

TFormMainMenu::TFormMainMenu(QWidget* parent, TQVL& qvl) : TFormMeta(parent), core(qvl)
{
    setObjectName(QStringLiteral("FormMainMenu"));
    SetHeaderHeight(TallHeaderHeight);
    SetCaption(QStringLiteral("Willkommen..."));
    SetSubCaption(QStringLiteral("Bitte wählen Sie einen der Menüpunkte, um zu weiteren Funktionen zu gelangen..."));
    KQ_ClickMatrix1 = CreateMenuTiles(*this, Tiles());
    Panel_Today = new TPanelTodayOverview(Content(), core);
    Content()->layout()->addWidget(Panel_Today);
    Panel_Today->OnStorageChosen = [this](const QString& path) { Guarded([&] { startStorageQuery(path); }); };
    Panel_Today->OnProblemWordsChosen = [this] { Guarded([this] { Navigator().Show(TDestination::ProblemWords); }); };
}

QList<TMenuTile> TFormMainMenu::Tiles()
{
    auto show = [](TDestination destination) {
        return [destination](TNavigator& navigator) { navigator.Show(destination); };
    };
    return {{QStringLiteral("Lektion auswählen"), QStringLiteral("unit-select"),
             [](TNavigator& navigator) { navigator.Run(TCommand::SelectUnit); }},
            {QStringLiteral("Vokabeln abfragen"), QStringLiteral("query"), show(TDestination::QueryMenu)},
            {QStringLiteral("Vokabeln vorspielen"), QStringLiteral("play"), show(TDestination::PlayMenu)},
            {QStringLiteral("Vokabeln anzeigen"), QStringLiteral("view"),
             [](TNavigator& navigator) {
                 if (navigator.CheckUnitSelected())
                     navigator.Show(TDestination::Cards);
             }},
            {QStringLiteral("Neue Lektion"), QStringLiteral("unit-new"), show(TDestination::NewUnitMenu)},
            {QStringLiteral("Vokabeln bearbeiten"), QStringLiteral("edit"), show(TDestination::CardEditor)},
            {QStringLiteral("Erfolg & Statistiken"), QStringLiteral("statistics"), show(TDestination::Statistics)},
            {QStringLiteral("Weitere Funktionen"), QStringLiteral("more"), show(TDestination::MoreFunctions)}};
}

void TFormMainMenu::showEvent(QShowEvent* event)
{
    // Decided each time the menu is shown.
    const TQVL_Unit& unit = core.Units->GetActiveUnit();
    const bool empty = !unit.IsOpen || unit.Cards->Count() == 0;
    KQ_ClickMatrix1->Items().Item(EditTile)->SetCaption(empty ? QStringLiteral("Vokabeln hinzufügen")
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
    if (auto* menu = qobject_cast<TFormMenuQuery*>(Navigator().Show(TDestination::QueryMenu)))
        menu->SelectTile(TFormMenuQuery::TileSimple);
}
