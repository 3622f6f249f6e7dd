#include "query/QVL_Query_Session.h"

#include "core/QVL_Error.h"
#include "core/QVL_ErrorDisplay.h"
#include "query/QVL_Query_Card.h"
#include "query/QVL_Query_Card_ReduceList.h"
#include "query/QVL_Query_Session_Options.h"
#include "query/QVL_Query_Turn.h"
#include "query/QVL_Query_Turn_Options.h"

#include <utility>

TQVL_Query_Session::TQVL_Query_Session(const TQVL_Query_Hooks& queryHooks, const TQVL_Query_Random& queryRandom,
                                       const TQVL_Query_TimerFactory& queryTimerFactory)
    : Turn(std::make_unique<TQVL_Query_Turn>(queryHooks, queryRandom, queryTimerFactory)), hooks(queryHooks),
      random(queryRandom)
{
    Turn->OnFinished = [this] { turnEnded(); };
}

TQVL_Query_Session::~TQVL_Query_Session()
{
    if (!Idle)
        TQVL_ErrorDisplay::Current().ShowError(QStringLiteral("Cannot free session when its still running!"));
}

void TQVL_Query_Session::Start()
{
    if (!Idle || !Options)
        throw TQVL_Error(QStringLiteral("Assertion failure (QVL_Query_Session)"));
    TurnCount = 0;
    Queried = 0;
    Right = 0;
    turnPending = false;
    for (TQVL_Query_Card* entry : List) {
        entry->SessionQueried = 0;
        entry->SessionRight = 0;
        entry->SessionPoints = 0;
    }
    Turn->Options = Options->turn.get();
    Idle = false;
    ++runNumber;
    startTurn();
}

void TQVL_Query_Session::Stop()
{
    if (Idle)
        return;
    Turn->Stop();
    Idle = true;
}

void TQVL_Query_Session::Clear()
{
    List.clear();
    Turn->Clear();
}

void TQVL_Query_Session::DisplayQuestionEnd()
{
    if (!Idle)
        Turn->DisplayQuestionEnd();
}

void TQVL_Query_Session::DisplayAnswerEnd(bool right)
{
    if (!Idle)
        Turn->DisplayAnswerEnd(right);
}

qint32 TQVL_Query_Session::GetQueried() const
{
    return Queried + (turnPending ? Turn->Queried : 0);
}

qint32 TQVL_Query_Session::GetRight() const
{
    return Right + (turnPending ? Turn->Right : 0);
}

void TQVL_Query_Session::startTurn()
{
    Turn->Items = List;
    if (Options->turn->mix) {
        const int n = int(Turn->Items.size());
        for (int i = 0; i < n; ++i)
            std::swap(Turn->Items[std::size_t(i)], Turn->Items[std::size_t(random(n))]);
    }
    ++TurnCount;
    Turn->Number = TurnCount;
    Turn->SessionNumber = Number;
    turnPending = true;
    Turn->Start();
}

void TQVL_Query_Session::turnEnded()
{
    const quint64 run = runNumber;
    if (hooks.OnTurnEnd) {
        hooks.OnTurnEnd(Turn->Number, int(List.size()));
        if (left(run))
            return;
    }
    Queried += Turn->Queried;
    Right += Turn->Right;
    turnPending = false;
    Turn->Stop();
    const TQVL_Query_Turn_Options& turnOptions = *Options->turn;
    TQVL_Query_Card_ReduceList(turnOptions.reducecardlisttyp, turnOptions.reducecardlistby, true)
        .Reduce<TQVL_Query_Card>(
            List, [](const TQVL_Query_Card& e) { return qint64(e.SessionPoints); },
            [](const TQVL_Query_Card& e) { return e.LastAnswerRight; });
    if (!List.empty()) {
        startTurn();
        return;
    }
    Stop();
    if (OnFinished)
        OnFinished();
}

void TQVL_Query_Session::Restore(const State& state)
{
    List = state.List;
    Number = state.Number;
    TurnCount = state.TurnCount;
    Queried = state.Queried;
    Right = state.Right;
    turnPending = state.TurnPending;
    Idle = false;
    // Whatever was under way belongs to the answer taken back.
    ++runNumber;
}
