#include "content/QVL_Card_Voc.h"
#include "app/QVL.h"
#include "query/QVL_Query_Card.h"
#include "query/QVL_Query_Cardpile.h"
#include "query/QVL_Query_Options.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "tests/support/TestFolders.h"
#include "tests/ui/query/LoggedInWindowTest.h"
#include "tests/support/ScriptedDialogService.h"
#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/FormMessage.h"
#include "ui/query/Form_MenuQuery.h"
#include "ui/query/Form_QueryMultipleFiles.h"
#include "ui/query/Form_QueryOptions.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/Main.h"
#include "ui/query/QueryLauncher.h"
#include "ui/shell/WindowManager.h"
#include "users/QVL_User.h"
#include "users/QVL_User_Rights.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <set>

namespace {

const QString wrongType = QStringLiteral("Abfrage für diesen Lektionstyp nicht möglich");
const QString tooFew = QStringLiteral("Die Lektion enthält zu wenige Vokabeln für diese Abfrage");
const QString noUnitTitle = QStringLiteral("Noch keine Lektion gewählt!");
const QString mismatch =
    QStringLiteral("Sie können nur Lektionen mit gleicher Sprache und Karten gleichen Typs abfragen.");

class QueryMenuTest : public LoggedInWindowTest
{
protected:
    TQVL_Query& query() const { return *core().Query; }
    QString unitPath(const QString& name) const { return folders.Documents() + QStringLiteral("/Lektionen/") + name; }

    // A unit of `typ` whose cards have the meanings "w<i>" / "W<i>"; returns its path.
    QString writeUnit(const QString& path, TQVL_CardType typ, int cards, const QString& foreign = QStringLiteral("eng"))
    {
        TQVL_Unit unit;
        unit.NewFile(path);
        unit.Typ = typ;
        unit.LangCodeHome = QStringLiteral("ger");
        unit.LangCodeForeign = foreign;
        for (int i = 1; i <= cards; ++i) {
            TQVL_Card* card = unit.Cards->NewCard(typ == tLongTermStorage ? tVoc : typ);
            if (auto* voc = dynamic_cast<TQVL_Card_Voc*>(card)) {
                voc->foreign1 = QStringLiteral("w%1").arg(i);
                voc->home1 = QStringLiteral("W%1").arg(i);
            }
        }
        unit.Save();
        unit.CloseFile();
        return path;
    }
    void openUnit(const QString& path) { core().Units->GetActiveUnit().Open(path); }

    TFormMenuQuery* showMenu() { return window->WindowManager().SwitchWindow<TFormMenuQuery>(); }
    template <class TForm> TForm* current() const
    {
        return qobject_cast<TForm*>(window->WindowManager().CurrentWindow());
    }
    // The options as the file holds them now.
    std::unique_ptr<TQVL_Query_Options> optionsFile() const
    {
        auto options = std::make_unique<TQVL_Query_Options>();
        options->Open(TFormMenuQuery::OptionsFileName(window->Core()));
        options->CloseFile();
        return options;
    }
    // The card uids in the pile, in pile order.
    std::vector<int> pileUids() const
    {
        std::vector<int> uids;
        for (const auto& entry : query().Cardpile->Cards)
            uids.push_back(entry->Card->Uid);
        return uids;
    }

};

} // namespace

TEST(QueryMenuRules, TilesFollowTheUnitTypeAndSize)
{
    struct Case
    {
        TQVL_CardType typ;
        int cards;
        TFormMenuQuery::TTileReasons expected;
    };
    const Case cases[] = {
        {tVoc, 7, {}},
        {tVoc, 6, {QString(), tooFew, QString(), QString()}},
        {tVoc, 1, {tooFew, tooFew, QString(), QString()}},
        {tSound, 0, {tooFew, tooFew, QString(), QString()}},
        {tLongTermStorage, 100, {}},
        {tPic, 10, {QString(), wrongType, wrongType, QString()}},
        // The type's reason stays where both rules apply.
        {tGrammar, 1, {tooFew, wrongType, wrongType, QString()}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TFormMenuQuery::TileReasonsFor(c.typ, c.cards), c.expected) << int(c.typ) << " " << c.cards;
}

TEST(QueryMenuRules, EachUnitTypeHasItsWindow)
{
    using W = TQueryWindow;
    struct Case
    {
        TQVL_CardType typ;
        W simple, play, choice;
    };
    const Case cases[] = {
        {tVoc, W::Voc, W::PlayVoc, W::MultipleChoice},
        {tSound, W::Voc, W::PlayVoc, W::MultipleChoice},
        {tLongTermStorage, W::Voc, W::PlayVoc, W::MultipleChoice},
        {tPic, W::Picture, W::PlayPicture, W::Picture},
        {tGrammar, W::Grammar, W::PlayGrammar, W::Grammar},
        {tInfo, W::None, W::None, W::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QueryWindowFor(c.typ, TQVL_QueryType::Simple), c.simple) << int(c.typ);
        EXPECT_EQ(QueryWindowFor(c.typ, TQVL_QueryType::Play), c.play) << int(c.typ);
        EXPECT_EQ(QueryWindowFor(c.typ, TQVL_QueryType::MultipleChoice), c.choice) << int(c.typ);
    }
}

TEST_F(QueryMenuTest, ADisabledTileShowsItsReasonWhenFocusedAndDoesNothing)
{
    openUnit(writeUnit(unitPath(QStringLiteral("Sechs.qxu")), tVoc, 6));
    TFormMenuQuery* menu = showMenu();
    ASSERT_NE(menu, nullptr);
    TKQ_ClickMatrix& tiles = *menu->KQ_ClickMatrix1;
    EXPECT_EQ(
        (std::vector<bool>{menu->TileEnabled(0), menu->TileEnabled(1), menu->TileEnabled(2), menu->TileEnabled(3)}),
        (std::vector<bool>{true, false, true, true}));

    tiles.SetFocusedItem(tiles.Items().Item(1));
    EXPECT_EQ(window->Label_Status->text(), tooFew);
    tiles.SetFocusedItem(tiles.Items().Item(0));
    EXPECT_EQ(window->Label_Status->text(), QString());

    const QByteArray before = ReadFile(TFormMenuQuery::OptionsFileName(window->Core()));
    tiles.SelectItem(tiles.Items().Item(1));
    EXPECT_EQ(current<TFormMenuQuery>(), menu);
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(query().Cardpile->isEmpty());
    EXPECT_EQ(ReadFile(TFormMenuQuery::OptionsFileName(window->Core())), before) << "nothing written";
}

TEST_F(QueryMenuTest, WithoutAUnitATileShowsTheNoUnitNotice)
{
    TFormMenuQuery* menu = showMenu();
    for (int i = 0; i < TFormMenuQuery::TileCount; ++i)
        EXPECT_TRUE(menu->TileEnabled(i));
    menu->SelectTile(0);
    EXPECT_EQ(notices, QStringList{noUnitTitle});
    EXPECT_TRUE(opened.empty());
}

TEST_F(QueryMenuTest, EachTileWritesTheFixedSettingsAndOpensItsQuery)
{
    openUnit(writeUnit(unitPath(QStringLiteral("Zehn.qxu")), tVoc, 10));
    struct Case
    {
        int tile;
        TQVL_QueryType queryType;
        bool timed;
        TQueryWindow window;
    };
    const Case cases[] = {
        {0, TQVL_QueryType::Simple, false, TQueryWindow::Voc},
        {1, TQVL_QueryType::MultipleChoice, false, TQueryWindow::MultipleChoice},
        {2, TQVL_QueryType::Simple, true, TQueryWindow::Voc},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tile);
        opened.clear();
        TFormMenuQuery* menu = showMenu();
        menu->Check_ChangeOptions->setChecked(false);
        menu->SelectTile(c.tile);
        ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
        EXPECT_EQ(opened, std::vector<TQueryWindow>{c.window});
        EXPECT_EQ(query().QueryType, c.queryType);
        EXPECT_EQ(query().Options->Step().questiondisplaytime, c.timed);
        EXPECT_FALSE(query().LongTermMode);
        EXPECT_EQ(pileUids(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

        const auto file = optionsFile();
        EXPECT_FALSE(file->changeoptions);
        EXPECT_TRUE(file->onlystoreresultswheallqueried);
        EXPECT_EQ(file->reducecardlisttyp, 0);
        EXPECT_EQ(file->reducecardlistby, 25);
        EXPECT_TRUE(file->Turn().mix);
        EXPECT_EQ(file->Turn().reducecardlisttyp, 2);
        EXPECT_EQ(file->Turn().reducecardlistby, 0);
        EXPECT_FALSE(file->Step().questiondisplaytime) << "the timed setting is not written";
        EXPECT_EQ(file->Step().questiondisplaytimeintervall, 5000);
        EXPECT_EQ(file->Step().answerdisplaytimeintervall, 2000);
        EXPECT_FALSE(file->Step().answerdisplaytime);
        const TQVL_Query_Step_Options& step = query().Options->Step();
        EXPECT_TRUE(step.UserInputRequired && step.ShowUserAnswer && step.EvaluateAnswer && step.ShowEvaluation);
        EXPECT_FALSE(step.UseSelfEvaluation || step.AskSelfEvaluation);
    }
}

TEST_F(QueryMenuTest, MissingRightsTurnTheOptionsScreenAndSelfEvaluationOff)
{
    openUnit(writeUnit(unitPath(QStringLiteral("Zehn.qxu")), tVoc, 10));
    {
        // The file asks for both.
        auto file = optionsFile();
        file->changeoptions = true;
        file->selfevaluation = true;
        file->NewFile(TFormMenuQuery::OptionsFileName(window->Core()));
        file->CloseFile();
    }
    user().Rights().QUERY_OPTIONS = false;
    user().Rights().QUERY_SELFASSESSMENT = false;
    TFormMenuQuery* menu = showMenu();
    EXPECT_FALSE(menu->Check_ChangeOptions->isChecked());
    EXPECT_FALSE(menu->Check_ChangeOptions->isEnabled());
    menu->SelectTile(0);
    EXPECT_EQ(opened, std::vector<TQueryWindow>{TQueryWindow::Voc}) << "straight to the query";
    EXPECT_FALSE(query().Options->selfevaluation);
    EXPECT_TRUE(query().Options->Step().EvaluateAnswer);
    EXPECT_FALSE(query().Options->Step().AskSelfEvaluation);
    EXPECT_FALSE(optionsFile()->selfevaluation);
}

TEST_F(QueryMenuTest, TheOptionsScreenFollowsWhenAskedForAndAbbruchLeavesNoDoubleCards)
{
    openUnit(writeUnit(unitPath(QStringLiteral("Zehn.qxu")), tVoc, 10));
    TFormMenuQuery* menu = showMenu();
    menu->Check_ChangeOptions->setChecked(true);
    menu->SelectTile(0);
    auto* options = current<TFormQueryOptions>();
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(optionsFile()->changeoptions);

    QTest::mouseClick(options->Button_Abort, Qt::LeftButton);
    menu = current<TFormMenuQuery>();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(query().Cardpile->isEmpty());
    EXPECT_TRUE(menu->Check_ChangeOptions->isChecked()) << "read back from the file";
    menu->Check_ChangeOptions->setChecked(false);
    menu->SelectTile(0);
    EXPECT_EQ(pileUids().size(), 10u) << "every card once";
}

TEST_F(QueryMenuTest, TheOptionsScreenWorksWithTheKeyboardAlone)
{
    openUnit(writeUnit(unitPath(QStringLiteral("Zehn.qxu")), tVoc, 10));
    TFormMenuQuery* menu = showMenu();
    menu->Check_ChangeOptions->setChecked(true);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const auto focused = [] {
        QWidget* widget = QApplication::focusWidget();
        return widget ? widget : QApplication::activeWindow();
    };
    QTest::keyClick(focused(), Qt::Key_Return);
    auto* options = current<TFormQueryOptions>();
    ASSERT_NE(options, nullptr);
    // The screen has the focus, not the hidden menu it replaced.
    ASSERT_TRUE(options->isAncestorOf(QApplication::focusWidget()));

    QTest::keyClick(focused(), Qt::Key_Escape);
    ASSERT_NE(current<TFormMenuQuery>(), nullptr) << "Escape is Abbruch";
    QTest::keyClick(focused(), Qt::Key_Return);
    options = current<TFormQueryOptions>();
    ASSERT_NE(options, nullptr);
    // Enter on a switch presses Start!, as in a dialog.
    options->Check_AllMeanings->setFocus();
    QTest::keyClick(focused(), Qt::Key_Return);
    ASSERT_EQ(opened.size(), 1u) << "Enter is Start!";
    EXPECT_EQ(pileUids().size(), 10u);
}

TEST_F(QueryMenuTest, AnUnreadableOptionsFileDisablesEveryTile)
{
    openUnit(writeUnit(unitPath(QStringLiteral("Zehn.qxu")), tVoc, 10));
    WriteFile(TFormMenuQuery::OptionsFileName(window->Core()), "<root><version>1</version></root>");
    TFormMenuQuery* menu = showMenu();
    ASSERT_EQ(dialogs.Errors.size(), 1);
    for (int i = 0; i < TFormMenuQuery::TileCount; ++i)
        EXPECT_FALSE(menu->TileEnabled(i)) << i;
    menu->SelectTile(0);
    EXPECT_TRUE(opened.empty());
    EXPECT_FALSE(query().Options->IsOpen);
}

TEST_F(QueryMenuTest, AStorageWithNothingDueOffersTheNextThreeDays)
{
    // Stored today: stage 1 is due tomorrow, stage 2 in three days, stage 3 in ten.
    const QString path = folders.Documents() + QStringLiteral("/Storages/Englisch.qxs");
    writeUnit(path, tLongTermStorage, 3);
    openUnit(path);
    const TQVL_DateTime now = TQVL_DateTime::Now();
    auto stages = [&](std::initializer_list<int> values) {
        TQVL_Result_Unit& results = user().Results().GetOrCreateUnit(core().Units->GetActiveUnit().Uid);
        int uid = 1;
        for (int stage : values) {
            TQVL_Result_Card& card = results.GetOrCreateCard(uid++);
            card.stage = stage;
            card.lastquery = now;
        }
    };
    const QString question = QStringLiteral(
        "Es stehen keine Vokabeln zur heutigen Abfrage bereit!\rWollen Sie bereits die Karten der nächsten 3 Tage "
        "lernen? Dies sollte aus lernmethodischen Gründen die Ausnahme bleiben.");
    stages({1, 3, 2});

    showMenu()->SelectTile(3);
    EXPECT_EQ(dialogs.Questions, QStringList{question});
    EXPECT_EQ(dialogs.Errors, QStringList{QStringLiteral("Abbruch durch Benutzer!")});
    EXPECT_TRUE(current<TFormMenuQuery>()) << "the screen stays";

    dialogs.Errors.clear();
    dialogs.ConfirmAnswers = {true};
    TFormMenuQuery* menu = showMenu();
    menu->Check_ChangeOptions->setChecked(false);
    menu->SelectTile(0);
    ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    EXPECT_TRUE(query().LongTermMode);
    EXPECT_EQ(query().Cardpile->ReferenceDate, TQVL_DateTime(now.Serial() + 3));
    EXPECT_EQ(pileUids(), (std::vector<int>{1, 3}));
    EXPECT_EQ(opened, std::vector<TQueryWindow>{TQueryWindow::Voc});

    stages({3, 3, 3});
    dialogs.ConfirmAnswers = {true};
    showMenu()->SelectTile(0);
    EXPECT_EQ(dialogs.Errors, QStringList{QStringLiteral(
                                  "Es stehen bis zu diesem Datum ebenfalls keine Vokabeln zur Abfrage bereit!")});

    // A card without a record was never queried: due today, no question.
    dialogs.Errors.clear();
    dialogs.Questions.clear();
    user().Results().GetOrCreateUnit(core().Units->GetActiveUnit().Uid).ClearCards();
    stages({3, 3});
    opened.clear();
    menu = showMenu();
    menu->Check_ChangeOptions->setChecked(false);
    menu->SelectTile(0);
    EXPECT_TRUE(dialogs.Questions.isEmpty());
    EXPECT_EQ(query().Cardpile->ReferenceDate, now);
    EXPECT_EQ(pileUids(), std::vector<int>{3});
}

TEST_F(QueryMenuTest, TheUnitListTakesOnlyUnitsOfTheSameLanguagesAndKind)
{
    openUnit(writeUnit(unitPath(QStringLiteral("Eins.qxu")), tVoc, 3));
    QDir().mkpath(unitPath(QStringLiteral("Mehr")));
    const QString two = writeUnit(unitPath(QStringLiteral("Mehr/Zwei.qxu")), tVoc, 2);
    const QString empty = writeUnit(unitPath(QStringLiteral("Leer.qxu")), tVoc, 0);
    const QString french = writeUnit(unitPath(QStringLiteral("Franz.qxu")), tVoc, 4, QStringLiteral("fre"));
    const QString sound = writeUnit(unitPath(QStringLiteral("Ton.qxu")), tSound, 4);
    const QString outside = writeUnit(folders.Root() + QStringLiteral("/Aussen.qxu"), tVoc, 1);

    TFormMenuQuery* menu = showMenu();
    menu->Check_ChangeOptions->setChecked(false);
    menu->SelectTile(TFormMenuQuery::TileMultipleUnits);
    auto* list = current<TFormQueryMultipleFiles>();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(query().Cardpile->isEmpty());
    EXPECT_EQ(list->StartFolder(), folders.Documents() + QStringLiteral("/Lektionen"));
    ASSERT_EQ(list->VST1->topLevelItemCount(), 1) << "the active unit comes first";

    dialogs.FileAnswers = {french, sound};
    for (int i = 0; i < 2; ++i)
        QTest::mouseClick(list->Button_Add, Qt::LeftButton);
    EXPECT_EQ(dialogs.Errors, (QStringList{mismatch, mismatch}));
    EXPECT_EQ(core().Units->AdditionalFileCount(), 0) << "refused units are closed again";

    list->AddUnits({two, empty, outside, two});
    ASSERT_EQ(list->VST1->topLevelItemCount(), 4) << "a listed file is not added twice";
    auto rowText = [&](int row) {
        QStringList cells;
        for (int column = 0; column < 4; ++column)
            cells << list->VST1->topLevelItem(row)->text(column);
        return cells.join('|');
    };
    EXPECT_EQ(rowText(0), QStringLiteral("Eins.qxu|3|Englisch|Vokabeln"));
    EXPECT_EQ(rowText(1), QStringLiteral("Mehr/Zwei.qxu|2|Englisch|Vokabeln"));
    EXPECT_EQ(rowText(2), QStringLiteral("Leer.qxu|0|Englisch|Vokabeln"));
    EXPECT_EQ(rowText(3), outside + QStringLiteral("|1|Englisch|Vokabeln"));
    EXPECT_EQ(core().Units->AdditionalFileCount(), 3);

    // Removing the active unit keeps it open; removing a further unit closes it.
    list->VST1->setCurrentItem(list->VST1->topLevelItem(3));
    QTest::mouseClick(list->Button_Remove, Qt::LeftButton);
    list->VST1->setCurrentItem(list->VST1->topLevelItem(0));
    QTest::mouseClick(list->Button_Remove, Qt::LeftButton);
    EXPECT_TRUE(core().Units->GetActiveUnit().IsOpen);
    EXPECT_EQ(core().Units->AdditionalFileCount(), 2);
    ASSERT_EQ(list->Units().size(), 2u);

    QTest::mouseClick(list->Button_Next, Qt::LeftButton);
    ASSERT_TRUE(dialogs.Errors.size() == 2) << dialogs.Errors.join('|').toStdString();
    EXPECT_EQ(pileUids(), (std::vector<int>{1, 2})) << "the cards of Zwei; the empty unit adds none";
    EXPECT_EQ(opened, std::vector<TQueryWindow>{TQueryWindow::Voc});
    EXPECT_EQ(list->VST1->topLevelItemCount(), 0);
    EXPECT_EQ(core().Units->AdditionalFileCount(), 2) << "the units stay open for the query";

    // Back in the query menu the pile is empty and its further units are closed.
    showMenu();
    EXPECT_EQ(core().Units->AdditionalFileCount(), 0);
}

TEST_F(QueryMenuTest, TheUnitListNeedsACardAndAbbruchClosesItsUnits)
{
    openUnit(writeUnit(unitPath(QStringLiteral("Leer.qxu")), tVoc, 0));
    const QString other = writeUnit(unitPath(QStringLiteral("AuchLeer.qxu")), tVoc, 0);
    const QString full = writeUnit(unitPath(QStringLiteral("Voll.qxu")), tVoc, 3);
    TFormMenuQuery* menu = showMenu();
    menu->Check_ChangeOptions->setChecked(true);
    menu->SelectTile(TFormMenuQuery::TileMultipleUnits);
    auto* list = current<TFormQueryMultipleFiles>();
    ASSERT_NE(list, nullptr);
    list->AddUnits({other});
    QTest::mouseClick(list->Button_Next, Qt::LeftButton);
    EXPECT_EQ(dialogs.Errors, QStringList{QStringLiteral("Sie müssen mindestens eine Karte abfragen")});
    EXPECT_TRUE(query().Cardpile->isEmpty());
    EXPECT_EQ(list->VST1->topLevelItemCount(), 2) << "the list stays";

    list->AddUnits({full});
    QTest::mouseClick(list->Button_Abort, Qt::LeftButton);
    EXPECT_EQ(core().Units->AdditionalFileCount(), 0);
    EXPECT_TRUE(core().Units->GetActiveUnit().IsOpen);
    ASSERT_NE(current<TFormMenuQuery>(), nullptr);

    // With the options screen asked for, it follows the list.
    current<TFormMenuQuery>()->SelectTile(TFormMenuQuery::TileMultipleUnits);
    list = current<TFormQueryMultipleFiles>();
    list->AddUnits({full});
    QTest::mouseClick(list->Button_Next, Qt::LeftButton);
    EXPECT_NE(current<TFormQueryOptions>(), nullptr);
    EXPECT_EQ(pileUids(), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(opened.empty());
}

TEST_F(QueryMenuTest, APlayRunOverSeveralUnitsSkipsTheQuerySettings)
{
    // As the play menu leaves it: the active unit already in the pile, play mode.
    openUnit(writeUnit(unitPath(QStringLiteral("Eins.qxu")), tVoc, 3));
    const QString two = writeUnit(unitPath(QStringLiteral("Zwei.qxu")), tVoc, 2);
    query().Options->changeoptions = true;
    query().QueryType = TQVL_QueryType::Play;
    query().Cardpile->AddUnit(core().Units->GetActiveUnit());
    auto* list = window->WindowManager().SwitchWindow<TFormQueryMultipleFiles>();
    list->AddUnits({two});
    const QByteArray before = ReadFile(TFormMenuQuery::OptionsFileName(window->Core()));
    QTest::mouseClick(list->Button_Next, Qt::LeftButton);
    EXPECT_EQ(opened, std::vector<TQueryWindow>{TQueryWindow::PlayVoc});
    EXPECT_EQ(pileUids(), (std::vector<int>{1, 2, 3, 1, 2})) << "each card once";
    EXPECT_EQ(ReadFile(TFormMenuQuery::OptionsFileName(window->Core())), before);
}
