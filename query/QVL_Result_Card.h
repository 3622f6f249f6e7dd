#pragma once

#include "core/QVL_DateTime.h"
#include "query/QVL_Result.h"

#include <memory>

// The user's history of one card of one unit, including its long-term storage
// stage. Created and owned by its TQVL_Result_Unit; the card uid is its key
// there and never changes.
class TQVL_Result_Card : public TQVL_Result
{
public:
    explicit TQVL_Result_Card(qint32 cardUid) : card_uid(cardUid) {}

    // Days a card of `stage` waits before it is due again: 0, 1, 3, 10, 30,
    // 100, 200, 300; stages above the table keep the last interval, stages
    // below it count as stage 0.
    static int StageInterval(qint32 stage);
    // Due when the days from lastquery to `referenceDate` reach the stage's
    // interval; a card never queried counts 0 days.
    bool IsDue(TQVL_DateTime referenceDate) const;
    // The rule for a card of a storage: a card without a record is due, as
    // the new record (stage 0, never queried) it would get is.
    static bool IsDue(const TQVL_Result_Card* record, TQVL_DateTime referenceDate);
    // The first moment from which IsDue holds: the last query plus the stage's
    // interval as DaysBetween counts it. A card never queried is due at `now`
    // when its stage waits no days, and never otherwise (an empty date).
    TQVL_DateTime DueDate(TQVL_DateTime now) const;
    // The same under the storage's rule: a card without a record is due at `now`.
    static TQVL_DateTime DueDate(const TQVL_Result_Card* record, TQVL_DateTime now);
    // The stage step of a long-term query: up one stage when more than half of
    // the answers were right, back to stage 0 otherwise; no answers change nothing.
    void UpdateStage(qint32 queried, qint32 right);

    // Reads a `card` element; raises TQVL_Error when an element is missing or a value does not convert.
    static std::unique_ptr<TQVL_Result_Card> FromXML(const TQVL_XMLElement& element);
    // Writes the children of an open `card` element.
    void WriteXML(TQVL_XMLWriter& writer) const;

    const qint32 card_uid;
    qint32 pointvalue = 0;
    TQVL_DateTime lastquery;
    qint32 stage = 0;
};
