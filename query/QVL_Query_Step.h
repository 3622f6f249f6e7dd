#pragma once

#include "query/QVL_Query_Hooks.h"
#include "query/QVL_Query_StepResult.h"
#include "query/QVL_Query_Timer.h"

#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>

class TQVL_Card_Return;
class TQVL_Query_Card;
class TQVL_Query_Step_Options;

// Asks one card: shows the question, ends the question phase (the learner or
// a timer), gets the answer object from the window and lets it judge itself,
// shows the answer and ends the answer phase (the learner, with his own
// verdict, or a timer). Then it calls its round back through OnFinished.
// Owned by the round and reused for every card of every round.
class TQVL_Query_Step
{
public:
    TQVL_Query_Step(const TQVL_Query_Hooks& queryHooks, const TQVL_Query_Random& queryRandom,
                    const TQVL_Query_TimerFactory& queryTimerFactory);
    ~TQVL_Query_Step();
    TQVL_Query_Step(const TQVL_Query_Step&) = delete;
    TQVL_Query_Step& operator=(const TQVL_Query_Step&) = delete;

    // Asks `Card` with `Options`; requires the step to be idle.
    void Start();
    // What a step is as its question is shown, for undoing an answer.
    struct State
    {
        TQVL_Query_Card* Card = nullptr;
        int Direction = 0;
        TQVL_Query_StepResult EvalResult;
        TQVL_Query_StepResult SelfResult;
    };
    State Saved() const { return {Card, Direction, EvalResult, SelfResult}; }
    // Asks the card of `state` again in its direction, with the verdicts it had then.
    void Resume(const State& state);
    // Frees the answer, cancels the timer, marks the step idle; nothing when idle.
    void Stop();
    // Forgets the card and the verdicts of an idle step.
    void Clear();
    // The learner asks for the result; ignored outside the question phase.
    void DisplayQuestionEnd();
    // The learner closed the answer, with his own verdict; ignored outside the answer phase.
    void DisplayAnswerEnd(bool right);
    // "Ich hatte recht": while the answer is shown, a wrong or almost-right
    // verdict of the check counts as right. False (and nothing changes) when
    // no such verdict is shown or the learner judges his answers himself.
    bool OverrideVerdict();
    // Whether OverrideVerdict would take the verdict shown now.
    bool CanOverrideVerdict() const;
    bool IsRunning() const { return !Idle; }
    // The question is shown and no answer asked for yet.
    bool IsAsking() const { return !Idle && phase == Phase::Question; }

    TQVL_Query_Step_Options* Options = nullptr;
    TQVL_Query_Card* Card = nullptr;
    // 1 foreign -> native, 2 native -> foreign.
    int Direction = 0;
    std::unique_ptr<TQVL_Card_Return> Input;
    TQVL_Query_StepResult EvalResult;
    TQVL_Query_StepResult SelfResult;
    TQVL_Query_StepResult FinalResult;
    // Made when first needed and kept: a timer is never destroyed while its action may run.
    std::unique_ptr<TQVL_Query_Timer> Timer;
    bool Idle = true;
    // The learner gave his own verdict in this step.
    bool SelfJudged = false;
    // The check's verdict the learner overrode in this step.
    std::optional<TQVL_Query_StepResult> Overridden;
    // Milliseconds of Clock when the question was shown and when the learner asked for the result.
    qint64 QuestionShownMs = 0;
    qint64 AnsweredMs = 0;
    // A monotonic clock in milliseconds; empty reads 0.
    std::function<qint64()> Clock;

    // The question is about to be shown (the query notes what undo returns to).
    std::function<void()> OnQuestion;
    // The round counts the step. Called with the step already stopped; the
    // answer object stays alive until this returns.
    std::function<void()> OnFinished;

private:
    // Requested: the answer is being fetched and judged.
    enum class Phase
    {
        Question,
        Requested,
        Answer,
        Done
    };

    void begin(int direction);
    void endQuestionPhase();
    void finish();
    void startTimer(int ms, Phase phase, void (TQVL_Query_Step::*action)());
    void cancelTimer();
    // Whether the step was stopped or moved on to another card while a hook ran.
    bool left(quint64 run) const { return Idle || run != runNumber; }

    const TQVL_Query_Hooks& hooks;
    const TQVL_Query_Random& random;
    const TQVL_Query_TimerFactory& timerFactory;
    Phase phase = Phase::Done;
    quint64 runNumber = 0;
};
