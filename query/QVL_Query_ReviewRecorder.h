#pragma once

#include "query/QVL_FSRS.h"
#include "query/QVL_Query_StepResult.h"
#include "query/QVL_Query_Timer.h"
#include "query/QVL_Result_Step.h"
#include "query/QVL_ReviewLog_Entry.h"

#include <QHash>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class TQVL_FSRS_Replay;
class TQVL_Query_Card;
class TQVL_Result_User;
class TQVL_ReviewLog_Writer;

// Writes the answers of one query to this device's review log of the
// profile. The state before each answer comes from replaying the profile's
// logs; a card of a long-term storage also gets its stage and its FSRS
// memory state after the answer, whichever method the storage uses, so that
// switching to FSRS later starts from the learner's real history. A log
// that cannot be read or written is reported once as a notice and the query
// goes on without it: the results in the profile do not depend on it.
class TQVL_Query_ReviewRecorder
{
public:
    TQVL_Query_ReviewRecorder();
    // Closes the log; a failure there is not raised.
    ~TQVL_Query_ReviewRecorder();
    TQVL_Query_ReviewRecorder(const TQVL_Query_ReviewRecorder&) = delete;
    TQVL_Query_ReviewRecorder& operator=(const TQVL_Query_ReviewRecorder&) = delete;

    // Opens the log of `profileFileName` on `deviceId` and reads what all
    // devices logged before. `results` (not owned) must outlive the recording.
    void Begin(const QString& profileFileName, const QString& deviceId, const TQVL_Result_User& results);
    // Flushes and closes the log; nothing when not recording.
    void End();
    bool IsRecording() const;

    // One counted answer of a query.
    struct Answer
    {
        const TQVL_Query_Card& Card;
        // What the ladder counted.
        TQVL_Query_StepResult Result = {};
        // The learner judged the answer himself.
        bool SelfJudged = false;
        // "Ich hatte recht": the check's verdict before the learner overrode it.
        std::optional<TQVL_Query_StepResult> Overridden = std::nullopt;
        qint64 TimeMs = 0;
        qint64 AnswerMs = 0;
        bool LongTermMode = false;
    };
    void Record(const Answer& answer);
    // Takes back the answer recorded last (an undo line in the log, the
    // replayed card as it was); false when there is none.
    bool UndoLast();
    // The answer recorded last can no longer be taken back.
    void ForgetLast() { last.reset(); }

    // Appends the steps a query is about to store into the results to this
    // device's step file of the profile, on the disk before the profile is
    // saved; nothing when no query is being recorded. When the file cannot be
    // written, a German notice says that the sync will miss this query: the
    // learner's results are still stored on this machine.
    void RecordSteps(std::vector<TQVL_Result_Step> steps) const;

    // How the log names the verdict of an answer the ladder counted as `result`.
    static TQVL_ReviewVerdict VerdictOf(TQVL_Query_StepResult result, bool selfJudged);

    // What was written last, for tests.
    const TQVL_ReviewLog_Entry* LastEntry() const { return last ? &last->Entry : nullptr; }

private:
    TQVL_FSRS_Replay& replayOf(const QString& unitUid);
    void fail(const QString& text);
    void scheduleFlush();

    std::unique_ptr<TQVL_ReviewLog_Writer> writer;
    // Always a Qt timer: the query's step timers may be manual ones that tests fire in order.
    std::unique_ptr<TQVL_Query_Timer> flushTimer;
    QString device;
    QString profileFile;
    const TQVL_Result_User* results = nullptr;
    // Every device's answers before the query.
    std::vector<TQVL_ReviewLog_Entry> history;
    QHash<QString, std::shared_ptr<TQVL_FSRS_Replay>> replays;
    struct Last
    {
        TQVL_ReviewLog_Entry Entry;
        // The replayed card before the answer; none for a card not seen before.
        std::optional<TQVL_FSRS_Card> Before;
    };
    std::optional<Last> last;
};
