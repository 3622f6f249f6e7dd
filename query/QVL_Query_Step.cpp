#include "query/QVL_Query_Step.h"

#include "core/QVL_Error.h"
#include "core/QVL_ErrorDisplay.h"
#include "query/QVL_Card_Return.h"
#include "query/QVL_Query_Step_Options.h"
#include "query/QVL_Query_Timer_Qt.h"

TQVL_Query_Step::TQVL_Query_Step(const TQVL_Query_Hooks& queryHooks, const TQVL_Query_Random& queryRandom,
                                 const TQVL_Query_TimerFactory& queryTimerFactory)
    : hooks(queryHooks), random(queryRandom), timerFactory(queryTimerFactory)
{
}

TQVL_Query_Step::~TQVL_Query_Step()
{
    // A destructor cannot raise.
    if (!Idle)
        TQVL_ErrorDisplay::Current().ShowError(QStringLiteral("Cannot free step when its still running!"));
}

void TQVL_Query_Step::Start()
{
    if (!Idle || !Card || !Options)
        throw TQVL_Error(QStringLiteral("Assertion failure (QVL_Query_Step)"));
    begin(Options->direction != 0 ? Options->direction : 1 + random(2));
}

void TQVL_Query_Step::Resume(const State& state)
{
    if (!Idle || !state.Card || !Options)
        throw TQVL_Error(QStringLiteral("Assertion failure (QVL_Query_Step)"));
    Card = state.Card;
    EvalResult = state.EvalResult;
    SelfResult = state.SelfResult;
    begin(state.Direction);
}

void TQVL_Query_Step::begin(int direction)
{
    Idle = false;
    const quint64 run = ++runNumber;
    Input.reset();
    SelfJudged = false;
    Overridden.reset();
    Direction = direction;
    phase = Phase::Question;
    if (OnQuestion) {
        OnQuestion();
        if (left(run))
            return;
    }
    QuestionShownMs = Clock ? Clock() : 0;
    AnsweredMs = QuestionShownMs;
    if (hooks.OnDisplayQuestion) {
        hooks.OnDisplayQuestion(*Card, Direction);
        // The window may already have ended the question phase, or the query.
        if (left(run) || phase != Phase::Question)
            return;
    }
    if (Options->questiondisplaytime)
        startTimer(Options->questiondisplaytimeintervall, Phase::Question, &TQVL_Query_Step::endQuestionPhase);
}

void TQVL_Query_Step::Stop()
{
    if (Idle)
        return;
    Input.reset();
    cancelTimer();
    phase = Phase::Done;
    Idle = true;
}

void TQVL_Query_Step::Clear()
{
    Card = nullptr;
    EvalResult = {};
    SelfResult = {};
}

void TQVL_Query_Step::DisplayQuestionEnd()
{
    // A second "Ergebnis" after the timer ended the question must not ask for
    // a second answer while the first one is shown.
    if (Idle || phase != Phase::Question)
        return;
    cancelTimer();
    endQuestionPhase();
}

void TQVL_Query_Step::DisplayAnswerEnd(bool right)
{
    if (Idle || phase != Phase::Answer)
        return;
    SelfResult = right ? TQVL_Query_StepResult{100, TQVL_StepCode::Right} : TQVL_Query_StepResult{0, TQVL_StepCode::Wrong};
    SelfJudged = Options->UseSelfEvaluation;
    cancelTimer();
    finish();
}

bool TQVL_Query_Step::CanOverrideVerdict() const
{
    return !Idle && phase == Phase::Answer && Options && Options->EvaluateAnswer && Options->ShowEvaluation &&
           !Options->UseSelfEvaluation &&
           !Overridden && (EvalResult.Code == TQVL_StepCode::Wrong || EvalResult.Code == TQVL_StepCode::AlmostRight);
}

bool TQVL_Query_Step::OverrideVerdict()
{
    if (!CanOverrideVerdict())
        return false;
    Overridden = EvalResult;
    EvalResult = {100, TQVL_StepCode::Right};
    SelfResult = EvalResult;
    return true;
}

void TQVL_Query_Step::endQuestionPhase()
{
    const quint64 run = runNumber;
    AnsweredMs = Clock ? Clock() : 0;
    phase = Phase::Requested;
    if (Options->UserInputRequired) {
        if (!hooks.OnGetUserInput)
            throw TQVL_Error(QStringLiteral("User-Input requiered but no handler available!"));
        std::unique_ptr<TQVL_Card_Return> answer = hooks.OnGetUserInput(*Card);
        if (left(run))
            return;
        Input = std::move(answer);
        if (!Input)
            throw TQVL_Error(QStringLiteral("No User-Input initialized!"));
    }
    if (Options->EvaluateAnswer) {
        if (!Input)
            throw TQVL_Error(QStringLiteral("Cannot compute NIL UserInput"));
        Input->Evaluate(EvalResult, Direction, *Options->evaluation);
        SelfResult = EvalResult;
    }
    phase = Phase::Answer;
    if (hooks.OnDisplayAnswer) {
        hooks.OnDisplayAnswer({*Card, Direction, EvalResult, Options->ShowEvaluation, Options->AskSelfEvaluation,
                               Options->ShowUserAnswer, Input.get(), Options->sounds});
        if (left(run) || phase != Phase::Answer)
            return;
    }
    if (Options->AskSelfEvaluation && hooks.OnSelfEvaluation) {
        hooks.OnSelfEvaluation();
        if (left(run) || phase != Phase::Answer)
            return;
    }
    if (Options->answerdisplaytime)
        startTimer(Options->answerdisplaytimeintervall, Phase::Answer, &TQVL_Query_Step::finish);
}

void TQVL_Query_Step::finish()
{
    FinalResult = Options->UseSelfEvaluation ? SelfResult : EvalResult;
    // The window may still read the answer while the step is counted.
    const std::unique_ptr<TQVL_Card_Return> answer = std::move(Input);
    Stop();
    if (OnFinished)
        OnFinished();
}

void TQVL_Query_Step::startTimer(int ms, Phase timedPhase, void (TQVL_Query_Step::*action)())
{
    if (!Timer)
        Timer = timerFactory ? timerFactory() : std::make_unique<TQVL_Query_Timer_Qt>();
    const quint64 run = runNumber;
    Timer->Start(ms, [this, run, timedPhase, action] {
        if (left(run) || phase != timedPhase)
            return;
        (this->*action)();
    });
}

void TQVL_Query_Step::cancelTimer()
{
    if (Timer)
        Timer->Cancel();
}
