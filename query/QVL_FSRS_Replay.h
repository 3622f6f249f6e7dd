#pragma once

#include "core/QVL_DateTime.h"
#include "query/QVL_FSRS.h"
#include "query/QVL_ReviewLog_Entry.h"

#include <QHash>
#include <QString>

#include <vector>

class TQVL_Result_Card;

// The FSRS cards of one long-term storage, replayed from the review log: the
// log is the truth, so every device that reads the same logs knows the same
// stability, difficulty and due date. A card answered before the log began
// starts from what its stage record knows (see Seed).
class TQVL_FSRS_Replay
{
public:
    // Keeps a copy of `scheduler`.
    explicit TQVL_FSRS_Replay(const TQVL_FSRS& scheduler) : fsrs(scheduler) {}

    // Wrong -> Again, almost right -> Hard, right -> Good; a self-judged answer as the learner judged it.
    static TQVL_FSRS_Rating RatingOf(TQVL_ReviewVerdict verdict);
    // An answer the learner overrode ("Ich hatte recht") counted as right: Good.
    static TQVL_FSRS_Rating RatingOf(const TQVL_ReviewLog_Entry& entry);

    // Applies, in their order, the answers of `entries` given to cards of `unitUid`.
    void Replay(const std::vector<TQVL_ReviewLog_Entry>& entries, const QString& unitUid);
    // Applies one answer. The first answer of a card that was not new continues
    // from the memory state logged with it (a card seeded from its record).
    void Apply(const TQVL_ReviewLog_Entry& entry);
    const TQVL_FSRS_Card* Find(qint32 cardUid) const;

    // The card before its next answer: as replayed; else seeded from `record`
    // when that shows answers; else new. `record` may be null.
    TQVL_FSRS_Card Current(qint32 cardUid, const TQVL_Result_Card* record) const;
    // Due on the calendar day of `referenceDate` (local time): a new card is,
    // any other when its due time falls before the next day begins.
    bool IsDue(qint32 cardUid, const TQVL_Result_Card* record, TQVL_DateTime referenceDate) const;
    static bool IsDue(const TQVL_FSRS_Card& card, TQVL_DateTime referenceDate);
    // When `card` falls due (local time): `now` for a new card, which is due at once.
    static TQVL_DateTime DueDate(const TQVL_FSRS_Card& card, TQVL_DateTime now);

    // A card learned with stages before the log began, in FSRS terms ("stage
    // carry-over"): the stage's interval in days is its stability (stage 0:
    // the stability of a first "Again"), the share of wrong answers makes the
    // difficulty (1 + 9 x wrong/answers), its last query the last review. It
    // is in review from stage 1, relearning at stage 0, and due when its
    // stage would make it due. A record without answers gives a new card.
    static TQVL_FSRS_Card Seed(const TQVL_Result_Card& record, const TQVL_FSRS& fsrs);

    // Local date-time and UTC milliseconds.
    static qint64 ToMs(TQVL_DateTime dateTime);

    QHash<qint32, TQVL_FSRS_Card> Cards;

    const TQVL_FSRS& Scheduler() const { return fsrs; }

private:
    TQVL_FSRS fsrs;
};
