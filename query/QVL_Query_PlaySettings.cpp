#include "query/QVL_Query_PlaySettings.h"

#include "query/QVL_Query_Options.h"
#include "query/QVL_Query_Step_Options.h"
#include "query/QVL_Query_Turn_Options.h"

#include <limits>

namespace {

// Twice a time, without running past what the field holds.
int doubled(int ms)
{
    const long long twice = 2LL * ms;
    return twice > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : int(twice);
}

} // namespace

void TQVL_Query_PlaySettings::ApplyMenuDefaults(TQVL_Query_Options& options, TQVL_CardType unitType)
{
    options.storeresults = false;
    options.onlystoreresultswheallqueried = true;
    options.reducecardlisttyp = 1;
    options.reducecardlistby = 0;
    TQVL_Query_Turn_Options& turn = options.Turn();
    turn.reducecardlisttyp = 1;
    turn.reducecardlistby = 0;
    TQVL_Query_Step_Options& step = options.Step();
    step.UserInputRequired = false;
    step.ShowUserAnswer = false;
    step.questiondisplaytime = false;
    switch (unitType) {
    case tVoc:
    case tSound:
    case tLongTermStorage:
        step.questiondisplaytimeintervall = 2000;
        step.answerdisplaytimeintervall = 2000;
        break;
    case tPic:
        step.questiondisplaytimeintervall = 3000;
        step.answerdisplaytimeintervall = 3000;
        break;
    default:
        break;
    }
    step.answerdisplaytime = false;
    step.EvaluateAnswer = false;
    step.ShowEvaluation = false;
    step.UseSelfEvaluation = false;
    step.AskSelfEvaluation = false;
}

void TQVL_Query_PlaySettings::ApplyForm(TQVL_Query_Options& options, TQVL_PlayForm form,
                                        const TQVL_PlayIntervals& intervals, TQVL_CardType unitType)
{
    TQVL_Query_Step_Options& step = options.Step();
    switch (form) {
    case TQVL_PlayForm::Together:
        step.questiondisplaytime = true;
        // One millisecond: the answer follows the question at once.
        step.questiondisplaytimeintervall = 1;
        step.answerdisplaytimeintervall = intervals.Both;
        step.answerdisplaytime = true;
        break;
    case TQVL_PlayForm::OneAfterAnother:
    case TQVL_PlayForm::MultipleUnits:
        step.questiondisplaytime = true;
        step.questiondisplaytimeintervall = intervals.SeriesQuestion;
        step.answerdisplaytimeintervall = intervals.SeriesAnswer;
        step.answerdisplaytime = true;
        break;
    case TQVL_PlayForm::PseudoQuery:
        // Half of the known cards leave after each round, a fifth after each phase: the run ends.
        options.reducecardlisttyp = 0;
        options.reducecardlistby = 20;
        options.Turn().reducecardlisttyp = 0;
        options.Turn().reducecardlistby = 50;
        step.questiondisplaytime = true;
        step.questiondisplaytimeintervall = intervals.Both;
        step.answerdisplaytimeintervall = 0;
        step.answerdisplaytime = false;
        step.UseSelfEvaluation = true;
        step.AskSelfEvaluation = true;
        break;
    }
    if (unitType == tGrammar) {
        // The 1 ms of "together" is no display time but "at once": doubled it
        // would show up as a question time of 2 ms in the timer dialog.
        if (form != TQVL_PlayForm::Together)
            step.questiondisplaytimeintervall = doubled(step.questiondisplaytimeintervall);
        step.answerdisplaytimeintervall = doubled(step.answerdisplaytimeintervall);
    }
}
