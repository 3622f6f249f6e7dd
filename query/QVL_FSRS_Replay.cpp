#include "query/QVL_FSRS_Replay.h"

#include "query/QVL_Result_Card.h"

#include <algorithm>

TQVL_FSRS_Rating TQVL_FSRS_Replay::RatingOf(TQVL_ReviewVerdict verdict)
{
    switch (verdict) {
    case TQVL_ReviewVerdict::Right:
    case TQVL_ReviewVerdict::SelfRight:
        return TQVL_FSRS_Rating::Good;
    case TQVL_ReviewVerdict::AlmostRight:
        return TQVL_FSRS_Rating::Hard;
    case TQVL_ReviewVerdict::Wrong:
    case TQVL_ReviewVerdict::SelfWrong:
        return TQVL_FSRS_Rating::Again;
    }
    return TQVL_FSRS_Rating::Again;
}

TQVL_FSRS_Rating TQVL_FSRS_Replay::RatingOf(const TQVL_ReviewLog_Entry& entry)
{
    return entry.Overridden ? TQVL_FSRS_Rating::Good : RatingOf(entry.Verdict);
}

void TQVL_FSRS_Replay::Replay(const std::vector<TQVL_ReviewLog_Entry>& entries, const QString& unitUid)
{
    for (const TQVL_ReviewLog_Entry& entry : entries) {
        if (entry.UnitUid == unitUid)
            Apply(entry);
    }
}

void TQVL_FSRS_Replay::Apply(const TQVL_ReviewLog_Entry& entry)
{
    const TQVL_FSRS_Rating rating = RatingOf(entry);
    const auto found = Cards.find(entry.CardUid);
    if (found != Cards.end()) {
        *found = fsrs.Review(*found, entry.TimeMs, rating);
        return;
    }
    if (entry.StateBefore == TQVL_ReviewState::New || entry.Stability <= 0.0)
        Cards.insert(entry.CardUid, fsrs.Review(TQVL_FSRS_Card{}, entry.TimeMs, rating));
    else
        Cards.insert(entry.CardUid,
                     fsrs.Resume(entry.StateBefore, rating, entry.Stability, entry.Difficulty, entry.TimeMs));
}

const TQVL_FSRS_Card* TQVL_FSRS_Replay::Find(qint32 cardUid) const
{
    const auto found = Cards.constFind(cardUid);
    return found == Cards.constEnd() ? nullptr : &*found;
}

TQVL_FSRS_Card TQVL_FSRS_Replay::Current(qint32 cardUid, const TQVL_Result_Card* record) const
{
    if (const TQVL_FSRS_Card* card = Find(cardUid))
        return *card;
    return record ? Seed(*record, fsrs) : TQVL_FSRS_Card{};
}

bool TQVL_FSRS_Replay::IsDue(const TQVL_FSRS_Card& card, TQVL_DateTime referenceDate)
{
    if (card.State == TQVL_ReviewState::New)
        return true;
    const QDateTime nextDay = QDateTime(referenceDate.Date().addDays(1), QTime(0, 0));
    return card.DueMs < nextDay.toMSecsSinceEpoch();
}

TQVL_DateTime TQVL_FSRS_Replay::DueDate(const TQVL_FSRS_Card& card, TQVL_DateTime now)
{
    if (card.State == TQVL_ReviewState::New)
        return now;
    return TQVL_DateTime::FromDateTime(QDateTime::fromMSecsSinceEpoch(card.DueMs));
}

bool TQVL_FSRS_Replay::IsDue(qint32 cardUid, const TQVL_Result_Card* record, TQVL_DateTime referenceDate) const
{
    return IsDue(Current(cardUid, record), referenceDate);
}

qint64 TQVL_FSRS_Replay::ToMs(TQVL_DateTime dateTime)
{
    return dateTime.ToDateTime().toMSecsSinceEpoch();
}

TQVL_FSRS_Card TQVL_FSRS_Replay::Seed(const TQVL_Result_Card& record, const TQVL_FSRS& fsrs)
{
    TQVL_FSRS_Card card;
    if (record.all_queried <= 0 || record.lastquery.IsEmpty())
        return card;
    const int interval = TQVL_Result_Card::StageInterval(record.stage);
    card.State = interval > 0 ? TQVL_ReviewState::Review : TQVL_ReviewState::Relearning;
    card.Stability = interval > 0 ? double(interval) : fsrs.InitStability(TQVL_FSRS_Rating::Again);
    const double wrong = double(std::clamp(record.all_queried - record.all_right, 0, record.all_queried));
    card.Difficulty = std::clamp(1.0 + 9.0 * wrong / double(record.all_queried), 1.0, 10.0);
    card.LastReviewMs = ToMs(record.lastquery);
    card.ScheduledDays = interval;
    card.DueMs = card.LastReviewMs + qint64(interval) * 86400000;
    card.Reps = record.all_queried;
    return card;
}
