// The vocabulary query window driven like a learner: typed answers, verdicts,
// phase messages, the timer, self-evaluation, hints, fonts and sounds, and
// the results that reach the profile on disk.
#include "content/QVL_Card_Sound.h"
#include "ui/shell/Frame_Messages.h"
#include "content/QVL_Card_Voc.h"
#include "content/QVL_Language.h"
#include "core/QVL_Error.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "tests/ui/query/test_QueryFixture.h"
#include "ui/shell/ForeignInput.h"
#include "ui/shell/Form_MainMenu.h"
#include "ui/query/Form_QueryResultStatistics.h"
#include "ui/query/Form_QueryResultVoc.h"
#include "ui/query/Form_Query_Voc.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include <deque>
#include <map>

namespace {

const QString unitName = QStringLiteral("Englisch - Grundwortschatz.qxu");
const QString bothSentences =
    QStringLiteral("Alle Karten einmal abgefragt. Die nicht gekonnten Karten werden nun wiederholt.");
const QString firstSentence = QStringLiteral("Alle Karten einmal abgefragt.");

class VocabularyQueryTest : public QueryWindowTest
{
protected:
    TFormQueryVoc* StartVoc(std::initializer_list<int> uids)
    {
        OpenUnit(unitName);
        Pile(uids);
        return Start<TFormQueryVoc>();
    }
    // Types `text` and presses Enter; returns the answer window then shown.
    TFormQueryResultVoc* Answer(TFormQueryVoc& screen, const QString& text)
    {
        EXPECT_TRUE(screen.TntEdit1->isVisible());
        TypeText(*screen.TntEdit1, text);
        QTest::keyClick(screen.TntEdit1, Qt::Key_Return);
        return dynamic_cast<TFormQueryResultVoc*>(screen.ResultWindow());
    }
    const TQVL_Card_Voc& AskedVoc() const { return *static_cast<const TQVL_Card_Voc*>(Asked()); }

    // The profile as saved on disk.
    std::unique_ptr<TQVL_User> StoredProfile() const
    {
        auto stored = std::make_unique<TQVL_User>();
        stored->Open(ProfilePath);
        return stored;
    }
};

// Which verdict picture the answer window shows.
QString shownPicture(const TFormQueryResultMeta& result)
{
    QStringList shown;
    for (const QLabel* image : {result.Image_Right, result.Image_Half, result.Image_Wrong})
        if (image->isVisibleTo(&result))
            shown << image->objectName();
    return shown.join(',');
}

} // namespace

TEST_F(VocabularyQueryTest, AQueryRunsUntilItEndsByItselfAndItsResultsReachTheProfileOnDisk)
{
    TFormQueryVoc* screen = StartVoc({1, 11, 3, 2});
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->HelpPage(), QStringLiteral("help_query_voc.html"));

    // Given answers per card; once used up, the right one.
    std::map<int, std::deque<QString>> script = {
        {11, {QStringLiteral("Strasse")}},
        {3, {QStringLiteral("Vater"), QStringLiteral("xyz"), QStringLiteral("Familie"), QStringLiteral("Mutter")}},
        {2, {QStringLiteral("Heim")}},
    };
    struct Step
    {
        int Uid;
        QString Verdict;
        QString Picture;
    };
    std::vector<Step> steps;
    std::map<int, int> answersPerCard;
    QStringList phaseMessages;
    QString secondHint;
    bool secondBarFull = false;
    int rights = 0;

    while (Query().IsRunning() && steps.size() < 60) {
        ASSERT_EQ(Screen(), screen);
        const TQVL_Card_Voc& card = AskedVoc();
        const QString question = screen->TntLabel1->text();
        EXPECT_TRUE(!question.isEmpty() &&
                    (QStringList{card.foreign1, card.foreign2, card.foreign3}.contains(question)))
            << question.toStdString();
        EXPECT_EQ(screen->TntLabel2->text(), question) << "the shadow shows the same text";
        if (card.Uid == 2) {
            EXPECT_TRUE(screen->Label_Note->isVisible()) << "the card's note is shown with the question";
        }
        if (screen->Label1->isVisible())
            phaseMessages << screen->Label1->text();
        if (steps.size() == 1) {
            secondHint = screen->SpecialProgress1->toolTip();
            secondBarFull = screen->SpecialProgress1->value() == screen->SpecialProgress1->maximum();
        }
        EXPECT_TRUE(screen->Button_Abort->isEnabled());

        std::deque<QString>& given = script[card.Uid];
        const QString text = given.empty() ? card.home1 : given.front();
        if (!given.empty())
            given.pop_front();
        TFormQueryResultVoc* result = Answer(*screen, text);
        ASSERT_NE(result, nullptr);
        EXPECT_FALSE(screen->Button_Abort->isEnabled()) << "no leaving while the answer is shown";
        EXPECT_FALSE(screen->Label1->isVisible());
        EXPECT_EQ(result->Label_Input->text(), QStringLiteral("\"") + text + QStringLiteral("\""));
        EXPECT_EQ(result->Label_Foreign->text(), card.ForeignText());
        EXPECT_EQ(result->Label_Home->text(), card.HomeText());
        steps.push_back({card.Uid, result->Label1->text(), shownPicture(*result)});
        ++answersPerCard[card.Uid];
        if (result->Label1->text() == QStringLiteral("R i c h t i g"))
            ++rights;
        QTest::mouseClick(result->Button_Ok, Qt::LeftButton);
    }

    ASSERT_FALSE(Query().IsRunning());
    ASSERT_GE(steps.size(), 3u);
    EXPECT_EQ(steps[0].Verdict, QStringLiteral("R i c h t i g"));
    EXPECT_EQ(steps[0].Picture, QStringLiteral("Image_Right"));
    EXPECT_EQ(steps[1].Verdict, QStringLiteral("F a s t   r i c h t i g"));
    EXPECT_EQ(steps[1].Picture, QStringLiteral("Image_Half"));
    EXPECT_EQ(steps[2].Verdict, QStringLiteral("F a l s c h"));
    EXPECT_EQ(steps[2].Picture, QStringLiteral("Image_Wrong"));
    ASSERT_GE(Played.size(), 3);
    EXPECT_EQ(Played.mid(0, 3),
              (QStringList{TFormQueryResultMeta::AnswerSound(true), TFormQueryResultMeta::AnswerSound(false),
                           TFormQueryResultMeta::AnswerSound(false)}));

    EXPECT_EQ(secondHint, QStringLiteral("Diese Runde: 1 von 1 richtig.\nInsgesamt: 1 von 1 richtig."));
    EXPECT_TRUE(secondBarFull);
    EXPECT_EQ(phaseMessages, (QStringList{bothSentences, firstSentence, QStringLiteral("1. Übungsphase beendet."),
                                          bothSentences, QStringLiteral("2. Übungsphase beendet.")}));

    EXPECT_EQ(dialogs.Informations, QStringList{QStringLiteral("Die Abfrage ist beendet.")});
    auto* statistics = qobject_cast<TFormQueryResultStatistics*>(Screen());
    ASSERT_NE(statistics, nullptr);
    EXPECT_EQ(statistics->Label1->text(), QString::number(steps.size()));
    EXPECT_EQ(statistics->Label5->text(), QString::number(rights));
    EXPECT_TRUE(statistics->Label_Information->text().isEmpty());
    EXPECT_FALSE(statistics->Label_NoResults->isVisibleTo(statistics));
    EXPECT_FALSE(bool(Query().OnDisplayQuestion)) << "the closed window took its hooks out";

    std::unique_ptr<TQVL_User> stored = StoredProfile();
    const TQVL_Result_Unit* unit = stored->Results().FindUnit(Unit().Uid);
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->QueryCount(), 1);
    EXPECT_EQ(unit->last_queried, int(steps.size()));
    EXPECT_EQ(unit->last_right, rights);
    for (const auto& [uid, count] : answersPerCard) {
        const TQVL_Result_Card* card = unit->FindCard(uid);
        ASSERT_NE(card, nullptr) << uid;
        EXPECT_EQ(card->all_queried, count) << uid;
        EXPECT_FALSE(card->lastquery.IsEmpty());
    }
    stored->CloseFile();
}

TEST_F(VocabularyQueryTest, BesideTheSuccessBarTheCountNamesTheCardOfTheRound)
{
    TFormQueryVoc* screen = StartVoc({1, 11, 3});
    ASSERT_NE(screen, nullptr);
    QStringList counts;
    bool wrongGiven = false;
    while (Query().IsRunning() && counts.size() < 4) {
        counts << screen->Label_CardCount->text();
        EXPECT_TRUE(screen->Label_CardCount->isVisible());
        const QRect bar = screen->SpecialProgress1->geometry();
        const QRect count = screen->Label_CardCount->geometry();
        EXPECT_GT(count.left(), bar.right()) << "beside the bar";
        EXPECT_TRUE(count.top() <= bar.bottom() && count.bottom() >= bar.top()) << "in the bar's row";
        EXPECT_GE(screen->Label1->geometry().left(), count.right()) << "the phase messages do not cover it";
        // The first card is answered wrongly once, so the next round asks it alone.
        const bool wrong = AskedVoc().Uid == 1 && !wrongGiven;
        wrongGiven = wrongGiven || wrong;
        TFormQueryResultVoc* result = Answer(*screen, wrong ? QStringLiteral("xyz") : AskedVoc().home1);
        ASSERT_NE(result, nullptr);
        QTest::mouseClick(result->Button_Ok, Qt::LeftButton);
    }
    EXPECT_EQ(counts, (QStringList{QStringLiteral("Karte 1 von 3"), QStringLiteral("Karte 2 von 3"),
                                   QStringLiteral("Karte 3 von 3"), QStringLiteral("Karte 1 von 1")}));
}

TEST_F(VocabularyQueryTest, WhenTheQuestionTimeRunsOutTheTypedTextIsJudged)
{
    Query().Options->Step().questiondisplaytime = true;
    TFormQueryVoc* screen = StartVoc({1, 3});
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->Button_TimerEnabled->isVisible());
    EXPECT_EQ(screen->Button_TimerEnabled->toolTip(), QStringLiteral("Abfrage auf Zeit ist aktiviert"));
    EXPECT_EQ(timers.PendingInterval(), 5000);

    TypeText(*screen->TntEdit1, QStringLiteral("Hof"));
    ASSERT_TRUE(timers.Fire());
    auto* result = dynamic_cast<TFormQueryResultVoc*>(screen->ResultWindow());
    ASSERT_NE(result, nullptr) << "the answer is shown without the learner asking for it";
    EXPECT_EQ(result->Label_Input->text(), QStringLiteral("\"Hof\""));
    EXPECT_EQ(result->Label1->text(), QStringLiteral("F a l s c h"));
    QTest::mouseClick(result->Button_Ok, Qt::LeftButton);
    EXPECT_EQ(screen->ResultWindow(), nullptr);
    EXPECT_TRUE(screen->Button_TimerEnabled->isVisible());
    EXPECT_EQ(timers.PendingCount(), 1) << "the next question has its own time";
}

TEST_F(VocabularyQueryTest, ASelfEvaluatedQueryShowsNoVerdictUntilTheLearnerGivesHis)
{
    SetOptions(true);
    TFormQueryVoc* screen = StartVoc({1, 3, 4});
    ASSERT_NE(screen, nullptr);
    TFormQueryResultVoc* result = Answer(*screen, QStringLiteral("Haus"));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(shownPicture(*result), QString());
    EXPECT_EQ(result->Label1->text(), QStringLiteral("War Ihre Antwort richtig oder falsch?"));
    EXPECT_LT(result->Label1->x(), result->Image_Right->x() + result->Image_Right->width())
        << "the question starts at the left edge";
    EXPECT_TRUE(result->Button_Right->isVisibleTo(result));
    EXPECT_TRUE(result->Button_Wrong->isVisibleTo(result));
    EXPECT_FALSE(result->Button_Ok->isVisibleTo(result));
    EXPECT_FALSE(result->Label_Special->isVisibleTo(result));
    EXPECT_TRUE(Played.isEmpty()) << "no verdict sound before the learner's own verdict";

    QTest::mouseClick(result->Button_Wrong, Qt::LeftButton);
    EXPECT_EQ(Played, QStringList{TFormQueryResultMeta::AnswerSound(false)});
    EXPECT_EQ(Query().GetQueriedTotal(), 1);
    EXPECT_EQ(Query().GetRightTotal(), 0) << "the learner's verdict counts, not the typed text";

    result = Answer(*screen, QStringLiteral("falsch getippt"));
    ASSERT_NE(result, nullptr);
    QTest::mouseClick(result->Button_Right, Qt::LeftButton);
    EXPECT_EQ(Played.last(), TFormQueryResultMeta::AnswerSound(true));
    EXPECT_EQ(Query().GetRightTotal(), 1);

    QTest::mouseClick(screen->Button_Abort, Qt::LeftButton);
    auto* statistics = qobject_cast<TFormQueryResultStatistics*>(Screen());
    ASSERT_NE(statistics, nullptr);
    EXPECT_EQ(statistics->Label_Information->text(),
              QStringLiteral("Diese Abfrage wurde durch den Benutzer selbst bewertet.\n"
                             "Das Abfrageerbnis wurden nicht gespeichert.\n"));
}

TEST_F(VocabularyQueryTest, TheHintHalvesTheScoreAndIsNamedInTheAnswer)
{
    TFormQueryVoc* screen = StartVoc({23, 1});
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->Button_Hint->isVisible());
    EXPECT_FALSE(screen->Label_Note->isVisible());
    QTest::mouseClick(screen->Button_Hint, Qt::LeftButton);
    EXPECT_EQ(screen->Label_Note->text(), QStringLiteral("break + fast: das Fasten brechen"));
    EXPECT_TRUE(screen->Label_Note->isVisible());

    // The click took the focus to the button; the learner clicks back into the field.
    QTest::mouseClick(screen->TntEdit1, Qt::LeftButton);
    TFormQueryResultVoc* result = Answer(*screen, QStringLiteral("Frühstück"));
    ASSERT_NE(result, nullptr);
    EXPECT_FALSE(screen->Button_Hint->isVisible());
    EXPECT_EQ(result->Label1->text(), QStringLiteral("F a s t   r i c h t i g"));
    EXPECT_EQ(shownPicture(*result), QStringLiteral("Image_Half"));
    EXPECT_EQ(result->Label_Special->text(), QStringLiteral("Sie haben die Tip-Funktion genutzt!"));
    EXPECT_TRUE(result->Label_Special->isVisibleTo(result));
    QTest::mouseClick(result->Button_Ok, Qt::LeftButton);

    EXPECT_FALSE(screen->Button_Hint->isVisible()) << "card 1 has no hint";
    result = Answer(*screen, QStringLiteral("Haus"));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Label1->text(), QStringLiteral("R i c h t i g")) << "the hint was for the other card only";
    EXPECT_FALSE(result->Label_Special->isVisibleTo(result));
}

TEST_F(VocabularyQueryTest, FontsAndTheForeignInputMarkFollowTheDirection)
{
    OpenUnit(unitName);
    TQVL_Language& foreign = window->Core().Languages->GetActiveLanguage();
    foreign.FontUse = true;
    foreign.BigFont() = {QStringLiteral("DejaVu Serif"), 30};
    foreign.SmallFont() = {QStringLiteral("DejaVu Serif"), 13};
    window->Core().Languages->HomeLanguage->FontUse = false;

    Pile({1, 3});
    auto* screen = Start<TFormQueryVoc>();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->TntLabel1->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(screen->TntLabel1->font().pointSize(), 30);
    EXPECT_NE(screen->TntEdit1->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_FALSE(IsForeignInput(screen->TntEdit1)) << "the answer is typed in the home language";
    window->ShowMainMenu();
    ASSERT_FALSE(Query().IsRunning());

    Query().Options->Step().direction = 2;
    Pile({1, 3});
    screen = Start<TFormQueryVoc>();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->TntLabel1->text(), QStringLiteral("Haus"));
    EXPECT_NE(screen->TntLabel1->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(screen->TntEdit1->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(screen->TntEdit1->font().pointSize(), 30);
    EXPECT_TRUE(IsForeignInput(screen->TntEdit1));

    TFormQueryResultVoc* result = Answer(*screen, QStringLiteral("house"));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Label1->text(), QStringLiteral("R i c h t i g"));
    EXPECT_EQ(result->Label_Foreign->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(result->Label_Foreign->font().pointSize(), 13);
    EXPECT_NE(result->Label_Home->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(result->Label_Input->font().family(), QStringLiteral("DejaVu Serif")) << "typed in the foreign language";
}

TEST_F(VocabularyQueryTest, SoundCardsPlayTheQuestionAndLaterTheAnswerWithoutBlocking)
{
    OpenUnit(QStringLiteral("Englisch - Aussprache.qxu"));
    Pile({1, 2});
    auto* screen = Start<TFormQueryVoc>();
    ASSERT_NE(screen, nullptr);
    const auto& card = *static_cast<const TQVL_Card_Sound*>(Asked());
    // Found in the lesson's folder.
    const QString home = Unit().ExternalFilePath(card.home_filename);
    EXPECT_EQ(Played, QStringList{Unit().ExternalFilePath(card.foreign_filename)});

    TFormQueryResultVoc* result = Answer(*screen, card.home1);
    ASSERT_NE(result, nullptr) << "the answer is shown at once";
    EXPECT_EQ(Played.last(), TFormQueryResultMeta::AnswerSound(true));
    EXPECT_FALSE(Played.contains(home)) << "the answer's sound waits in the event loop";
    EXPECT_TRUE(QTest::qWaitFor([&] { return Played.contains(home); }, 5000));
}

TEST_F(VocabularyQueryTest, ASoundFileThatIsADeviceIsRefusedWithAMessageAndTheQueryGoesOn)
{
    OpenUnit(QStringLiteral("Englisch - Aussprache.qxu"));
    for (int uid : {1, 2})
        static_cast<TQVL_Card_Sound*>(Unit().Cards->FindByUid(uid))->foreign_filename = QStringLiteral("/dev/zero");
    Pile({1, 2});
    auto* screen = Start<TFormQueryVoc>();
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(Played.isEmpty()) << "never handed to the sound library";
    ASSERT_GE(window->MessageFrame()->Count(), 1);
    EXPECT_EQ(window->MessageFrame()->Titles().last(),
              QStringLiteral("Die Datei \"/dev/zero\" wird nicht geöffnet, weil sie keine gewöhnliche Datei ist."));
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << "no box stops the query";
    const auto& card = *static_cast<const TQVL_Card_Sound*>(Asked());
    EXPECT_NE(Answer(*screen, card.home1), nullptr);
}

TEST_F(VocabularyQueryTest, LeavingTheWindowStopsTheQueryAndStoresItsResults)
{
    Query().Options->onlystoreresultswheallqueried = false;
    TFormQueryVoc* screen = StartVoc({1, 3});
    ASSERT_NE(screen, nullptr);
    TFormQueryResultVoc* result = Answer(*screen, QStringLiteral("Haus"));
    ASSERT_NE(result, nullptr);
    QTest::mouseClick(result->Button_Ok, Qt::LeftButton);

    window->ShowMainMenu();
    EXPECT_TRUE(qobject_cast<TFormMainMenu*>(Screen()));
    EXPECT_FALSE(Query().IsRunning());
    EXPECT_FALSE(bool(Query().OnStepEnd));
    std::unique_ptr<TQVL_User> stored = StoredProfile();
    const TQVL_Result_Unit* unit = stored->Results().FindUnit(Unit().Uid);
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->last_queried, 1);
    EXPECT_EQ(unit->last_right, 1);
    ASSERT_NE(unit->FindCard(1), nullptr);
    EXPECT_EQ(unit->FindCard(1)->all_right, 1);
    stored->CloseFile();
}

TEST_F(VocabularyQueryTest, TheFurtherUnitsOfAQueryAreClosedWithItsWindow)
{
    OpenUnit(unitName);
    Pile({1, 3});
    auto* further = static_cast<TQVL_Unit*>(window->Core().Units->CreateAdditionalFile());
    further->Open(folders.Documents() + QStringLiteral("/Lektionen/Englisch - Aussprache.qxu"));
    Query().Cardpile->AddUnit(*further);
    TFormQueryVoc* screen = Start<TFormQueryVoc>();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(Query().Cardpile->Cards.size(), 2u + std::size_t(further->Cards->Count()));

    QTest::mouseClick(screen->Button_Abort, Qt::LeftButton);
    EXPECT_FALSE(Query().IsRunning());
    EXPECT_EQ(window->Core().Units->AdditionalFileCount(), 0);
    EXPECT_TRUE(Unit().IsOpen) << "the active unit stays";
}

TEST_F(VocabularyQueryTest, AQueryThatCannotStartLeavesForTheMainMenu)
{
    OpenUnit(unitName);
    EXPECT_THROW(OpenQueryWindow(*window), TQVL_Error) << "an empty pile";
    EXPECT_TRUE(qobject_cast<TFormMainMenu*>(Screen()));
    EXPECT_FALSE(Query().IsRunning());
    EXPECT_FALSE(bool(Query().OnDisplayQuestion));
}

TEST_F(VocabularyQueryTest, AForeignAnswerIsTypedWithTheLanguagesReplacements)
{
    // A French copy of the lesson whose first card asks "ça" for "Haus"; French replaces a typed "ß" by "ç".
    QByteArray unit = ReadFile(folders.Documents() + QStringLiteral("/Lektionen/") + unitName);
    unit.replace("<langcode_foreign>eng</langcode_foreign>", "<langcode_foreign>fre</langcode_foreign>");
    unit.replace("<foreign1>house</foreign1>", "<foreign1>\xc3\xa7" "a</foreign1>");
    WriteFile(folders.Documents() + QStringLiteral("/Lektionen/Franz.qxu"), unit);
    Query().Options->Step().direction = 2;
    OpenUnit(QStringLiteral("Franz.qxu"));
    Pile({1});
    TFormQueryVoc* screen = Start<TFormQueryVoc>();
    ASSERT_NE(screen, nullptr);
    TFormQueryResultVoc* result = Answer(*screen, QStringLiteral("\u00dfa"));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Label_Input->text(), QStringLiteral("\"\u00e7a\""));
    EXPECT_EQ(result->Label1->text(), QStringLiteral("R i c h t i g"));
}

TEST_F(VocabularyQueryTest, TheAnswerWindowLeavesTheQuestionAndTheCardsNoteReadable)
{
    TFormQueryVoc* screen = StartVoc({2});
    ASSERT_NE(screen, nullptr);
    ASSERT_TRUE(screen->Label_Note->isVisible()) << "card 2 carries a note";
    const QString note = screen->Label_Note->text();

    TFormQueryResultVoc* result = Answer(*screen, QStringLiteral("falsch"));
    ASSERT_NE(result, nullptr);
    const QRect answer = result->geometry();
    const QRect content = screen->Label_Note->parentWidget()->rect();
    EXPECT_TRUE(screen->Label_Note->isVisible());
    EXPECT_EQ(screen->Label_Note->text(), note);
    EXPECT_FALSE(screen->Label_Note->geometry().intersects(answer));
    EXPECT_FALSE(screen->TntLabel1->geometry().intersects(answer));
    EXPECT_TRUE(content.contains(screen->Label_Note->geometry()));
    EXPECT_LT(screen->Label_Note->geometry().bottom(), screen->Button_Abort->y());
}

TEST_F(VocabularyQueryTest, IHadItRightCountsATypoAndCtrlZTakesBackTheLastAnswer)
{
    TFormQueryVoc* screen = StartVoc({1, 11, 3});
    ASSERT_NE(screen, nullptr);

    // A slip the check calls wrong: the learner says he was right.
    TFormQueryResultVoc* result = Answer(*screen, QStringLiteral("xyz"));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Label1->text(), QStringLiteral("F a l s c h"));
    ASSERT_TRUE(result->Button_IWasRight->isVisible());
    EXPECT_EQ(result->Button_IWasRight->text(), QStringLiteral("&Ich hatte recht"));
    EXPECT_FALSE(result->Button_IWasRight->geometry().intersects(result->Label_Success->geometry()));
    EXPECT_FALSE(result->Button_IWasRight->geometry().intersects(result->Button_Ok->geometry()));
    QTest::mouseClick(result->Button_IWasRight, Qt::LeftButton);
    EXPECT_EQ(result->Label1->text(), QStringLiteral("R i c h t i g"));
    EXPECT_EQ(shownPicture(*result), QStringLiteral("Image_Right"));
    EXPECT_FALSE(result->Button_IWasRight->isVisible()) << "once";
    EXPECT_TRUE(result->Button_Ok->hasFocus());
    QTest::keyClick(result->Button_Ok, Qt::Key_Return);
    EXPECT_EQ(Query().GetRightTotal(), 1);

    // A right answer has nothing to override.
    const int second = AskedVoc().Uid;
    result = Answer(*screen, AskedVoc().home1);
    ASSERT_NE(result, nullptr);
    EXPECT_FALSE(result->Button_IWasRight->isVisible());
    QTest::mouseClick(result->Button_Ok, Qt::LeftButton);
    const int third = AskedVoc().Uid;
    EXPECT_NE(third, second);

    // Ctrl+Z in the empty answer field: the second answer is taken back and its card asked again.
    ASSERT_TRUE(screen->TntEdit1->hasFocus());
    QTest::keyClick(screen->TntEdit1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(AskedVoc().Uid, second);
    EXPECT_TRUE((QStringList{AskedVoc().foreign1, AskedVoc().foreign2, AskedVoc().foreign3}.contains(
        screen->TntLabel1->text())));
    EXPECT_EQ(Query().GetQueriedTotal(), 1);
    EXPECT_EQ(Query().GetRightTotal(), 1);
    QTest::keyClick(screen->TntEdit1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(AskedVoc().Uid, second) << "one answer only";
    EXPECT_EQ(Query().GetQueriedTotal(), 1);

    // Answered again; now what he typed for the next card comes first for Ctrl+Z.
    result = Answer(*screen, AskedVoc().home1);
    ASSERT_NE(result, nullptr);
    QTest::mouseClick(result->Button_Ok, Qt::LeftButton);
    TypeText(*screen->TntEdit1, QStringLiteral("ab"));
    QTest::keyClick(screen->TntEdit1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(AskedVoc().Uid, third);
    EXPECT_EQ(Query().GetQueriedTotal(), 2);
    EXPECT_NE(screen->TntEdit1->text(), QStringLiteral("ab")) << "the field's own undo";
    screen->TntEdit1->clear();
    QTest::keyClick(screen->TntEdit1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(AskedVoc().Uid, second) << "with the field empty, the answer";
    EXPECT_EQ(Query().GetQueriedTotal(), 1);
}
