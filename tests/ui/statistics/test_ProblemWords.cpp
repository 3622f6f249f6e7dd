// "Problemwörter": the list reached from the day's overview and the viewers,
// editing a listed card, and practising the listed cards as one query whose
// answers go to each card's own lesson.
#include "content/QVL_Card_Voc.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "tests/ui/query/test_QueryFixture.h"
#include "ui/edit/Form_Edit.h"
#include "ui/query/Form_MenuQuery.h"
#include "ui/query/Form_QueryResultVoc.h"
#include "ui/query/Form_Query_Voc.h"
#include "ui/shell/Form_MainMenu.h"
#include "ui/shell/Panel_TodayOverview.h"
#include "ui/show/Form_ShowMeta.h"
#include "ui/show/ShowLauncher.h"
#include "ui/statistics/Form_ProblemWords.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

const QString basics = QStringLiteral("{3C9A7E21-4B5D-4E8F-A1C2-0D9E8F7A6B01}");
const QString verbs = QStringLiteral("{3C9A7E21-4B5D-4E8F-A1C2-0D9E8F7A6B04}");

class ProblemWordsTest : public QueryWindowTest
{
protected:
    TQVL& core() const { return window->Core(); }
    TQVL_Result_User& results() const { return core().Users->GetActiveUser().Results(); }
    QString lesson(const QString& name) const { return folders.Documents() + QStringLiteral("/Lektionen/") + name; }
    void record(const QString& unitUid, const QString& path, qint32 card, qint32 asked, qint32 right)
    {
        TQVL_Result_Card& result = results().GetOrCreateUnit(unitUid, path).GetOrCreateCard(card);
        result.all_queried = asked;
        result.all_right = right;
    }
    // Words of the basic vocabulary, of a travel lesson of the same languages,
    // of the verbs (grammar) and of a lesson that is gone.
    void giveHistory()
    {
        TQVL_Unit travel;
        travelPath = lesson(QStringLiteral("Reise.qxu"));
        travel.NewFile(travelPath);
        travel.Typ = tVoc;
        travel.LangCodeHome = QStringLiteral("ger");
        travel.LangCodeForeign = QStringLiteral("eng");
        auto* ticket = dynamic_cast<TQVL_Card_Voc*>(travel.Cards->NewCard(tVoc));
        ticket->foreign1 = QStringLiteral("ticket");
        ticket->home1 = QStringLiteral("Fahrkarte");
        travel.Save();
        travelUid = travel.Uid;
        travel.CloseFile();

        record(basics, lesson(QStringLiteral("Englisch - Grundwortschatz.qxu")), 1, 10, 2);    // 80 %
        record(basics, lesson(QStringLiteral("Englisch - Grundwortschatz.qxu")), 2, 6, 2);     // 66 %
        record(basics, lesson(QStringLiteral("Englisch - Grundwortschatz.qxu")), 3, 3, 0);     // 3 wrong: not listed
        record(travelUid, travelPath, 1, 5, 0);                                                // 100 %, 5 wrong
        record(verbs, lesson(QStringLiteral("Englisch - Unregelmäßige Verben.qxu")), 1, 4, 0); // 100 %, 4 wrong
        record(QStringLiteral("{GONE}"), QStringLiteral("/nirgends/Weg.qxu"), 1, 20, 10);      // 50 %
    }
    TFormProblemWords* openFromOverview()
    {
        window->ShowMainMenu();
        auto* menu = qobject_cast<TFormMainMenu*>(Screen());
        EXPECT_NE(menu, nullptr);
        if (!menu)
            return nullptr;
        EXPECT_TRUE(menu->Panel_Today->Button_ProblemWords->isVisible());
        QTest::mouseClick(menu->Panel_Today->Button_ProblemWords, Qt::LeftButton);
        return qobject_cast<TFormProblemWords*>(Screen());
    }
    static QStringList column(const TFormProblemWords& screen, int column)
    {
        QStringList texts;
        for (int row = 0; row < screen.VST1->topLevelItemCount(); ++row)
            texts << screen.VST1->topLevelItem(row)->text(column);
        return texts;
    }
    static void clickRow(TFormProblemWords& screen, int row)
    {
        QTreeWidget& list = *screen.VST1;
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.topLevelItem(row)).center());
    }

    QString travelPath;
    QString travelUid;
};

} // namespace

TEST_F(ProblemWordsTest, ListedByTheRuleFromTheOverviewAndFromTheViewers)
{
    giveHistory();
    TFormProblemWords* screen = openFromOverview();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(column(*screen, 0),
              (QStringList{QStringLiteral("ticket – Fahrkarte"), QStringLiteral("begin – began – begun"),
                           QStringLiteral("house – Haus"), QStringLiteral("home – Zuhause, Heim"),
                           QStringLiteral("(Karte nicht gefunden)")}));
    EXPECT_EQ(column(*screen, 1),
              (QStringList{QStringLiteral("Reise"), QStringLiteral("Englisch - Unregelmäßige Verben"),
                           QStringLiteral("Englisch - Grundwortschatz"), QStringLiteral("Englisch - Grundwortschatz"),
                           QStringLiteral("Weg")}));
    EXPECT_EQ(column(*screen, 2), (QStringList{"5", "4", "10", "6", "20"}));
    EXPECT_EQ(column(*screen, 3), (QStringList{"5", "4", "8", "4", "10"}));
    EXPECT_EQ(column(*screen, 4), (QStringList{"100 %", "100 %", "80 %", "66 %", "50 %"}));
    EXPECT_TRUE(screen->Label_Rule->text().contains(QStringLiteral("mindestens 4 falschen Antworten")));
    EXPECT_TRUE(screen->Button_Edit->isEnabled());
    clickRow(*screen, 4);
    EXPECT_FALSE(screen->Button_Edit->isEnabled()) << "a card whose lesson is gone";
    EXPECT_FALSE(screen->Button_Practice->isEnabled());
    QTest::mouseClick(screen->Button_Back, Qt::LeftButton);
    EXPECT_TRUE(qobject_cast<TFormMainMenu*>(Screen()));

    OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    window->ShowMainMenu();
    TFormShowMeta* viewer = OpenCardViewer(*window);
    ASSERT_NE(viewer, nullptr);
    QTest::mouseClick(viewer->Button_ProblemWords, Qt::LeftButton);
    screen = qobject_cast<TFormProblemWords*>(Screen());
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->VST1->topLevelItemCount(), 5);
}

TEST_F(ProblemWordsTest, WithoutProblemWordsTheListSaysSoAndOffersNothing)
{
    record(basics, lesson(QStringLiteral("Englisch - Grundwortschatz.qxu")), 1, 10, 7);
    TFormProblemWords* screen = openFromOverview();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->VST1->topLevelItemCount(), 0);
    EXPECT_EQ(screen->SubCaption(),
              QStringLiteral("Noch keine Problemwörter: keine Vokabel wurde 4-mal falsch beantwortet."));
    EXPECT_FALSE(screen->Button_Edit->isEnabled());
    EXPECT_FALSE(screen->Button_Practice->isEnabled());
}

TEST_F(ProblemWordsTest, EditOpensTheCardEditorOnTheChosenCardAndReturnsToTheList)
{
    giveHistory();
    OpenUnit(QStringLiteral("Reise.qxu"));
    TFormProblemWords* screen = openFromOverview();
    ASSERT_NE(screen, nullptr);
    clickRow(*screen, 3);
    QTest::mouseClick(screen->Button_Edit, Qt::LeftButton);
    ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    auto* editor = qobject_cast<TFormEdit*>(Screen());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(Unit().Uid, basics) << "the card's lesson became the open one";
    EXPECT_EQ(editor->CardIndex, Unit().Cards->IndexOf(Unit().Cards->FindByUid(2)));
    auto* foreign = editor->findChild<QLineEdit*>(QStringLiteral("TntEdit1"));
    ASSERT_NE(foreign, nullptr);
    EXPECT_EQ(foreign->text(), QStringLiteral("home"));
    editor->SaveAndDone();
    EXPECT_TRUE(qobject_cast<TFormProblemWords*>(Screen()));
}

TEST_F(ProblemWordsTest, PractisingQueriesJustTheseCardsEachAnswerStoredWithItsLesson)
{
    giveHistory();
    Query().Options->changeoptions = false;
    TFormMenuQuery::WriteOptions(core());
    TFormProblemWords* screen = openFromOverview();
    ASSERT_NE(screen, nullptr);
    clickRow(*screen, 2); // house – Haus: the basic vocabulary leads
    QTest::mouseClick(screen->Button_Practice, Qt::LeftButton);
    ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    EXPECT_EQ(dialogs.Informations,
              QStringList{QStringLiteral(
                  "1 Problemwort aus Lektionen anderer Sprachen oder Kartenarten wird nicht mit abgefragt.")});
    EXPECT_EQ(Unit().Uid, basics);
    EXPECT_FALSE(Query().LongTermMode);
    std::vector<std::pair<QString, qint32>> pile;
    for (const auto& card : Query().Cardpile->Cards)
        pile.emplace_back(card->Unit->Uid, card->Card->Uid);
    const std::vector<std::pair<QString, qint32>> expected{{basics, 1}, {basics, 2}, {travelUid, 1}};
    EXPECT_EQ(pile, expected) << "each lesson's cards together, the leading lesson first";

    auto* query = qobject_cast<TFormQueryVoc*>(Screen());
    ASSERT_NE(query, nullptr);
    for (int answered = 0; Query().IsRunning() && answered < 10; ++answered) {
        const auto* card = static_cast<const TQVL_Card_Voc*>(Asked());
        ASSERT_NE(card, nullptr);
        TypeText(*query->TntEdit1, card->home1);
        QTest::keyClick(query->TntEdit1, Qt::Key_Return);
        ASSERT_NE(query->ResultWindow(), nullptr);
        QTest::mouseClick(query->ResultWindow()->Button_Ok, Qt::LeftButton);
    }
    EXPECT_FALSE(Query().IsRunning());
    const TQVL_Result_Unit* basic = results().FindUnit(basics);
    const TQVL_Result_Unit* travel = results().FindUnit(travelUid);
    ASSERT_TRUE(basic && travel);
    // One stored query per lesson, counting exactly the answers its cards got (the options decide how many).
    ASSERT_EQ(basic->QueryCount(), 1);
    ASSERT_EQ(travel->QueryCount(), 1);
    const qint32 houseAnswers = basic->FindCard(1)->all_queried - 10;
    const qint32 homeAnswers = basic->FindCard(2)->all_queried - 6;
    EXPECT_GE(houseAnswers, 1);
    EXPECT_GE(homeAnswers, 1);
    EXPECT_EQ(basic->Query(0).queried, houseAnswers + homeAnswers);
    EXPECT_GE(travel->Query(0).queried, 1);
    EXPECT_EQ(travel->Query(0).queried, travel->FindCard(1)->all_queried - 5);
    EXPECT_EQ(basic->FindCard(3)->all_queried, 3) << "a card asked too seldom to count stays out";
    EXPECT_EQ(results().FindUnit(verbs)->FindCard(1)->all_queried, 4) << "the verbs were left out";
    EXPECT_EQ(core().Units->AdditionalFileCount(), 0) << "the travel lesson was opened for the run alone";
}
