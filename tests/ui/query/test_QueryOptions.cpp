#include "content/QVL_Card_Voc.h"
#include "app/QVL.h"
#include "query/QVL_Query_Options.h"
#include "tests/support/TestFolders.h"
#include "tests/support/ScriptedDialogService.h"
#include "ui/query/Form_MenuQuery.h"
#include "ui/query/Form_QueryOptions.h"
#include "ui/shell/Main.h"
#include "ui/query/QueryLauncher.h"
#include "ui/shell/WindowManager.h"
#include "users/QVL_User.h"
#include "users/QVL_User_Rights.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A started main window over a fresh installation with "Lernender" logged in
// and a vocabulary unit open; requested query windows are recorded.
class QueryOptionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        previousOpener =
            InstallQueryWindowOpener([this](TMainForm&, TQueryWindow requested) { opened.push_back(requested); });
        window = std::make_unique<TMainForm>();
        window->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->StartedUp(); }, 10000));
        core().Users->GetActiveUser().Open(folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs"));
        openUnit(tVoc);
        ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    }
    void TearDown() override
    {
        if (window)
            window->close();
        window.reset();
        InstallQueryWindowOpener(previousOpener);
    }

    TQVL& core() const { return window->Core(); }
    TQVL_Query_Options& options() const { return *core().Query->Options; }
    void openUnit(TQVL_CardType typ)
    {
        TQVL_Unit& active = core().Units->GetActiveUnit();
        if (active.IsOpen)
            active.CloseFile();
        const QString path = folders.Documents() + QStringLiteral("/Lektionen/Test%1.qxu").arg(int(typ));
        TQVL_Unit unit;
        unit.NewFile(path);
        unit.Typ = typ;
        unit.LangCodeHome = QStringLiteral("ger");
        unit.LangCodeForeign = QStringLiteral("eng");
        for (int i = 0; i < 8; ++i)
            unit.Cards->NewCard(typ);
        unit.Save();
        unit.CloseFile();
        active.Open(path);
    }
    // Reads the options file into the query's options, as the query menu does, and shows the screen.
    TFormQueryOptions* showScreen()
    {
        options().Open(TFormMenuQuery::OptionsFileName(window->Core()));
        options().CloseFile();
        return showScreenAsIs();
    }
    TFormQueryOptions* showScreenAsIs() { return window->WindowManager().SwitchWindow<TFormQueryOptions>(); }
    std::unique_ptr<TQVL_Query_Options> optionsFile() const
    {
        auto file = std::make_unique<TQVL_Query_Options>();
        file->Open(TFormMenuQuery::OptionsFileName(window->Core()));
        file->CloseFile();
        return file;
    }

    TestFolders folders;
    ScriptedDialogService dialogs;
    std::vector<TQueryWindow> opened;
    std::unique_ptr<TMainForm> window;

private:
    TQueryWindowOpener previousOpener;
};

} // namespace

TEST(QueryOptionsMapping, SessionsAndTimeItems)
{
    struct Session
    {
        int index;
        quint8 type;
        int by;
    };
    // Starting from type 1 by 7: "Automatisch" keeps the amount, "Richtige aussortieren." too.
    const Session sessions[] = {{0, 0, 7}, {1, 0, 50}, {2, 0, 33}, {3, 0, 25}, {4, 2, 7}};
    for (const Session& s : sessions) {
        quint8 type = 1;
        int by = 7;
        TFormQueryOptions::ApplySessions(s.index, type, by);
        EXPECT_EQ(std::pair(int(type), by), std::pair(int(s.type), s.by)) << s.index;
    }
    EXPECT_EQ(TFormQueryOptions::SessionsIndexOf(0), TFormQueryOptions::SessionsAutomatic);
    EXPECT_EQ(TFormQueryOptions::SessionsIndexOf(2), TFormQueryOptions::SessionsDropRight);

    const std::pair<int, int> times[] = {{2000, 0}, {2499, 0}, {2500, 1}, {5000, 6}, {7000, 10},
                                         {7500, 0}, {1500, 0}, {0, 0},    {10000, 0}};
    for (const auto& [milliseconds, index] : times)
        EXPECT_EQ(TFormQueryOptions::TimeIndexOf(milliseconds), index) << milliseconds;
    for (int index = 0; index < TFormQueryOptions::TimeItemCount; ++index)
        EXPECT_EQ(TFormQueryOptions::TimeIndexOf(TFormQueryOptions::TimeOf(index)), index);
}

TEST_F(QueryOptionsTest, TheControlsShowTheOptions)
{
    TQVL_Query_Step_Options& step = options().Step();
    options().reducecardlisttyp = 2;
    options().selfevaluation = true;
    options().storeresults = false;
    options().uselastresults = true;
    step.direction = 2;
    step.sounds = false;
    step.evaluation->ignorecase = true;
    step.evaluation->allmeaningscorrect = true;
    step.questiondisplaytime = true;
    step.questiondisplaytimeintervall = 3500;
    TFormQueryOptions* screen = showScreenAsIs();
    EXPECT_EQ(screen->Combo_QuerySessions->currentText(), QStringLiteral("Richtige aussortieren."));
    EXPECT_TRUE(screen->CheckHF->isChecked());
    EXPECT_FALSE(screen->CheckFH->isChecked() || screen->CheckR->isChecked());
    EXPECT_TRUE(screen->Check_SelfEvaluationTrue->isChecked());
    EXPECT_TRUE(screen->Check_AllMeanings->isChecked());
    EXPECT_FALSE(screen->Check_AllMeanings->isEnabled()) << "self-evaluation judges no meanings";
    EXPECT_FALSE(screen->CheckCase->isChecked());
    EXPECT_FALSE(screen->Check_PlaySounds->isChecked());
    EXPECT_FALSE(screen->Check_StoreResults->isChecked());
    EXPECT_TRUE(screen->Check_UseLastResults->isChecked());
    EXPECT_FALSE(screen->Combo_Time->isHidden());
    EXPECT_FALSE(screen->Label_Time->isHidden());
    EXPECT_EQ(screen->Combo_Time->currentText(), QStringLiteral("3,5 Sekunden"));
    EXPECT_EQ(screen->Combo_Time->count(), 11);
    EXPECT_EQ(screen->Combo_Time->itemText(10), QStringLiteral("7 Sekunden"));

    step.questiondisplaytime = false;
    step.direction = 0;
    screen = showScreenAsIs();
    EXPECT_TRUE(screen->Combo_Time->isHidden());
    EXPECT_TRUE(screen->Label_Time->isHidden());
    EXPECT_TRUE(screen->CheckR->isChecked());
}

TEST_F(QueryOptionsTest, StartTakesEachChoiceOverAndWritesTheFile)
{
    struct Case
    {
        const char* name;
        std::function<void(TFormQueryOptions&)> choose;
        std::function<bool(const TQVL_Query_Options&)> holds;
    };
    const Case cases[] = {
        {"Wenige", [](TFormQueryOptions& s) { s.Combo_QuerySessions->setCurrentIndex(1); },
         [](const TQVL_Query_Options& o) { return o.reducecardlisttyp == 0 && o.reducecardlistby == 50; }},
        {"Mittel", [](TFormQueryOptions& s) { s.Combo_QuerySessions->setCurrentIndex(2); },
         [](const TQVL_Query_Options& o) { return o.reducecardlisttyp == 0 && o.reducecardlistby == 33; }},
        {"Richtige aussortieren", [](TFormQueryOptions& s) { s.Combo_QuerySessions->setCurrentIndex(4); },
         [](const TQVL_Query_Options& o) { return o.reducecardlisttyp == 2 && o.reducecardlistby == 25; }},
        {"Deutsch -> Fremdsprache", [](TFormQueryOptions& s) { QTest::mouseClick(s.CheckHF, Qt::LeftButton); },
         [](const TQVL_Query_Options& o) { return o.Step().direction == 2; }},
        {"Zufällig", [](TFormQueryOptions& s) { QTest::mouseClick(s.CheckR, Qt::LeftButton); },
         [](const TQVL_Query_Options& o) { return o.Step().direction == 0; }},
        {"Eigene Bewertung",
         [](TFormQueryOptions& s) { QTest::mouseClick(s.Check_SelfEvaluationTrue, Qt::LeftButton); },
         [](const TQVL_Query_Options& o) { return o.selfevaluation; }},
        {"Alle Bedeutungen", [](TFormQueryOptions& s) { QTest::mouseClick(s.Check_AllMeanings, Qt::LeftButton); },
         [](const TQVL_Query_Options& o) { return o.Step().evaluation->allmeaningscorrect; }},
        {"Groß- und Kleinschreibung", [](TFormQueryOptions& s) { s.CheckCase->setChecked(true); },
         [](const TQVL_Query_Options& o) { return !o.Step().evaluation->ignorecase; }},
        {"Antworttöne", [](TFormQueryOptions& s) { s.Check_PlaySounds->setChecked(false); },
         [](const TQVL_Query_Options& o) { return !o.Step().sounds; }},
        {"Ergebnisse speichern", [](TFormQueryOptions& s) { s.Check_StoreResults->setChecked(false); },
         [](const TQVL_Query_Options& o) { return !o.storeresults; }},
        {"letzte Ergebnisse", [](TFormQueryOptions& s) { s.Check_UseLastResults->setChecked(true); },
         [](const TQVL_Query_Options& o) { return o.uselastresults; }},
    };
    // The installed options: type 0 by 25, direction 1, automatic, one meaning, ignore case, sounds, store.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(TFormMenuQuery::OptionsFileName(window->Core()),
                  ReadFile(QStringLiteral(QUORVEL_SOURCE_DIR "/data/appdata/Data/QueryOptions.xml")));
        TQVL_Query_Options installed;
        installed.IntegrityGuard = false;
        installed.Open(TFormMenuQuery::OptionsFileName(window->Core()));
        installed.WriteChecksumFile();
        installed.CloseFile();
        ASSERT_FALSE(c.holds(*optionsFile())) << "the choice changes something";
        opened.clear();
        TFormQueryOptions* screen = showScreen();
        c.choose(*screen);
        QTest::mouseClick(screen->Button_Start, Qt::LeftButton);
        ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
        EXPECT_TRUE(c.holds(options()));
        EXPECT_TRUE(c.holds(*optionsFile()));
        EXPECT_EQ(opened, std::vector<TQueryWindow>{TQueryWindow::Voc});
    }
    // The flags the file does not hold follow the evaluation choice.
    const TQVL_Query_Step_Options& step = options().Step();
    EXPECT_TRUE(step.EvaluateAnswer && step.ShowEvaluation && step.UserInputRequired && step.ShowUserAnswer);
    EXPECT_FALSE(step.UseSelfEvaluation || step.AskSelfEvaluation);
    TFormQueryOptions* screen = showScreen();
    QTest::mouseClick(screen->Check_SelfEvaluationTrue, Qt::LeftButton);
    QTest::mouseClick(screen->Button_Start, Qt::LeftButton);
    EXPECT_TRUE(step.UseSelfEvaluation && step.AskSelfEvaluation);
    EXPECT_FALSE(step.EvaluateAnswer || step.ShowEvaluation);
}

TEST_F(QueryOptionsTest, TheAnswerTimeCountsOnlyForATimedQuery)
{
    options().Step().questiondisplaytime = true;
    options().Step().questiondisplaytimeintervall = 5000;
    TFormQueryOptions* screen = showScreenAsIs();
    EXPECT_EQ(screen->Combo_Time->currentIndex(), 6);
    screen->Combo_Time->setCurrentIndex(2);
    QTest::mouseClick(screen->Button_Start, Qt::LeftButton);
    EXPECT_EQ(options().Step().questiondisplaytimeintervall, 3000);
    EXPECT_EQ(optionsFile()->Step().questiondisplaytimeintervall, 3000);

    options().Step().questiondisplaytime = false;
    screen = showScreenAsIs();
    screen->Combo_Time->setCurrentIndex(9);
    QTest::mouseClick(screen->Button_Start, Qt::LeftButton);
    EXPECT_EQ(options().Step().questiondisplaytimeintervall, 3000) << "a hidden choice changes nothing";
}

TEST_F(QueryOptionsTest, MeaningChoicesFollowTheEvaluationAndTheUnitKind)
{
    TFormQueryOptions* screen = showScreen();
    ASSERT_TRUE(screen->Check_SelfEvaluationFalse->isChecked());
    EXPECT_TRUE(screen->Check_AllMeanings->isEnabled() && screen->check_OneMeaning->isEnabled());
    QTest::mouseClick(screen->Check_SelfEvaluationTrue, Qt::LeftButton);
    EXPECT_FALSE(screen->Check_AllMeanings->isEnabled() || screen->check_OneMeaning->isEnabled());
    screen->Check_SelfEvaluationTrue->setFocus();
    QTest::keyClick(screen->Check_SelfEvaluationTrue, Qt::Key_Up);
    EXPECT_TRUE(screen->Check_SelfEvaluationFalse->isChecked()) << "chosen with the keyboard";
    EXPECT_TRUE(screen->Check_AllMeanings->isEnabled() && screen->check_OneMeaning->isEnabled());

    openUnit(tPic);
    screen = showScreen();
    EXPECT_FALSE(screen->CheckFH->isEnabled() || screen->CheckHF->isEnabled() || screen->CheckR->isEnabled());
    EXPECT_FALSE(screen->Check_AllMeanings->isEnabled());
    QTest::mouseClick(screen->Check_SelfEvaluationTrue, Qt::LeftButton);
    QTest::mouseClick(screen->Check_SelfEvaluationFalse, Qt::LeftButton);
    EXPECT_FALSE(screen->Check_AllMeanings->isEnabled() || screen->check_OneMeaning->isEnabled());
    QTest::mouseClick(screen->Button_Start, Qt::LeftButton);
    EXPECT_EQ(opened, std::vector<TQueryWindow>{TQueryWindow::Picture});
}

TEST_F(QueryOptionsTest, SelfEvaluationNeedsItsRight)
{
    core().Users->GetActiveUser().Rights().QUERY_SELFASSESSMENT = false;
    TFormQueryOptions* screen = showScreen();
    EXPECT_FALSE(screen->Check_SelfEvaluationTrue->isEnabled());
    screen->Check_SelfEvaluationTrue->setChecked(true);
    QTest::mouseClick(screen->Button_Start, Qt::LeftButton);
    EXPECT_FALSE(options().selfevaluation);
    EXPECT_TRUE(options().Step().EvaluateAnswer);
}

TEST_F(QueryOptionsTest, AFileThatCannotBeWrittenChangesNothing)
{
    TFormQueryOptions* screen = showScreen();
    const QByteArray before = ReadFile(TFormMenuQuery::OptionsFileName(window->Core()));
    // Another program holds the file for writing.
    TQVL_Query_Options other;
    other.Open(TFormMenuQuery::OptionsFileName(window->Core()));
    ASSERT_TRUE(other.RequestWriteAccess());
    screen->Combo_QuerySessions->setCurrentIndex(1);
    QTest::mouseClick(screen->Check_SelfEvaluationTrue, Qt::LeftButton);
    QTest::mouseClick(screen->Button_Start, Qt::LeftButton);
    other.CloseFile();
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_EQ(ReadFile(TFormMenuQuery::OptionsFileName(window->Core())), before);
    EXPECT_EQ(options().reducecardlistby, 25);
    EXPECT_FALSE(options().selfevaluation);
    EXPECT_FALSE(options().Step().AskSelfEvaluation);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(window->WindowManager().CurrentWindow(), screen) << "the screen stays";
}
