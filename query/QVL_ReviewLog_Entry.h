#pragma once

#include <QString>
#include <QtGlobal>

// How an answer was judged, as the review log stores it.
enum class TQVL_ReviewVerdict : quint8
{
    Right,
    AlmostRight,
    Wrong,
    // The learner judged his own answer.
    SelfRight,
    SelfWrong,
};

// Where a card stood before an answer: the four states of the memory model.
enum class TQVL_ReviewState : quint8
{
    New,
    Learning,
    Review,
    Relearning,
};

// One answer of a query as one line of the review log.
struct TQVL_ReviewLog_Entry
{
    // When the answer was given, milliseconds since 1970 (UTC).
    qint64 TimeMs = 0;
    QString Device;
    QString UnitUid;
    qint32 CardUid = 0;
    TQVL_ReviewVerdict Verdict = TQVL_ReviewVerdict::Right;
    // The learner said "Ich hatte recht" to a wrong or almost-right verdict:
    // the answer counted as right. Verdict keeps what the check said.
    bool Overridden = false;
    // From showing the question to asking for the result.
    qint32 AnswerMs = 0;
    TQVL_ReviewState StateBefore = TQVL_ReviewState::New;
    // The long-term stage after the answer; -1 for a card of a lesson.
    qint32 StageAfter = -1;
    // The memory state after the answer; 0 when none was computed (a card of a lesson).
    double Stability = 0.0;
    double Difficulty = 0.0;

    friend bool operator==(const TQVL_ReviewLog_Entry&, const TQVL_ReviewLog_Entry&) = default;
};
