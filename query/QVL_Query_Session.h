#pragma once

#include "query/QVL_Query_Hooks.h"
#include "query/QVL_Query_Timer.h"

#include <QtGlobal>

#include <functional>
#include <memory>
#include <vector>

class TQVL_Query_Card;
class TQVL_Query_Session_Options;
class TQVL_Query_Turn;

// One exercise phase: runs rounds over `List`, shrinking it after every round
// (by default to the cards answered wrongly) until it is empty. Owned by the
// query and reused for every phase; calls the query back through OnFinished.
class TQVL_Query_Session
{
public:
    TQVL_Query_Session(const TQVL_Query_Hooks& queryHooks, const TQVL_Query_Random& queryRandom,
                       const TQVL_Query_TimerFactory& queryTimerFactory);
    ~TQVL_Query_Session();
    TQVL_Query_Session(const TQVL_Query_Session&) = delete;
    TQVL_Query_Session& operator=(const TQVL_Query_Session&) = delete;

    // Clears the phase counts of the entries in `List` and starts the first round.
    void Start();
    // Stops the running round and marks the phase idle; nothing when idle.
    void Stop();
    // Forgets the cards of an idle phase, its round's and its step's.
    void Clear();
    void DisplayQuestionEnd();
    void DisplayAnswerEnd(bool right);
    bool IsRunning() const { return !Idle; }

    // The phase's counts including the round that is still being counted.
    qint32 GetQueried() const;
    qint32 GetRight() const;

    std::unique_ptr<TQVL_Query_Turn> Turn;
    std::vector<TQVL_Query_Card*> List;
    TQVL_Query_Session_Options* Options = nullptr;
    // The phase's number within the query, from 1.
    int Number = 0;
    int TurnCount = 0;
    // Counts of the rounds already added.
    qint32 Queried = 0;
    qint32 Right = 0;
    bool Idle = true;

    // The query takes over when the list is empty; called with the phase already stopped.
    std::function<void()> OnFinished;

    // What the phase is at one moment of a running phase, for undoing an answer.
    struct State
    {
        std::vector<TQVL_Query_Card*> List;
        int Number = 0;
        int TurnCount = 0;
        qint32 Queried = 0;
        qint32 Right = 0;
        bool TurnPending = false;
    };
    State Saved() const { return {List, Number, TurnCount, Queried, Right, turnPending}; }
    // The phase running again as it was at `state`; its round is restored by the caller.
    void Restore(const State& state);

private:
    void startTurn();
    void turnEnded();
    bool left(quint64 run) const { return Idle || run != runNumber; }

    const TQVL_Query_Hooks& hooks;
    const TQVL_Query_Random& random;
    // The round's counts are not yet part of Queried and Right.
    bool turnPending = false;
    quint64 runNumber = 0;
};
