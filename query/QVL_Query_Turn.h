#pragma once

#include "query/QVL_Query_Hooks.h"
#include "query/QVL_Query_Timer.h"

#include <QtGlobal>

#include <functional>
#include <memory>
#include <vector>

class TQVL_Query_Card;
class TQVL_Query_Step;
class TQVL_Query_Turn_Options;

// One round: asks every card of `Items` once, one step per card, and counts
// the answers and points. Owned by its exercise phase and reused for every
// round; calls the phase back through OnFinished when the last card is counted.
class TQVL_Query_Turn
{
public:
    TQVL_Query_Turn(const TQVL_Query_Hooks& queryHooks, const TQVL_Query_Random& queryRandom,
                    const TQVL_Query_TimerFactory& queryTimerFactory);
    ~TQVL_Query_Turn();
    TQVL_Query_Turn(const TQVL_Query_Turn&) = delete;
    TQVL_Query_Turn& operator=(const TQVL_Query_Turn&) = delete;

    // Requires the round to be idle and `Items` not to be empty
    // ("Cannot make a turn on empty cardlist").
    void Start();
    // Stops the step and marks the round idle; nothing when idle.
    void Stop();
    // Forgets the cards of an idle round, and the step's.
    void Clear();
    void DisplayQuestionEnd();
    void DisplayAnswerEnd(bool right);
    bool IsRunning() const { return !Idle; }

    std::unique_ptr<TQVL_Query_Step> Step;
    std::vector<TQVL_Query_Card*> Items;
    // Position of the current card, -1 before the first.
    int Index = -1;
    TQVL_Query_Turn_Options* Options = nullptr;
    // The round's number within its phase and the phase's number, both from 1.
    int Number = 0;
    int SessionNumber = 0;
    qint32 Queried = 0;
    qint32 Right = 0;
    bool Idle = true;

    // The phase takes over after the last card; called with the round already stopped.
    std::function<void()> OnFinished;
    // An answer has been counted, before the window hears of it (the query's review log).
    std::function<void(TQVL_Query_Card& entry)> OnCounted;

    // What the round is at one moment of a running round, for undoing an answer.
    struct State
    {
        std::vector<TQVL_Query_Card*> Items;
        int Index = -1;
        int Number = 0;
        int SessionNumber = 0;
        qint32 Queried = 0;
        qint32 Right = 0;
    };
    State Saved() const { return {Items, Index, Number, SessionNumber, Queried, Right}; }
    // The round running again as it was at `state`, its step stopped; the caller starts the step.
    void Restore(const State& state);

private:
    void nextCard();
    void stepCounted();
    bool left(quint64 run) const { return Idle || run != runNumber; }

    const TQVL_Query_Hooks& hooks;
    quint64 runNumber = 0;
};
