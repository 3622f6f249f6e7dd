#include "query/QVL_Query_Turn.h"

#include "core/QVL_Error.h"
#include "core/QVL_ErrorDisplay.h"
#include "core/QVL_Math.h"
#include "query/QVL_Query_Card.h"
#include "query/QVL_Query_Step.h"
#include "query/QVL_Query_Turn_Options.h"

#include <cmath>

TQVL_Query_Turn::TQVL_Query_Turn(const TQVL_Query_Hooks& queryHooks, const TQVL_Query_Random& queryRandom,
                                 const TQVL_Query_TimerFactory& queryTimerFactory)
    : Step(std::make_unique<TQVL_Query_Step>(queryHooks, queryRandom, queryTimerFactory)), hooks(queryHooks)
{
    Step->OnFinished = [this] { stepCounted(); };
}

TQVL_Query_Turn::~TQVL_Query_Turn()
{
    if (!Idle)
        TQVL_ErrorDisplay::Current().ShowError(QStringLiteral("Cannot free turn when its still running!"));
}

void TQVL_Query_Turn::Start()
{
    if (!Idle || !Options)
        throw TQVL_Error(QStringLiteral("Assertion failure (QVL_Query_Turn)"));
    if (Items.empty())
        throw TQVL_Error(QStringLiteral("Cannot make a turn on empty cardlist"));
    Step->Options = Options->step.get();
    // Verdicts start empty for a round but carry over between its cards.
    Step->Clear();
    Queried = 0;
    Right = 0;
    Index = -1;
    Idle = false;
    ++runNumber;
    nextCard();
}

void TQVL_Query_Turn::Stop()
{
    if (Idle)
        return;
    Step->Stop();
    Idle = true;
}

void TQVL_Query_Turn::Clear()
{
    Items.clear();
    Step->Clear();
}

void TQVL_Query_Turn::DisplayQuestionEnd()
{
    if (!Idle)
        Step->DisplayQuestionEnd();
}

void TQVL_Query_Turn::DisplayAnswerEnd(bool right)
{
    if (!Idle)
        Step->DisplayAnswerEnd(right);
}

void TQVL_Query_Turn::nextCard()
{
    ++Index;
    if (Index >= int(Items.size())) {
        Stop();
        if (OnFinished)
            OnFinished();
        return;
    }
    Step->Card = Items[std::size_t(Index)];
    Step->Start();
}

void TQVL_Query_Turn::stepCounted()
{
    const quint64 run = runNumber;
    TQVL_Query_Card& entry = *Items[std::size_t(Index)];
    const TQVL_Query_StepResult result = Step->FinalResult;
    ++entry.SessionQueried;
    ++entry.Queried;
    ++Queried;
    entry.LastAnswerRight = false;
    if (result.IsRight()) {
        entry.LastAnswerRight = true;
        ++entry.SessionRight;
        ++entry.Right;
        ++Right;
    }
    // Later rounds earn less, and later phases add less to the point value.
    const qint64 points = RoundHalfEven(double(result.Percent) / std::ldexp(1.0, Number - 1));
    entry.SessionPoints += qint32(points);
    entry.PointValue +=
        qint32(SessionNumber == 1 ? points : RoundHalfEven(double(points) / std::ldexp(1.0, SessionNumber - 1)));

    if (OnCounted)
        OnCounted(entry);
    Step->Stop();
    if (hooks.OnStepEnd) {
        hooks.OnStepEnd();
        if (left(run))
            return;
    }
    nextCard();
}

void TQVL_Query_Turn::Restore(const State& state)
{
    Step->Stop();
    Items = state.Items;
    Index = state.Index;
    Number = state.Number;
    SessionNumber = state.SessionNumber;
    Queried = state.Queried;
    Right = state.Right;
    Idle = false;
    ++runNumber;
}
