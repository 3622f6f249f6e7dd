#include "app/QVL.h"
#include "content/QVL_Unit.h"
#include "tests/support/LoggedInCoreTest.h"
#include "tests/support/ScriptedDialogService.h"
#include "ui/query/Form_MenuQuery.h"
#include "ui/shell/Form_MainMenu.h"
#include "ui/shell/Form_MainMenuTwo.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/Navigator.h"
#include "ui/shell/WindowManager.h"
#include "ui/units/Form_MenuUnitsNew.h"

#include <QCheckBox>
#include <QPushButton>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

QString nameOf(TDestination destination)
{
    switch (destination) {
    case TDestination::MainMenu:
        return QStringLiteral("MainMenu");
    case TDestination::MoreFunctions:
        return QStringLiteral("MoreFunctions");
    case TDestination::QueryMenu:
        return QStringLiteral("QueryMenu");
    case TDestination::PlayMenu:
        return QStringLiteral("PlayMenu");
    case TDestination::NewUnitMenu:
        return QStringLiteral("NewUnitMenu");
    case TDestination::Statistics:
        return QStringLiteral("Statistics");
    case TDestination::QueryOptions:
        return QStringLiteral("QueryOptions");
    case TDestination::UnitList:
        return QStringLiteral("UnitList");
    case TDestination::QueryResults:
        return QStringLiteral("QueryResults");
    case TDestination::Cards:
        return QStringLiteral("Cards");
    case TDestination::LastQueryCards:
        return QStringLiteral("LastQueryCards");
    case TDestination::CardEditor:
        return QStringLiteral("CardEditor");
    case TDestination::Run:
        return QStringLiteral("Run");
    case TDestination::ProblemWords:
        return QStringLiteral("ProblemWords");
    }
    return QStringLiteral("?");
}

QString nameOf(TCommand command)
{
    switch (command) {
    case TCommand::SelectUnit:
        return QStringLiteral("SelectUnit");
    case TCommand::LongTermStorages:
        return QStringLiteral("LongTermStorages");
    case TCommand::Community:
        return QStringLiteral("Community");
    case TCommand::Update:
        return QStringLiteral("Update");
    }
    return QStringLiteral("?");
}

// Writes down what the screens ask for and goes nowhere.
class RecordingNavigator final : public TNavigator
{
public:
    TFormMeta* Show(TDestination destination) override
    {
        Asked << QStringLiteral("show ") + nameOf(destination);
        return nullptr;
    }
    void Run(TCommand command) override { Asked << QStringLiteral("run ") + nameOf(command); }
    void CreateUnit(TQVL_CardType kind) override { Asked << QStringLiteral("create %1").arg(int(kind)); }
    bool CheckUnitSelected() override
    {
        Asked << QStringLiteral("check unit");
        return UnitSelected;
    }
    void ShowNoRight() override { Asked << QStringLiteral("no right"); }
    void ShowStatus(const QString& text) override { Statuses << text; }

    QStringList Asked;
    QStringList Statuses;
    bool UnitSelected = true;
};

// A menu screen in a bare screen area: no main window, the real core with the
// sample learner logged in, and a navigator that records the requests.
class MenuNavigation : public LoggedInCoreTest
{
protected:
    void SetUp() override
    {
        LoggedInCoreTest::SetUp();
        area.resize(784, 500);
        screens.SetNavigator(&navigator);
        area.show();
    }

public:
    // Clicks tile `index` of the current screen's tile menu and returns what the click asked for.
    QStringList clickTile(int index)
    {
        auto* tiles = screens.CurrentWindow()->findChild<TKQ_ClickMatrix*>(QStringLiteral("KQ_ClickMatrix1"));
        navigator.Asked.clear();
        QTest::mouseClick(tiles, Qt::LeftButton, {}, tiles->Items().Item(index)->Rect().center());
        return navigator.Asked;
    }
    QStringList clickBack()
    {
        navigator.Asked.clear();
        QTest::mouseClick(screens.CurrentWindow()->findChild<QPushButton*>(QStringLiteral("Button_Back")),
                          Qt::LeftButton);
        return navigator.Asked;
    }
    QStringList captions() const
    {
        QStringList result;
        auto* tiles = screens.CurrentWindow()->findChild<TKQ_ClickMatrix*>(QStringLiteral("KQ_ClickMatrix1"));
        for (int i = 0; i < tiles->Items().Count(); ++i)
            result << tiles->Items().Item(i)->Caption();
        return result;
    }

    ScriptedDialogService dialogs;
    QWidget area;
    TWindowManager screens{&area, &core};
    RecordingNavigator navigator;
};

struct TileCase
{
    QString Caption;
    QStringList Asked;
};

void expectTiles(const std::vector<TileCase>& cases, const std::function<QStringList(int)>& click,
                 const QStringList& shown)
{
    ASSERT_EQ(shown.size(), int(cases.size()));
    for (int i = 0; i < int(cases.size()); ++i) {
        EXPECT_EQ(shown[i], cases[std::size_t(i)].Caption) << i;
        EXPECT_EQ(click(i), cases[std::size_t(i)].Asked) << cases[std::size_t(i)].Caption.toStdString();
    }
}

TEST_F(MenuNavigation, EveryMainMenuTileAsksTheNavigatorForItsDestination)
{
    screens.SwitchWindow<TFormMainMenu>();
    const std::vector<TileCase> cases = {
        {QStringLiteral("Lektion auswählen"), {QStringLiteral("run SelectUnit")}},
        {QStringLiteral("Vokabeln abfragen"), {QStringLiteral("show QueryMenu")}},
        {QStringLiteral("Vokabeln vorspielen"), {QStringLiteral("show PlayMenu")}},
        {QStringLiteral("Vokabeln anzeigen"), {QStringLiteral("check unit"), QStringLiteral("show Cards")}},
        {QStringLiteral("Neue Lektion"), {QStringLiteral("show NewUnitMenu")}},
        // Without a unit the editing tile offers to add cards.
        {QStringLiteral("Vokabeln hinzufügen"), {QStringLiteral("show CardEditor")}},
        {QStringLiteral("Erfolg & Statistiken"), {QStringLiteral("show Statistics")}},
        {QStringLiteral("Weitere Funktionen"), {QStringLiteral("show MoreFunctions")}},
    };
    expectTiles(cases, [this](int i) { return clickTile(i); }, captions());

    navigator.UnitSelected = false;
    EXPECT_EQ(clickTile(3), QStringList{QStringLiteral("check unit")}) << "no viewer without a unit";
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
}

TEST_F(MenuNavigation, TheSecondMenuAndTheNewUnitMenuAskForCommandsAndKinds)
{
    screens.SwitchWindow<TFormMainMenuTwo>();
    expectTiles(
                {{QStringLiteral("Hauptmenü"), {QStringLiteral("show MainMenu")}},
                 {QStringLiteral("Langzeitspeicher"), {QStringLiteral("run LongTermStorages")}},
                 {QStringLiteral("Quorvel Community"), {QStringLiteral("run Community")}}},
                [this](int i) { return clickTile(i); }, captions());

    screens.SwitchWindow<TFormMenuUnitsNew>();
    expectTiles(
                {{QStringLiteral("Vokabel-Lektion"), {QStringLiteral("create %1").arg(int(tVoc))}},
                 {QStringLiteral("Grammatik-Lektion"), {QStringLiteral("create %1").arg(int(tGrammar))}},
                 {QStringLiteral("Bilder"), {QStringLiteral("create %1").arg(int(tPic))}},
                 {QStringLiteral("Töne"), {QStringLiteral("create %1").arg(int(tSound))}}},
                [this](int i) { return clickTile(i); }, captions());
    EXPECT_EQ(clickBack(), QStringList{QStringLiteral("show MainMenu")});
}

TEST_F(MenuNavigation, TheQueryMenuAsksForTheRunTheListOrTheOptions)
{
    auto* menu = screens.SwitchWindow<TFormMenuQuery>();
    // Without a unit a tile only asks whether one is open.
    navigator.UnitSelected = false;
    EXPECT_EQ(clickTile(TFormMenuQuery::TileSimple), QStringList{QStringLiteral("check unit")});

    core.Units->GetActiveUnit().Open(folders.Documents() + QStringLiteral("/Lektionen/Englisch - Grundwortschatz.qxu"));
    menu->Prepare();
    navigator.UnitSelected = true;
    menu->Check_ChangeOptions->setChecked(false);
    EXPECT_EQ(clickTile(TFormMenuQuery::TileSimple),
              (QStringList{QStringLiteral("check unit"), QStringLiteral("show Run")}));
    EXPECT_EQ(clickTile(TFormMenuQuery::TileMultipleUnits),
              (QStringList{QStringLiteral("check unit"), QStringLiteral("show UnitList")}));
    menu->Check_ChangeOptions->setChecked(true);
    EXPECT_EQ(clickTile(TFormMenuQuery::TileTimed),
              (QStringList{QStringLiteral("check unit"), QStringLiteral("show QueryOptions")}));
    EXPECT_EQ(clickBack(), QStringList{QStringLiteral("show MainMenu")});
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
}

TEST_F(MenuNavigation, AFocusedQueryTileTellsInTheStatusBarWhyItIsDisabled)
{
    core.Units->GetActiveUnit().Open(folders.Documents() + QStringLiteral("/Lektionen/Englisch - Bilder.qxu"));
    auto* menu = screens.SwitchWindow<TFormMenuQuery>();
    TKQ_ClickMatrix& tiles = *menu->KQ_ClickMatrix1;
    navigator.Statuses.clear();
    tiles.SetFocusedItem(tiles.Items().Item(TFormMenuQuery::TileMultipleChoice));
    tiles.SetFocusedItem(tiles.Items().Item(TFormMenuQuery::TileSimple));
    EXPECT_EQ(navigator.Statuses,
              (QStringList{QStringLiteral("Abfrage für diesen Lektionstyp nicht möglich"), QString()}));
    EXPECT_TRUE(navigator.Asked.isEmpty()) << navigator.Asked.join('|').toStdString();
}

TEST_F(MenuNavigation, AScreenOutsideAWindowManagerGoesNowhere)
{
    QWidget elsewhere;
    TFormMainMenuTwo screen(&elsewhere);
    EXPECT_EQ(&screen.Navigator(), &TNavigator::Nowhere());
    auto* shown = screens.SwitchWindow<TFormMainMenuTwo>();
    EXPECT_EQ(&shown->Navigator(), &navigator);
    EXPECT_EQ(TWindowManager::Of(shown), &screens);
}

} // namespace
