#include "query/QVL_Query.h"

#include "core/QVL_Error.h"
#include "core/QVL_ErrorDisplay.h"
#include "core/QVL_FileObject.h"
#include "core/QVL_System.h"
#include "query/QVL_Query_Card.h"
#include "query/QVL_Query_Card_ReduceList.h"
#include "query/QVL_Query_Cardpile.h"
#include "query/QVL_Query_Options.h"
#include "query/QVL_Query_ReviewRecorder.h"
#include "query/QVL_Query_Session.h"
#include "query/QVL_Query_Step.h"
#include "query/QVL_Query_Step_Options.h"
#include "query/QVL_Query_Turn.h"
#include "query/QVL_Statistics_LastQuery.h"

#include <QDateTime>

#include <chrono>
#include <exception>
#include <random>

namespace {

TQVL_Query_Random clockSeededRandom()
{
    const auto seed = std::uint32_t(std::random_device{}()) ^
                      std::uint32_t(std::chrono::steady_clock::now().time_since_epoch().count());
    auto engine = std::make_shared<std::mt19937>(seed);
    return [engine](int bound) { return bound <= 1 ? 0 : std::uniform_int_distribution<int>(0, bound - 1)(*engine); };
}

} // namespace

TQVL_Query::TQVL_Query()
    : Options(std::make_unique<TQVL_Query_Options>()), Cardpile(std::make_unique<TQVL_Query_Cardpile>(*this)),
      Random(clockSeededRandom()), Recorder(std::make_unique<TQVL_Query_ReviewRecorder>())
{
    Session = std::make_unique<TQVL_Query_Session>(*this, Random, TimerFactory);
    Session->OnFinished = [this] { sessionEnded(); };
    Session->Turn->OnCounted = [this](TQVL_Query_Card& entry) { answerCounted(entry); };
    Session->Turn->Step->OnQuestion = [this] { noteUndoPoint(); };
    Session->Turn->Step->Clock = [this] {
        if (SteadyMs)
            return SteadyMs();
        return qint64(std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now().time_since_epoch())
                          .count());
    };
}

TQVL_Query::~TQVL_Query()
{
    if (hookHandle)
        hookHandle->detach();
    // A destructor cannot raise: report, and end the levels without storing anything.
    if (!Idle) {
        TQVL_ErrorDisplay::Current().ShowError(QStringLiteral("Cannot free query when its still running!"));
        Session->Stop();
        Idle = true;
    }
}

TQVL_Query_HookHandle TQVL_Query::InstallHooks(TQVL_Query_Hooks hooks)
{
    if (hookHandle)
        hookHandle->detach();
    static_cast<TQVL_Query_Hooks&>(*this) = std::move(hooks);
    return TQVL_Query_HookHandle(this);
}

void TQVL_Query::Start()
{
    if (!Idle)
        throw TQVL_Error(QStringLiteral("Assertion failure (QVL_Query)"));
    const TQVL_Query_ActiveUser user = ActiveUser ? ActiveUser() : TQVL_Query_ActiveUser{};
    if (!user.Profile || !user.Results)
        throw TQVL_Error(QStringLiteral("no active User"));
    if (Cardpile->isEmpty())
        throw TQVL_Error(QStringLiteral("Cannot make a turn on empty cardlist"));
    if (OnStarting)
        OnStarting();
    // The menu fills the pile before the options dialog may change this option.
    Cardpile->SetUseLastResults(Options->uselastresults);
    // Refused access leaves the profile read-only: then nothing is stored.
    user.Profile->RequestWriteAccess();
    QueriedTotal = 0;
    RightTotal = 0;
    SessionCount = 0;
    if (LastQuery)
        LastQuery->SelfEvaluated = Options->selfevaluation;
    Cardpile->SaveUnitListToStatistics();
    CardList = Cardpile->getCardList();
    Idle = false;
    ++runNumber;
    StartTime = TQVL_DateTime::Now();
    beginReviewLog(user);
    startSession();
}

void TQVL_Query::Stop()
{
    if (Idle)
        throw TQVL_Error(QStringLiteral("Assertion failure (QVL_Query)"));
    StopTime = TQVL_DateTime::Now();
    if (Session->IsRunning()) {
        QueriedTotal += Session->GetQueried();
        RightTotal += Session->GetRight();
        Session->Stop();
    }
    // A failed save must not leave a half-stopped query behind: the query ends
    // idle with its pile cleared, the results stay in the profile in memory.
    std::exception_ptr failure;
    bool stored = false;
    try {
        stored = storeResults();
    } catch (...) {
        failure = std::current_exception();
    }
    releaseWriteAccess();
    // At the end of every query the answers are on the disk.
    Recorder->End();
    questionPoint.reset();
    undoPoint.reset();
    Session->Clear();
    CardList.clear();
    Cardpile->Clear();
    Idle = true;
    if (failure)
        std::rethrow_exception(failure);
    if (stored && OnResultsStored)
        OnResultsStored();
}

void TQVL_Query::DisplayQuestionEnd()
{
    if (!Idle)
        Session->DisplayQuestionEnd();
}

void TQVL_Query::DisplayAnswerEnd(bool right)
{
    if (!Idle)
        Session->DisplayAnswerEnd(right);
}

TQVL_DateTime TQVL_Query::GetDuration() const
{
    const TQVL_DateTime end = Idle ? StopTime : TQVL_DateTime::Now();
    return TQVL_DateTime(end.Serial() - StartTime.Serial());
}

qint32 TQVL_Query::GetQueriedTotal() const
{
    return QueriedTotal + (Session->IsRunning() ? Session->GetQueried() : 0);
}

qint32 TQVL_Query::GetRightTotal() const
{
    return RightTotal + (Session->IsRunning() ? Session->GetRight() : 0);
}

qint32 TQVL_Query::GetSessionQueried() const
{
    if (!Session->IsRunning())
        throw TQVL_Error(QStringLiteral("No session running to get results for"));
    return Session->GetQueried();
}

qint32 TQVL_Query::GetSessionRight() const
{
    if (!Session->IsRunning())
        throw TQVL_Error(QStringLiteral("No session running to get results for"));
    return Session->GetRight();
}

void TQVL_Query::SetReferenceDate(TQVL_DateTime date)
{
    ReferenceDate = date;
    Cardpile->ReferenceDate = date;
}

void TQVL_Query::SetLongTermMode(bool longTermMode)
{
    LongTermMode = longTermMode;
    Cardpile->LongTermMode = longTermMode;
}

qint64 TQVL_Query::WholeSeconds(TQVL_DateTime duration)
{
    return TQVL_System::SecondsOfDay(duration);
}

void TQVL_Query::beginReviewLog(const TQVL_Query_ActiveUser& user)
{
    // Play mode and queries whose results are not kept leave no trace; a
    // read-only profile (another instance has it) never writes.
    if (!DeviceId || QueryType == TQVL_QueryType::Play || !Options->storeresults || !user.Profile->WriteAccess ||
        user.Profile->FileName.isEmpty())
        return;
    const QString device = DeviceId();
    if (!device.isEmpty())
        Recorder->Begin(user.Profile->FileName, device, *user.Results);
}

void TQVL_Query::noteUndoPoint()
{
    UndoPoint point;
    point.Cards.reserve(Cardpile->Cards.size());
    for (const auto& entry : Cardpile->Cards)
        point.Cards.emplace_back(entry.get(), *entry);
    point.CardList = CardList;
    point.SessionCount = SessionCount;
    point.RightTotal = RightTotal;
    point.QueriedTotal = QueriedTotal;
    point.Session = Session->Saved();
    point.Turn = Session->Turn->Saved();
    point.Step = Session->Turn->Step->Saved();
    questionPoint = std::move(point);
}

bool TQVL_Query::CanOverrideVerdict() const
{
    return !Idle && Session->Turn->Step->CanOverrideVerdict();
}

bool TQVL_Query::OverrideVerdict()
{
    return !Idle && Session->Turn->Step->OverrideVerdict();
}

bool TQVL_Query::CanUndoLastAnswer() const
{
    // Only while a question waits: an answer being shown has not been counted yet.
    const TQVL_Query_Step& step = *Session->Turn->Step;
    return !Idle && undoPoint && Session->IsRunning() && step.IsRunning() && step.IsAsking();
}

bool TQVL_Query::UndoLastAnswer()
{
    if (!CanUndoLastAnswer())
        return false;
    const UndoPoint point = std::move(*undoPoint);
    undoPoint.reset();
    questionPoint.reset();
    for (const auto& [entry, value] : point.Cards)
        *entry = value;
    CardList = point.CardList;
    SessionCount = point.SessionCount;
    RightTotal = point.RightTotal;
    QueriedTotal = point.QueriedTotal;
    Session->Restore(point.Session);
    Session->Turn->Restore(point.Turn);
    Recorder->UndoLast();
    Session->Turn->Step->Resume(point.Step);
    return true;
}

void TQVL_Query::answerCounted(TQVL_Query_Card& entry)
{
    undoPoint = std::move(questionPoint);
    questionPoint.reset();
    if (!Recorder->IsRecording())
        return;
    const TQVL_Query_Step& step = *Session->Turn->Step;
    TQVL_Query_ReviewRecorder::Answer answer{entry};
    answer.Result = step.FinalResult;
    answer.SelfJudged = step.SelfJudged;
    answer.Overridden = step.Overridden;
    answer.TimeMs = NowMs ? NowMs() : QDateTime::currentMSecsSinceEpoch();
    answer.AnswerMs = step.AnsweredMs - step.QuestionShownMs;
    answer.LongTermMode = LongTermMode;
    Recorder->Record(answer);
}

void TQVL_Query::startSession()
{
    Session->List = CardList;
    ++SessionCount;
    Session->Number = SessionCount;
    Session->Options = Options->session.get();
    Session->Start();
}

void TQVL_Query::sessionEnded()
{
    const quint64 run = runNumber;
    QueriedTotal += Session->Queried;
    RightTotal += Session->Right;
    Session->Stop();
    if (OnSessionEnd) {
        OnSessionEnd(SessionCount);
        if (left(run))
            return;
    }
    TQVL_Query_Card_ReduceList(Options->reducecardlisttyp, Options->reducecardlistby, false)
        .Reduce<TQVL_Query_Card>(
            CardList, [](const TQVL_Query_Card& e) { return qint64(e.PointValue); },
            [](const TQVL_Query_Card& e) { return e.LastAnswerRight; });
    if (CardList.size() >= 2) {
        startSession();
        return;
    }
    // The window learns that the query is over even when its results could not be saved.
    std::exception_ptr failure;
    try {
        Stop();
    } catch (...) {
        failure = std::current_exception();
    }
    if (OnQueryEnd)
        OnQueryEnd();
    if (failure)
        std::rethrow_exception(failure);
}

bool TQVL_Query::storeResults()
{
    if (LastQuery)
        LastQuery->ResultsStored = false;
    const TQVL_Query_ActiveUser user = ActiveUser ? ActiveUser() : TQVL_Query_ActiveUser{};
    if (!user.Profile || !user.Results)
        throw TQVL_Error(QStringLiteral("no active User"));
    if (!Options->storeresults || !user.Profile->WriteAccess ||
        (Options->onlystoreresultswheallqueried && SessionCount == 1))
        return false;
    const TQVL_DateTime duration(StopTime.Serial() - StartTime.Serial());
    // Counted before the save, so that the file holds the time together with the results.
    if (user.AllTimeQuerySeconds)
        *user.AllTimeQuerySeconds += WholeSeconds(duration);
    Cardpile->StoreResults(Options->Step().UseSelfEvaluation, duration);
    if (LastQuery)
        LastQuery->ResultsStored = true;
    return true;
}

void TQVL_Query::releaseWriteAccess()
{
    // Nothing more is written for this query, so the profile is not kept locked.
    const TQVL_Query_ActiveUser user = ActiveUser ? ActiveUser() : TQVL_Query_ActiveUser{};
    if (!user.Profile || !user.Profile->IsOpen || !user.Profile->WriteAccess)
        return;
    try {
        user.Profile->ReleaseWriteAccess();
    } catch (const TQVL_Error&) {
        // Keeping the access is harmless; the query's own outcome matters more.
    }
}
