#include "query/QVL_Query_ReviewRecorder.h"

#include "content/QVL_Card.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Error.h"
#include "core/QVL_Notices.h"
#include "query/QVL_FSRS_Replay.h"
#include "query/QVL_Query_Card.h"
#include "query/QVL_Query_Timer_Qt.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Steps.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "query/QVL_ReviewLog.h"
#include "query/QVL_ReviewLog_Writer.h"

TQVL_Query_ReviewRecorder::TQVL_Query_ReviewRecorder() = default;

TQVL_Query_ReviewRecorder::~TQVL_Query_ReviewRecorder()
{
    if (flushTimer)
        flushTimer->Cancel();
}

bool TQVL_Query_ReviewRecorder::IsRecording() const
{
    return writer && writer->IsOpen();
}

void TQVL_Query_ReviewRecorder::Begin(const QString& profileFileName, const QString& deviceId,
                                      const TQVL_Result_User& profileResults)
{
    End();
    results = &profileResults;
    device = deviceId;
    profileFile = profileFileName;
    replays.clear();
    last.reset();
    try {
        history = TQVL_ReviewLog::ReadProfile(profileFileName).Entries;
        writer = std::make_unique<TQVL_ReviewLog_Writer>();
        writer->Open(TQVL_ReviewLog::FileName(profileFileName, deviceId));
    } catch (const TQVL_Error& error) {
        fail(error.Message());
        return;
    }
    if (!flushTimer)
        flushTimer = std::make_unique<TQVL_Query_Timer_Qt>();
}

void TQVL_Query_ReviewRecorder::End()
{
    if (flushTimer)
        flushTimer->Cancel();
    last.reset();
    history.clear();
    replays.clear();
    if (!writer)
        return;
    try {
        writer->Close();
    } catch (const TQVL_Error& error) {
        writer.reset();
        fail(error.Message());
    }
    writer.reset();
}

void TQVL_Query_ReviewRecorder::fail(const QString& text)
{
    writer.reset();
    TQVL_Notices::Show(QStringLiteral("Die Antworten dieser Abfrage werden nicht protokolliert: %1").arg(text));
}

void TQVL_Query_ReviewRecorder::RecordSteps(std::vector<TQVL_Result_Step> steps) const
{
    // The step file does not depend on the review log: a log that could not be
    // opened must not take the steps with it.
    if (device.isEmpty() || profileFile.isEmpty() || steps.empty())
        return;
    for (TQVL_Result_Step& step : steps)
        step.Device = device;
    try {
        TQVL_Result_Steps::Append(TQVL_Result_Steps::FileName(profileFile, device), steps);
    } catch (const TQVL_Error& error) {
        TQVL_Notices::Show(
            QStringLiteral("Die Ergebnisse dieser Abfrage werden nicht mit anderen Rechnern abgeglichen: %1")
                .arg(error.Message()));
    }
}

TQVL_ReviewVerdict TQVL_Query_ReviewRecorder::VerdictOf(TQVL_Query_StepResult result, bool selfJudged)
{
    if (selfJudged)
        return result.IsRight() ? TQVL_ReviewVerdict::SelfRight : TQVL_ReviewVerdict::SelfWrong;
    switch (result.Code) {
    case TQVL_StepCode::NotEvaluated:
    case TQVL_StepCode::Right:
        return TQVL_ReviewVerdict::Right;
    case TQVL_StepCode::AlmostRight:
    case TQVL_StepCode::RightAfterHint:
        return TQVL_ReviewVerdict::AlmostRight;
    case TQVL_StepCode::Wrong:
    case TQVL_StepCode::MeaningMissing:
        return TQVL_ReviewVerdict::Wrong;
    }
    return TQVL_ReviewVerdict::Wrong;
}

TQVL_FSRS_Replay& TQVL_Query_ReviewRecorder::replayOf(const QString& unitUid)
{
    std::shared_ptr<TQVL_FSRS_Replay>& replay = replays[unitUid];
    if (!replay) {
        TQVL_FSRS::Parameters parameters;
        if (const TQVL_Result_Unit* unit = results->FindUnit(unitUid))
            parameters = unit->FSRSParameters();
        replay = std::make_shared<TQVL_FSRS_Replay>(TQVL_FSRS(parameters));
        replay->Replay(history, unitUid);
    }
    return *replay;
}

void TQVL_Query_ReviewRecorder::Record(const Answer& answer)
{
    if (!IsRecording())
        return;
    const TQVL_Unit& unit = *answer.Card.Unit;
    const qint32 uid = answer.Card.Card->Uid;
    const bool storage = unit.Typ == tLongTermStorage;
    const TQVL_Result_Unit* unitRecords = results->FindUnit(unit.Uid);
    const TQVL_Result_Card* record = unitRecords ? unitRecords->FindCard(uid) : nullptr;

    TQVL_ReviewLog_Entry entry;
    entry.TimeMs = answer.TimeMs;
    entry.Device = device;
    entry.UnitUid = unit.Uid;
    entry.CardUid = uid;
    if (answer.Overridden) {
        entry.Verdict = VerdictOf(*answer.Overridden, false);
        entry.Overridden = true;
    } else {
        entry.Verdict = VerdictOf(answer.Result, answer.SelfJudged);
    }
    entry.AnswerMs = qint32(std::clamp<qint64>(answer.AnswerMs, 0, std::numeric_limits<qint32>::max()));

    TQVL_FSRS_Replay& replay = replayOf(unit.Uid);
    // A lesson has no stage record to start from; its cards are new until answered.
    const TQVL_FSRS_Card before = replay.Current(uid, storage ? record : nullptr);
    entry.StateBefore = before.State;
    if (answer.LongTermMode) {
        // The stage the card gets when the query stops now, as the results will store it.
        TQVL_Result_Card projected(uid);
        projected.stage = record ? record->stage : 0;
        projected.UpdateStage(answer.Card.Queried, answer.Card.Right);
        entry.StageAfter = projected.stage;
    } else if (storage) {
        entry.StageAfter = record ? record->stage : 0;
    }
    if (storage) {
        const TQVL_FSRS_Card after =
            replay.Scheduler().Review(before, entry.TimeMs, TQVL_FSRS_Replay::RatingOf(entry));
        entry.Stability = after.Stability;
        entry.Difficulty = after.Difficulty;
    }

    try {
        writer->Append(entry);
    } catch (const TQVL_Error& error) {
        last.reset();
        fail(error.Message());
        return;
    }
    std::optional<TQVL_FSRS_Card> known;
    if (const TQVL_FSRS_Card* card = replay.Find(uid))
        known = *card;
    // As a later replay of the log will see it.
    replay.Apply(entry);
    last = Last{entry, known};
    scheduleFlush();
}

bool TQVL_Query_ReviewRecorder::UndoLast()
{
    if (!last || !IsRecording())
        return false;
    const Last undone = *last;
    last.reset();
    try {
        writer->AppendUndo(undone.Entry);
    } catch (const TQVL_Error& error) {
        fail(error.Message());
        return false;
    }
    TQVL_FSRS_Replay& replay = replayOf(undone.Entry.UnitUid);
    if (undone.Before)
        replay.Cards.insert(undone.Entry.CardUid, *undone.Before);
    else
        replay.Cards.remove(undone.Entry.CardUid);
    scheduleFlush();
    return true;
}

void TQVL_Query_ReviewRecorder::scheduleFlush()
{
    // The writer flushes by itself only when the next answer comes; a learner
    // who pauses must not leave his last answer unsynced for long.
    if (!flushTimer)
        return;
    flushTimer->Start(writer->SyncIntervalMs, [this] {
        if (!IsRecording())
            return;
        try {
            writer->Flush();
        } catch (const TQVL_Error& error) {
            fail(error.Message());
        }
    });
}
