// Play mode driven like a learner: from the main menu's tile through the play
// menu into the play screens, with the step timers fired by hand.
#include "content/QVL_Card_Pic.h"
#include "content/QVL_Card_Sound.h"
#include "content/QVL_Card_Voc.h"
#include "query/QVL_ReadAloud.h"
#include "query/QVL_Result_User.h"
#include "tests/ui/query/test_QueryFixture.h"
#include "ui/play/Form_MenuPlay.h"
#include "ui/play/Form_PlayGrammar.h"
#include "ui/play/Form_PlayPic.h"
#include "ui/play/Form_PlayTimerOptions.h"
#include "ui/play/Form_PlayVoc.h"
#include "ui/play/ReadAloud.h"
#include "ui/query/Form_QueryMultipleFiles.h"
#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/Form_MainMenu.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "users/QVL_Options.h"

#include <QCheckBox>
#include <QAbstractButton>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include <functional>

namespace {

class PlayTest : public QueryWindowTest
{
protected:
    void SetUp() override
    {
        QueryWindowTest::SetUp();
        previousRunner = TFormDialogMeta::InstallModalRunner([this](QDialog& dialog) {
            ++dialogsShown;
            return onDialog ? onDialog(dialog) : int(QDialog::Rejected);
        });
        // The installed program options: both 4000 ms, one after another 3000 / 3000 ms.
        ASSERT_EQ(window->Core().Options->play_both_intervall, 4000);
    }
    void TearDown() override
    {
        TFormDialogMeta::InstallModalRunner(previousRunner);
        QueryWindowTest::TearDown();
    }

    // Main menu, tile "Vokabeln vorspielen", then the play menu's tile `form`.
    template <class TScreen> TScreen* Play(TQVL_PlayForm form)
    {
        window->ShowMainMenu();
        auto* mainMenu = dynamic_cast<TFormMainMenu*>(Screen());
        EXPECT_NE(mainMenu, nullptr);
        if (!mainMenu)
            return nullptr;
        clickTile(*mainMenu->findChild<TKQ_ClickMatrix*>(), 2);
        auto* menu = dynamic_cast<TFormMenuPlay*>(Screen());
        EXPECT_NE(menu, nullptr) << "the play menu follows the main menu's tile";
        if (!menu)
            return nullptr;
        EXPECT_EQ(menu->Caption(), QStringLiteral("Vokabeln vorspielen"));
        clickTile(*menu->KQ_ClickMatrix1, int(form));
        return dynamic_cast<TScreen*>(Screen());
    }
    static void clickTile(TKQ_ClickMatrix& tiles, int index)
    {
        QTest::mouseClick(&tiles, Qt::LeftButton, {}, tiles.Items().Item(index)->Rect().center());
    }
    QString writeUnit(const QString& name, int cards)
    {
        const QString path = folders.Documents() + QStringLiteral("/Lektionen/") + name;
        TQVL_Unit unit;
        unit.NewFile(path);
        unit.Typ = tVoc;
        unit.LangCodeHome = QStringLiteral("ger");
        unit.LangCodeForeign = QStringLiteral("eng");
        for (int i = 1; i <= cards; ++i) {
            auto* voc = static_cast<TQVL_Card_Voc*>(unit.Cards->NewCard(tVoc));
            voc->foreign1 = QStringLiteral("w%1").arg(i);
            voc->home1 = QStringLiteral("W%1").arg(i);
        }
        unit.Save();
        unit.CloseFile();
        return name;
    }
    QByteArray profileOnDisk() const { return ReadFile(ProfilePath); }

    std::function<int(QDialog&)> onDialog;
    int dialogsShown = 0;

private:
    TFormDialogMeta::TModalRunner previousRunner;
};

} // namespace

// Question time, answer time, and what the learner sees in between, for each form.
TEST_F(PlayTest, EachFormShowsQuestionAndAnswerForItsTimes)
{
    const struct
    {
        TQVL_PlayForm form;
        int questionMs;
        int answerMs;
    } cases[] = {
        {TQVL_PlayForm::Together, 1, 4000},
        {TQVL_PlayForm::OneAfterAnother, 3000, 3000},
    };
    OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.form));
        TFormPlayVoc* screen = Play<TFormPlayVoc>(c.form);
        ASSERT_NE(screen, nullptr);
        EXPECT_EQ(Query().QueryType, TQVL_QueryType::Play);
        EXPECT_TRUE(Query().IsRunning());
        EXPECT_EQ(screen->PlayState(), TFormPlayMeta::TPlayState::Question);
        const TQVL_Card_Voc& first = *static_cast<const TQVL_Card_Voc*>(Asked());
        const bool foreignAsked = screen->Label_Question->text() == first.foreign1;
        EXPECT_TRUE(foreignAsked || screen->Label_Question->text() == first.home1);
        EXPECT_EQ(screen->Label_QuestionShadow->text(), screen->Label_Question->text());
        EXPECT_TRUE(screen->Label_Answer->text().isEmpty());
        EXPECT_EQ(timers.PendingInterval(), c.questionMs);
        EXPECT_TRUE(screen->Button_TimerOn->isVisible());
        EXPECT_FALSE(screen->SpecialProgress1->isVisible()) << "the success bar waits for a verdict";

        ASSERT_TRUE(timers.Fire());
        EXPECT_EQ(screen->PlayState(), TFormPlayMeta::TPlayState::Answer);
        EXPECT_EQ(screen->Label_Answer->text(), foreignAsked ? first.home1 : first.foreign1);
        EXPECT_EQ(timers.PendingInterval(), c.answerMs);
        ASSERT_TRUE(timers.Fire());
        EXPECT_EQ(screen->PlayState(), TFormPlayMeta::TPlayState::Question);
        EXPECT_NE(Asked(), &first) << "the next card";

        // "Weiter" ends the question and then the answer at once.
        QTest::mouseClick(screen->Button_Next, Qt::LeftButton);
        EXPECT_EQ(screen->PlayState(), TFormPlayMeta::TPlayState::Answer);
        QTest::mouseClick(screen->Button_Next, Qt::LeftButton);
        EXPECT_EQ(screen->PlayState(), TFormPlayMeta::TPlayState::Question);

        // "Abbruch" leaves for the main menu and stops the run, which stores nothing.
        QTest::mouseClick(screen->Button_Abort, Qt::LeftButton);
        EXPECT_NE(dynamic_cast<TFormMainMenu*>(Screen()), nullptr);
        EXPECT_FALSE(Query().IsRunning());
        EXPECT_TRUE(Query().Cardpile->isEmpty());
    }
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
}

TEST_F(PlayTest, APseudoQueryEndsWithBeendetAndStoresNothing)
{
    const QByteArray before = profileOnDisk();
    OpenUnit(writeUnit(QStringLiteral("Zehn.qxu"), 10));
    TFormPlayVoc* screen = Play<TFormPlayVoc>(TQVL_PlayForm::PseudoQuery);
    ASSERT_NE(screen, nullptr);
    int steps = 0;
    while (dialogs.Informations.isEmpty() && steps < 200) {
        EXPECT_EQ(timers.PendingInterval(), 4000) << "the question for both_intervall";
        EXPECT_TRUE(screen->Button_Next->isVisible());
        ASSERT_TRUE(timers.Fire());
        // The learner judges: "Weiter" gives way to the two verdict buttons, no timer runs.
        EXPECT_FALSE(screen->Button_Next->isVisible());
        EXPECT_FALSE(screen->Button_Abort->isVisible());
        EXPECT_FALSE(screen->Button_Help->isVisible());
        ASSERT_TRUE(screen->Button_Known->isVisible());
        EXPECT_TRUE(screen->Button_NotKnown->isVisible());
        EXPECT_EQ(timers.PendingCount(), 0);
        // Centred under the card, 8 pixels either side of the middle.
        EXPECT_EQ(screen->Button_Known->geometry().right() + 1, screen->Content()->width() / 2 - 8);
        EXPECT_EQ(screen->Button_NotKnown->x(), screen->Content()->width() / 2 + 8);
        QTest::mouseClick(screen->Button_Known, Qt::LeftButton);
        EXPECT_TRUE(screen->SpecialProgress1->isVisible());
        ++steps;
    }
    EXPECT_EQ(dialogs.Informations, QStringList{QStringLiteral("Beendet!")});
    EXPECT_GT(steps, 10) << "more than one round";
    EXPECT_LT(steps, 200);
    EXPECT_FALSE(Query().IsRunning());
    EXPECT_FALSE(screen->Button_Next->isEnabled()) << "nothing goes on after the end";
    EXPECT_EQ(screen->SpecialProgress1->value(), screen->SpecialProgress1->maximum()) << "every card known";
    QTest::mouseClick(screen->Button_Abort, Qt::LeftButton);
    window->Core().Users->GetActiveUser().Close();
    EXPECT_EQ(window->Core().Users->GetActiveUser().IsOpen, false);
    const QByteArray after = profileOnDisk();
    EXPECT_FALSE(after.contains("Zehn.qxu")) << "a play run leaves no results";
    Q_UNUSED(before);
}

TEST_F(PlayTest, AGrammarUnitGetsTwiceTheTimesAndShowsTheValuesOfTheAnswer)
{
    OpenUnit(QStringLiteral("Englisch - Unregelmäßige Verben.qxu"));
    auto* screen = Play<TFormPlayGrammar>(TQVL_PlayForm::OneAfterAnother);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->Caption(), QStringLiteral("Karten vorspielen"));
    EXPECT_EQ(screen->HelpPage(), QStringLiteral("help_play_grammar.html"));
    EXPECT_EQ(timers.PendingInterval(), 6000);
    int values = 0, filled = 0;
    for (const auto& entry : screen->Labels())
        if (entry.Role == TFormPlayGrammar::FieldLabel::InputValue) {
            ++values;
            EXPECT_TRUE(entry.Label->text().isEmpty()) << "the question keeps the input fields empty";
        }
    ASSERT_GT(values, 0);
    ASSERT_TRUE(timers.Fire());
    EXPECT_EQ(timers.PendingInterval(), 6000);
    for (const auto& entry : screen->Labels())
        if (entry.Role == TFormPlayGrammar::FieldLabel::InputValue && !entry.Label->text().isEmpty())
            ++filled;
    EXPECT_GT(filled, 0) << "the answer shows the card's values";
}

TEST_F(PlayTest, APictureRunShowsTheAnswerTextOrTheClickAreas)
{
    OpenUnit(QStringLiteral("Englisch - Bilder.qxu"));
    auto* screen = Play<TFormPlayPic>(TQVL_PlayForm::OneAfterAnother);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->HelpPage(), QStringLiteral("help_play_pic.html"));
    EXPECT_EQ(timers.PendingInterval(), 3000);
    bool sawText = false, sawAreas = false;
    for (int card = 0; card < 19 && !(sawText && sawAreas); ++card) {
        const auto& pic = *static_cast<const TQVL_Card_Pic*>(Asked());
        EXPECT_EQ(screen->Label_Question->text(), pic.question);
        EXPECT_FALSE(screen->PictureSize().isEmpty());
        EXPECT_FALSE(screen->ShowsClickAreas());
        const QRect shown = screen->ShownRect();
        EXPECT_LE(shown.width(), pic.answer_typ >= 0 ? screen->Content()->width() : 0);
        EXPECT_LE(shown.width(), screen->PictureSize().width()) << "never enlarged";
        ASSERT_TRUE(timers.Fire());
        if (pic.answer_typ == 0) {
            EXPECT_EQ(screen->Label_Answer->text(), pic.answer_text);
            EXPECT_TRUE(screen->Label_Answer->isVisible());
            sawText = true;
        } else {
            EXPECT_TRUE(screen->ShowsClickAreas());
            EXPECT_FALSE(screen->Label_Answer->isVisible());
            sawAreas = true;
        }
        ASSERT_TRUE(timers.Fire());
    }
    EXPECT_TRUE(sawText);
    EXPECT_TRUE(sawAreas);
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
}

// The timer dialog: its rows, the 2000 ms minimum of a self-judged run, and
// the values written back.
TEST_F(PlayTest, TheTimerDialogChecksItsTimesAndSwitchesTheTimers)
{
    OpenUnit(writeUnit(QStringLiteral("Zehn.qxu"), 10));
    TFormPlayVoc* screen = Play<TFormPlayVoc>(TQVL_PlayForm::PseudoQuery);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->Button_TimerOn->toolTip(), QStringLiteral("Einstellungen zum automatischen Wechsel"));

    QStringList seenRows;
    QStringList typed{QStringLiteral("1999"), QStringLiteral("2500")};
    onDialog = [&](QDialog& shown) {
        auto& dialog = dynamic_cast<TFormPlayTimerOptions&>(shown);
        dialog.show();
        EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Einstellungen zum Automatischen Timer"));
        seenRows << QStringLiteral("%1/%2")
                        .arg(dialog.Edit_QuestionTime->isVisible())
                        .arg(dialog.Edit_AnswerTime->isVisible());
        EXPECT_EQ(dialog.Edit_QuestionTime->text(),
                  QString::number(Query().Options->Step().questiondisplaytimeintervall));
        EXPECT_TRUE(dialog.Check_TimerEnabled->isChecked());
        for (const QString& time : typed) {
            dialog.Edit_QuestionTime->selectAll();
            QTest::keyClick(dialog.Edit_QuestionTime, Qt::Key_Backspace);
            QTest::keyClicks(dialog.Edit_QuestionTime, QStringLiteral("x") + time);
            EXPECT_EQ(dialog.Edit_QuestionTime->text(), time) << "only digits";
            QTest::mouseClick(dialog.dxButton3, Qt::LeftButton);
        }
        EXPECT_TRUE(dialog.Accepted());
        return int(dialog.result());
    };
    QTest::mouseClick(screen->Button_TimerOn, Qt::LeftButton);
    EXPECT_EQ(seenRows, QStringList{QStringLiteral("1/0")}) << "a self-judged run has no answer time";
    EXPECT_EQ(dialogs.Errors, QStringList{QStringLiteral(
                                  "Die Anzeigedauer für die Frage muß mindestens 2000 Millisekunden betragen!")});
    EXPECT_EQ(Query().Options->Step().questiondisplaytimeintervall, 2500);
    // Taken over "as if Weiter was pressed": the answer shows for the verdict.
    EXPECT_EQ(screen->PlayState(), TFormPlayMeta::TPlayState::Answer);
    EXPECT_TRUE(screen->Button_Known->isVisible());

    // While the learner judges, the dialog does not judge for him.
    typed = {QStringLiteral("3000")};
    seenRows.clear();
    QTest::mouseClick(screen->Button_TimerOn, Qt::LeftButton);
    EXPECT_EQ(screen->PlayState(), TFormPlayMeta::TPlayState::Answer);
    EXPECT_EQ(Query().GetQueriedTotal(), 0) << "the card was not counted";
    QTest::mouseClick(screen->Button_NotKnown, Qt::LeftButton);
    EXPECT_EQ(timers.PendingInterval(), 3000);

    // Cancelled, nothing changes.
    onDialog = [](QDialog& dialog) {
        QTest::mouseClick(static_cast<TFormPlayTimerOptions&>(dialog).dxButton2, Qt::LeftButton);
        return int(dialog.result());
    };
    QTest::mouseClick(screen->Button_TimerOn, Qt::LeftButton);
    EXPECT_EQ(Query().Options->Step().questiondisplaytimeintervall, 3000);
    EXPECT_EQ(screen->PlayState(), TFormPlayMeta::TPlayState::Question);
}

TEST_F(PlayTest, SwitchingTheTimerOffLeavesTheCardsToWeiter)
{
    OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    TFormPlayVoc* screen = Play<TFormPlayVoc>(TQVL_PlayForm::Together);
    ASSERT_NE(screen, nullptr);
    ASSERT_TRUE(timers.Fire()); // question and answer together
    ASSERT_EQ(screen->PlayState(), TFormPlayMeta::TPlayState::Answer);
    onDialog = [](QDialog& shown) {
        auto& dialog = dynamic_cast<TFormPlayTimerOptions&>(shown);
        dialog.show();
        EXPECT_FALSE(dialog.Edit_QuestionTime->isVisible()) << "question and answer show together";
        EXPECT_TRUE(dialog.Edit_AnswerTime->isVisible());
        EXPECT_EQ(dialog.Edit_AnswerTime->text(), QStringLiteral("4000"));
        // On the box itself, not in the empty rest of its row.
        QTest::mouseClick(dialog.Check_TimerEnabled, Qt::LeftButton, {},
                          QPoint(8, dialog.Check_TimerEnabled->height() / 2));
        EXPECT_FALSE(dialog.Check_TimerEnabled->isChecked());
        QTest::mouseClick(dialog.dxButton3, Qt::LeftButton);
        return int(dialog.result());
    };
    QTest::mouseClick(screen->Button_TimerOn, Qt::LeftButton);
    EXPECT_TRUE(screen->Button_TimerOff->isVisible());
    EXPECT_FALSE(screen->Button_TimerOn->isVisible());
    EXPECT_EQ(screen->Button_TimerOff->toolTip(), QStringLiteral("Automatischer Wechsel ist deaktiviert."));
    // Weiter ended the answer; the next card shows with its answer at once and then stays.
    ASSERT_TRUE(timers.Fire());
    EXPECT_EQ(screen->PlayState(), TFormPlayMeta::TPlayState::Answer);
    EXPECT_EQ(timers.PendingCount(), 0) << "the answer stays until Weiter";
    QTest::mouseClick(screen->Button_Next, Qt::LeftButton);
    EXPECT_EQ(timers.PendingInterval(), 1);
}

// A display time the dialog's 16-bit field cannot hold is cut with a message, never wrapped.
TEST_F(PlayTest, ADisplayTimeBeyondTheFieldIsCutWithAMessage)
{
    window->Core().Options->play_both_intervall = 70000;
    OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    TFormPlayVoc* screen = Play<TFormPlayVoc>(TQVL_PlayForm::Together);
    ASSERT_NE(screen, nullptr);
    QString shownTime;
    onDialog = [&](QDialog& shown) {
        auto& dialog = dynamic_cast<TFormPlayTimerOptions&>(shown);
        shownTime = dialog.Edit_AnswerTime->text();
        QTest::mouseClick(dialog.dxButton3, Qt::LeftButton);
        return int(dialog.result());
    };
    QTest::mouseClick(screen->Button_TimerOn, Qt::LeftButton);
    EXPECT_EQ(shownTime, QStringLiteral("65535"));
    ASSERT_EQ(dialogs.Informations.size(), 1);
    EXPECT_TRUE(dialogs.Informations.front().contains(QStringLiteral("65535")))
        << dialogs.Informations.front().toStdString();
    EXPECT_EQ(Query().Options->Step().answerdisplaytimeintervall, 65535);
}

// The answer's sound waits 2.5 s in the event loop, never blocking the screen.
TEST_F(PlayTest, SoundCardsPlayTheQuestionAtOnceAndTheAnswerLaterUnlessSwitchedOff)
{
    OpenUnit(QStringLiteral("Englisch - Aussprache.qxu"));
    TFormPlayVoc* screen = Play<TFormPlayVoc>(TQVL_PlayForm::OneAfterAnother);
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->SoundAvailable());
    EXPECT_TRUE(screen->SoundOn());
    EXPECT_TRUE(screen->Button_SoundOff->isVisible());
    const auto& card = *static_cast<const TQVL_Card_Sound*>(Asked());
    const bool foreignAsked = screen->Label_Question->text() == card.foreign1;
    const QString question = Unit().ExternalFilePath(foreignAsked ? card.foreign_filename : card.home_filename);
    const QString answer = Unit().ExternalFilePath(foreignAsked ? card.home_filename : card.foreign_filename);
    EXPECT_EQ(Played, QStringList{question});

    ASSERT_TRUE(timers.Fire());
    EXPECT_EQ(Played, QStringList{question}) << "the answer's sound waits";
    EXPECT_TRUE(screen->AnswerSoundPending());
    QTest::mouseClick(screen->Button_Next, Qt::LeftButton);
    QTest::mouseClick(screen->Button_Next, Qt::LeftButton);
    EXPECT_EQ(screen->PlayState(), TFormPlayMeta::TPlayState::Answer) << "the screen answered at once";
    EXPECT_TRUE(QTest::qWaitFor([&] { return Played.size() >= 3; }, 5000));
    EXPECT_FALSE(Played.contains(answer)) << "a late sound never plays over the next card";

    QTest::mouseClick(screen->Button_SoundOff, Qt::LeftButton);
    EXPECT_FALSE(screen->SoundOn());
    EXPECT_TRUE(screen->Button_SoundOn->isVisible());
    const qsizetype before = Played.size();
    QTest::mouseClick(screen->Button_Next, Qt::LeftButton);
    QTest::qWait(50);
    EXPECT_EQ(Played.size(), before) << "sound off, recordings stay silent";
}

TEST_F(PlayTest, SoundCannotBeSwitchedOnForAUnitWithoutRecordings)
{
    OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    TFormPlayVoc* screen = Play<TFormPlayVoc>(TQVL_PlayForm::OneAfterAnother);
    ASSERT_NE(screen, nullptr);
    EXPECT_FALSE(screen->SoundOn());
    QTest::mouseClick(screen->Button_SoundOn, Qt::LeftButton);
    EXPECT_EQ(dialogs.Informations,
              QStringList{QStringLiteral("Die gewählte Lektion enthält keine vertonten Vokabeln")});
    EXPECT_FALSE(screen->SoundOn());
    EXPECT_TRUE(Played.isEmpty());
}

// Cards without a recording are read aloud when the learner switches it on;
// the switch is the learner's and a card's own recording always wins.
TEST_F(PlayTest, ReadingAloudSpeaksCardsWithoutARecordingAndKeepsTheSwitch)
{
    OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    TFormPlayVoc* screen = Play<TFormPlayVoc>(TQVL_PlayForm::OneAfterAnother);
    ASSERT_NE(screen, nullptr);
    EXPECT_FALSE(screen->Button_ReadAloud->isChecked());
    EXPECT_TRUE(Played.isEmpty());
    QTest::mouseClick(screen->Button_ReadAloud, Qt::LeftButton);
    EXPECT_TRUE(window->Core().Users->GetActiveUser().readaloud);
    EXPECT_EQ(screen->Button_ReadAloud->toolTip(), QStringLiteral("Vorlesen deaktivieren"));

    QTest::mouseClick(screen->Button_Next, Qt::LeftButton); // the answer
    QTest::mouseClick(screen->Button_Next, Qt::LeftButton); // the next question, read aloud
    ASSERT_TRUE(QTest::qWaitFor([&] { return Played.size() == 1; }, 5000));
    EXPECT_TRUE(Played.front().endsWith(QStringLiteral(".wav")));
    EXPECT_GT(QFileInfo(Played.front()).size(), 44) << "a real wave file";
    QTest::mouseClick(screen->Button_Next, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Played.size() == 2; }, 5000)) << "the answer after its pause";
    EXPECT_NE(Played.at(1), Played.at(0)) << "the other side's text";

    // Kept in the profile: the next login finds it on.
    QTest::mouseClick(screen->Button_Abort, Qt::LeftButton);
    Unit().CloseFile();
    window->Core().Users->GetActiveUser().Close();
    window->Core().Users->GetActiveUser().Open(ProfilePath);
    EXPECT_TRUE(window->Core().Users->GetActiveUser().readaloud);

    // A sound card's own recording wins over the spoken text.
    Played.clear();
    OpenUnit(QStringLiteral("Englisch - Aussprache.qxu"));
    Play<TFormPlayVoc>(TQVL_PlayForm::OneAfterAnother);
    ASSERT_EQ(Played.size(), 1);
    EXPECT_FALSE(Played.front().contains(QStringLiteral("Quorvel-Vorlesen"))) << Played.front().toStdString();
    EXPECT_TRUE(Played.front().startsWith(folders.Documents())) << Played.front().toStdString();

    // Picture play speaks its question, and a typed answer when it shows.
    QTest::mouseClick(Screen()->findChild<QAbstractButton*>(QStringLiteral("Button_Abort")), Qt::LeftButton);
    Unit().CloseFile();
    Played.clear();
    OpenUnit(QStringLiteral("Englisch - Bilder.qxu"));
    TFormPlayPic* pictures = Play<TFormPlayPic>(TQVL_PlayForm::OneAfterAnother);
    ASSERT_NE(pictures, nullptr);
    EXPECT_TRUE(pictures->Button_ReadAloud->isChecked());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Played.size() == 1; }, 5000)) << "the question";
    EXPECT_TRUE(Played.front().contains(QStringLiteral("Quorvel-Vorlesen"))) << Played.front().toStdString();
    QTest::mouseClick(pictures->Button_Next, Qt::LeftButton);
    ASSERT_TRUE(pictures->Label_Answer->isVisible()) << "the sample's pictures are answered by typing";
    ASSERT_TRUE(QTest::qWaitFor([&] { return Played.size() == 2; }, 5000)) << "the typed answer";
    EXPECT_NE(Played.at(1), Played.at(0));

    // Grammar play speaks the shown foreign form with the question, the asked ones with the answer.
    QTest::mouseClick(pictures->Button_Abort, Qt::LeftButton);
    Unit().CloseFile();
    Played.clear();
    OpenUnit(QStringLiteral("Englisch - Unregelmäßige Verben.qxu"));
    TFormPlayGrammar* forms = Play<TFormPlayGrammar>(TQVL_PlayForm::OneAfterAnother);
    ASSERT_NE(forms, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Played.size() == 1; }, 5000)) << "the infinitive";
    QTest::mouseClick(forms->Button_Next, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Played.size() == 2; }, 5000)) << "the past forms";
    EXPECT_NE(Played.at(1), Played.at(0));
    EXPECT_GT(QFileInfo(Played.at(1)).size(), 44);
}

TEST_F(PlayTest, WithoutAUnitThePlayMenuShowsTheNoticeAndStartsNothing)
{
    if (Unit().IsOpen)
        Unit().CloseFile();
    EXPECT_EQ(Play<TFormPlayMeta>(TQVL_PlayForm::Together), nullptr);
    EXPECT_EQ(dialogsShown, 1) << "the no-unit notice";
    EXPECT_NE(dynamic_cast<TFormMenuPlay*>(Screen()), nullptr);
    EXPECT_FALSE(Query().IsRunning());

    // A unit without cards: said in German, and the menu stays.
    OpenUnit(writeUnit(QStringLiteral("Leer.qxu"), 0));
    EXPECT_EQ(Play<TFormPlayMeta>(TQVL_PlayForm::OneAfterAnother), nullptr);
    EXPECT_EQ(dialogs.Errors,
              QStringList{QStringLiteral("Die Lektion enthält keine Karten, die vorgespielt werden können.")});
    EXPECT_NE(dynamic_cast<TFormMenuPlay*>(Screen()), nullptr);
    EXPECT_TRUE(Query().Cardpile->isEmpty());
}

// "Mehrere Lektionen": the unit list, then the play screen over all listed units.
TEST_F(PlayTest, SeveralUnitsArePlayedAfterTheUnitList)
{
    const QString second =
        folders.Documents() + QStringLiteral("/Lektionen/") + writeUnit(QStringLiteral("Drei.qxu"), 3);
    OpenUnit(writeUnit(QStringLiteral("Zwei.qxu"), 2));
    auto* list = Play<TFormQueryMultipleFiles>(TQVL_PlayForm::MultipleUnits);
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(Query().IsRunning());
    // Back: the play menu again, nothing started.
    QTest::mouseClick(list->Button_Abort, Qt::LeftButton);
    auto* menu = dynamic_cast<TFormMenuPlay*>(Screen());
    ASSERT_NE(menu, nullptr);
    clickTile(*menu->KQ_ClickMatrix1, int(TQVL_PlayForm::MultipleUnits));
    list = dynamic_cast<TFormQueryMultipleFiles*>(Screen());
    ASSERT_NE(list, nullptr);
    list->AddUnits({second});
    QTest::mouseClick(list->Button_Next, Qt::LeftButton);
    auto* screen = dynamic_cast<TFormPlayVoc*>(Screen());
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(Query().Cardpile->getCardList().size(), 5u);
    EXPECT_EQ(timers.PendingInterval(), 3000) << "one after another";
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
}

// Speech is made on a worker: the screen asking goes on at once, a screen that
// is gone by then gets nothing, and a newer request replaces an older one.
TEST(ReadAloudWorker, TheWindowGoesOnWhileSpeechIsMadeAndOnlyAScreenStillThereHearsIt)
{
    // The speech service is the core's.
    const TQVL core;
    QStringList played;
    const auto previous = TFormQueryMeta::InstallSoundPlayer([&](const QString& file) { played << file; });
    const auto request = [](const QString& text) {
        TQVL_ReadAloud what;
        what.Text = text;
        what.LangCode = QStringLiteral("eng");
        return what;
    };
    const auto settled = [] {
        const bool idle = QTest::qWaitFor([] { return !ReadAloud::Busy(); }, 20000);
        QTest::qWait(20); // what the last worker sent
        return idle;
    };
    const QString sentence = QStringLiteral("the house is green and the garden behind it is big. ");
    auto screen = std::make_unique<QObject>();

    ReadAloud::Play(request(sentence.repeated(20)), screen.get());
    EXPECT_TRUE(played.isEmpty()) << "the call returned before the speech was made";
    ASSERT_TRUE(QTest::qWaitFor([&] { return played.size() == 1; }, 20000));
    EXPECT_GT(QFileInfo(played.front()).size(), 44);

    auto gone = std::make_unique<QObject>();
    ReadAloud::Play(request(sentence.repeated(19)), gone.get());
    gone.reset();
    ASSERT_TRUE(settled());
    EXPECT_EQ(played.size(), 1) << "nothing reached the screen that was gone";

    ReadAloud::Play(request(sentence.repeated(18)), screen.get());
    ReadAloud::Play(request(QStringLiteral("the garden")), screen.get());
    ASSERT_TRUE(settled());
    ASSERT_EQ(played.size(), 2) << "only the newer request was played";
    ReadAloud::Play(request(QStringLiteral("the garden")), screen.get());
    ASSERT_TRUE(settled());
    ASSERT_EQ(played.size(), 3);
    EXPECT_EQ(played.at(1), played.at(2)) << "the one played was the newer text";
    TFormQueryMeta::InstallSoundPlayer(previous);
}
