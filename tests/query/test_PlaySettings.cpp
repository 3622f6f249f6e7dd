// The settings a play run makes in the query options, and the values of the
// play screens' timer dialog.
#include "query/QVL_Query_Options.h"
#include "query/QVL_Query_PlaySettings.h"
#include "query/QVL_Query_PlayTimer.h"
#include "query/QVL_Query_Step_Options.h"
#include "query/QVL_Query_Turn_Options.h"

#include <gtest/gtest.h>

namespace {

const TQVL_PlayIntervals intervals{4000, 2500, 3500};

struct Expected
{
    const char* what;
    TQVL_PlayForm form;
    TQVL_CardType unit;
    bool questionTimer;
    int questionMs;
    bool answerTimer;
    int answerMs;
    bool selfEvaluated;
    int phaseTyp, phaseBy, roundTyp, roundBy;
};

} // namespace

TEST(PlaySettings, EachFormSetsItsTimesAndReductionsAndNothingIsStored)
{
    const Expected cases[] = {
        {"together, vocabulary", TQVL_PlayForm::Together, tVoc, true, 1, true, 4000, false, 1, 0, 1, 0},
        {"one after another, sound", TQVL_PlayForm::OneAfterAnother, tSound, true, 2500, true, 3500, false, 1, 0, 1, 0},
        {"several units, storage", TQVL_PlayForm::MultipleUnits, tLongTermStorage, true, 2500, true, 3500, false, 1, 0, 1, 0},
        {"pseudo query, pictures", TQVL_PlayForm::PseudoQuery, tPic, true, 4000, false, 0, true, 0, 20, 0, 50},
        {"one after another, grammar doubled", TQVL_PlayForm::OneAfterAnother, tGrammar, true, 5000, true, 7000, false, 1, 0, 1, 0},
        {"together, grammar: the answer doubled, still at once", TQVL_PlayForm::Together, tGrammar, true, 1, true, 8000, false, 1, 0, 1, 0},
    };
    for (const Expected& c : cases) {
        SCOPED_TRACE(c.what);
        TQVL_Query_Options options;
        // Left over from a query before.
        options.storeresults = true;
        options.ApplyMenuSettings(true);
        options.selfevaluation = true;
        options.SetEvaluationFlags(true);

        TQVL_Query_PlaySettings::ApplyMenuDefaults(options, c.unit);
        TQVL_Query_PlaySettings::ApplyForm(options, c.form, intervals, c.unit);
        const TQVL_Query_Step_Options& step = options.Step();
        EXPECT_FALSE(options.storeresults);
        EXPECT_TRUE(options.onlystoreresultswheallqueried);
        EXPECT_FALSE(step.UserInputRequired);
        EXPECT_FALSE(step.ShowUserAnswer);
        EXPECT_FALSE(step.EvaluateAnswer);
        EXPECT_FALSE(step.ShowEvaluation);
        EXPECT_EQ(step.questiondisplaytime, c.questionTimer);
        EXPECT_EQ(step.questiondisplaytimeintervall, c.questionMs);
        EXPECT_EQ(step.answerdisplaytime, c.answerTimer);
        EXPECT_EQ(step.answerdisplaytimeintervall, c.answerMs);
        EXPECT_EQ(step.UseSelfEvaluation, c.selfEvaluated);
        EXPECT_EQ(step.AskSelfEvaluation, c.selfEvaluated);
        EXPECT_EQ(options.reducecardlisttyp, c.phaseTyp);
        EXPECT_EQ(options.reducecardlistby, c.phaseBy);
        EXPECT_EQ(options.Turn().reducecardlisttyp, c.roundTyp);
        EXPECT_EQ(options.Turn().reducecardlistby, c.roundBy);
    }
}

TEST(PlaySettings, TheMenuSetsItsDefaultTimesByUnitKind)
{
    const struct
    {
        TQVL_CardType unit;
        int ms;
    } cases[] = {{tVoc, 2000}, {tSound, 2000}, {tLongTermStorage, 2000}, {tPic, 3000}, {tGrammar, 777}, {tInfo, 777}};
    for (const auto& c : cases) {
        TQVL_Query_Options options;
        options.Step().questiondisplaytimeintervall = 777;
        options.Step().answerdisplaytimeintervall = 777;
        TQVL_Query_PlaySettings::ApplyMenuDefaults(options, c.unit);
        EXPECT_EQ(options.Step().questiondisplaytimeintervall, c.ms) << int(c.unit);
        EXPECT_EQ(options.Step().answerdisplaytimeintervall, c.ms) << int(c.unit);
    }
}

TEST(PlayTimer, TheDialogShowsTheRowsTheLearnerMayChangeAndWritesOnlyThose)
{
    TQVL_Query_Options options;
    TQVL_Query_PlaySettings::ApplyMenuDefaults(options, tVoc);
    TQVL_Query_Step_Options& step = options.Step();

    // Together: only the answer row; switching off keeps question and answer together.
    TQVL_Query_PlaySettings::ApplyForm(options, TQVL_PlayForm::Together, intervals, tVoc);
    TQVL_Query_PlayTimer values = TQVL_Query_PlayTimer::FromStep(step);
    EXPECT_TRUE(values.HideQuestionTime);
    EXPECT_FALSE(values.HideAnswerTime);
    EXPECT_TRUE(values.TimerEnabled);
    EXPECT_EQ(values.AnswerTime, 4000);
    values.TimerEnabled = false;
    values.QuestionTime = 9999;
    values.AnswerTime = 6000;
    values.ApplyTo(step);
    EXPECT_TRUE(step.questiondisplaytime);
    EXPECT_EQ(step.questiondisplaytimeintervall, 1);
    EXPECT_FALSE(step.answerdisplaytime);
    EXPECT_EQ(step.answerdisplaytimeintervall, 6000);
    EXPECT_FALSE(TQVL_Query_PlayTimer::FromStep(step).TimerEnabled) << "the box opens as it was left";

    // Pseudo query: only the question row; the answer waits for the verdict.
    TQVL_Query_PlaySettings::ApplyForm(options, TQVL_PlayForm::PseudoQuery, intervals, tVoc);
    values = TQVL_Query_PlayTimer::FromStep(step);
    EXPECT_FALSE(values.HideQuestionTime);
    EXPECT_TRUE(values.HideAnswerTime);
    values.QuestionTime = 3000;
    values.TimerEnabled = false;
    values.ApplyTo(step);
    EXPECT_FALSE(step.questiondisplaytime);
    EXPECT_EQ(step.questiondisplaytimeintervall, 3000);
    EXPECT_FALSE(step.answerdisplaytime);
    EXPECT_EQ(step.answerdisplaytimeintervall, 0);
}

// A time from the options that the 16-bit field cannot hold is cut, never wrapped.
TEST(PlayTimer, ATimeBeyondTheFieldIsCutAndSaidSo)
{
    TQVL_Query_Step_Options step;
    step.questiondisplaytime = true;
    step.questiondisplaytimeintervall = 70000; // 70000 mod 65536 would be 4464
    step.answerdisplaytimeintervall = 2000;
    TQVL_Query_PlayTimer values = TQVL_Query_PlayTimer::FromStep(step);
    EXPECT_EQ(values.QuestionTime, 65535);
    EXPECT_TRUE(values.Clamped);

    step.questiondisplaytimeintervall = 65535;
    EXPECT_FALSE(TQVL_Query_PlayTimer::FromStep(step).Clamped);
}

TEST(PlayTimer, TypedTimesAreCheckedBeforeAnythingIsTaken)
{
    const QString minimum = QStringLiteral("Die Anzeigedauer für die Frage muß mindestens 2000 Millisekunden betragen!");
    const struct
    {
        const char* question;
        const char* answer;
        bool hideQuestion, hideAnswer;
        bool accepted;
        const char* mentions;
    } cases[] = {
        {"1999", "", false, true, false, "mindestens 2000"},
        {"2000", "", false, true, true, ""},
        {"500", "300", false, false, true, ""},
        {"", "300", false, false, false, "die Frage"},
        {"65536", "300", false, false, false, "65535"},
        {"1", "abc", true, false, false, "die Antwort"},
        {"1", "65535", true, false, true, ""},
        {"1", "", true, true, true, ""},
    };
    for (const auto& c : cases) {
        const QString error = TQVL_Query_PlayTimer::Check(QString::fromLatin1(c.question), QString::fromLatin1(c.answer),
                                                         c.hideQuestion, c.hideAnswer);
        EXPECT_EQ(error.isEmpty(), c.accepted) << c.question << "/" << c.answer << ": " << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.mentions))) << error.toStdString();
        if (QByteArray(c.mentions) == "mindestens 2000") {
            EXPECT_EQ(error, minimum);
        }
    }
}
