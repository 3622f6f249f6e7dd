// The FSRS scheduler and its replay from the review log. The full comparison
// with the reference implementation over a year of simulated histories is the
// CTest FSRS.AgreesWithTheReferenceImplementation (fsrs_reference.sh); the
// table here pins one history with the reference's figures, so a change shows
// without Node.js too.
#include "query/QVL_FSRS.h"
#include "query/QVL_FSRS_Replay.h"
#include "query/QVL_Result_Card.h"

#include <gtest/gtest.h>

namespace {

constexpr qint64 minute = 60000;
constexpr qint64 day = 86400000;
// 1 January 2025, 08:00 UTC.
constexpr qint64 t0 = 1735718400000;

TQVL_ReviewLog_Entry answer(qint32 card, qint64 timeMs, TQVL_ReviewVerdict verdict,
                            TQVL_ReviewState before = TQVL_ReviewState::New)
{
    TQVL_ReviewLog_Entry e;
    e.TimeMs = timeMs;
    e.UnitUid = QStringLiteral("storage");
    e.CardUid = card;
    e.Verdict = verdict;
    e.StateBefore = before;
    return e;
}

} // namespace

TEST(FSRS, OneHistoryGivesTheReferenceFigures)
{
    // ts-fsrs 5.4.2, default parameters, retention 0.9, no fuzz, short-term on.
    struct Step
    {
        qint64 at;
        TQVL_FSRS_Rating rating;
        double r, s, d;
        TQVL_ReviewState state;
        int days;
        qint64 due;
    };
    using R = TQVL_FSRS_Rating;
    using S = TQVL_ReviewState;
    const Step steps[] = {
        {0, R::Good, 0, 2.3065, 2.11810397, S::Learning, 0, 600000},
        {10 * minute, R::Good, 1, 2.3065, 2.11121424, S::Review, 2, 173400000},
        {3 * day, R::Good, 0.90949326, 13.8358397, 2.1043314, S::Review, 14, 1468800000},
        {13 * day, R::Again, 0.92072213, 1.66689016, 7.38997579, S::Relearning, 0, 1123800000},
        {13 * day + 10 * minute, R::Good, 1, 1.69352908, 7.37781418, S::Review, 2, 1296600000},
        {14 * day, R::Hard, 1, 2.91572981, 8.24449923, S::Review, 3, 1468800000},
    };
    const TQVL_FSRS fsrs;
    TQVL_FSRS_Card card;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.at);
        EXPECT_NEAR(fsrs.Retrievability(card, t0 + step.at), step.r, 1e-8);
        card = fsrs.Review(card, t0 + step.at, step.rating);
        EXPECT_NEAR(card.Stability, step.s, 1e-8);
        EXPECT_NEAR(card.Difficulty, step.d, 1e-8);
        EXPECT_EQ(card.State, step.state);
        EXPECT_EQ(card.ScheduledDays, step.days);
        EXPECT_EQ(card.DueMs, t0 + step.due);
    }
}

TEST(FSRS, TheDesiredRetentionAndTheMaximumBoundTheInterval)
{
    TQVL_FSRS::Parameters p;
    // At the default retention the interval is the stability: that is what stability means.
    EXPECT_EQ(TQVL_FSRS(p).NextInterval(100.0), 100);
    p.DesiredRetention = 0.97;
    const int strict = TQVL_FSRS(p).NextInterval(100.0);
    p.DesiredRetention = 0.7;
    const int lax = TQVL_FSRS(p).NextInterval(100.0);
    EXPECT_LT(strict, 100);
    EXPECT_GT(lax, 100);
    p.MaximumInterval = 180;
    EXPECT_EQ(TQVL_FSRS(p).NextInterval(5000.0), 180);
    EXPECT_EQ(TQVL_FSRS(p).NextInterval(0.01), 1);
}

TEST(FSRS, ElapsedDaysAreCalendarDaysInUtc)
{
    const qint64 lateEvening = t0 + 15 * 60 * minute + 59 * minute; // 23:59 UTC
    EXPECT_EQ(TQVL_FSRS::DaysBetween(lateEvening, lateEvening + 2 * minute), 1);
    EXPECT_EQ(TQVL_FSRS::DaysBetween(t0, t0 + day - minute), 1);
    EXPECT_EQ(TQVL_FSRS::DaysBetween(t0 + day, t0), -1);
    EXPECT_EQ(TQVL_FSRS::DaysBetween(-1, 0), 1) << "days before 1970 count down, not towards zero";
}

TEST(FSRSReplay, VerdictsMapToGrades)
{
    EXPECT_EQ(TQVL_FSRS_Replay::RatingOf(TQVL_ReviewVerdict::Wrong), TQVL_FSRS_Rating::Again);
    EXPECT_EQ(TQVL_FSRS_Replay::RatingOf(TQVL_ReviewVerdict::AlmostRight), TQVL_FSRS_Rating::Hard);
    EXPECT_EQ(TQVL_FSRS_Replay::RatingOf(TQVL_ReviewVerdict::Right), TQVL_FSRS_Rating::Good);
    EXPECT_EQ(TQVL_FSRS_Replay::RatingOf(TQVL_ReviewVerdict::SelfRight), TQVL_FSRS_Rating::Good);
    EXPECT_EQ(TQVL_FSRS_Replay::RatingOf(TQVL_ReviewVerdict::SelfWrong), TQVL_FSRS_Rating::Again);
}

TEST(FSRSReplay, ReplayingALogGivesWhatTheAnswersGaveOneByOne)
{
    const TQVL_FSRS fsrs;
    std::vector<TQVL_ReviewLog_Entry> log = {
        answer(1, t0, TQVL_ReviewVerdict::Right),
        answer(2, t0 + minute, TQVL_ReviewVerdict::Wrong),
        answer(1, t0 + 10 * minute, TQVL_ReviewVerdict::AlmostRight, TQVL_ReviewState::Learning),
        answer(2, t0 + 11 * minute, TQVL_ReviewVerdict::SelfRight, TQVL_ReviewState::Learning),
        answer(1, t0 + 4 * day, TQVL_ReviewVerdict::Right, TQVL_ReviewState::Review),
    };
    TQVL_ReviewLog_Entry other = answer(1, t0 + 2 * day, TQVL_ReviewVerdict::Wrong);
    other.UnitUid = QStringLiteral("another storage");
    log.insert(log.begin() + 3, other);

    TQVL_FSRS_Replay replay(fsrs);
    replay.Replay(log, QStringLiteral("storage"));

    TQVL_FSRS_Card one = fsrs.Review({}, t0, TQVL_FSRS_Rating::Good);
    one = fsrs.Review(one, t0 + 10 * minute, TQVL_FSRS_Rating::Hard);
    one = fsrs.Review(one, t0 + 4 * day, TQVL_FSRS_Rating::Good);
    TQVL_FSRS_Card two = fsrs.Review({}, t0 + minute, TQVL_FSRS_Rating::Again);
    two = fsrs.Review(two, t0 + 11 * minute, TQVL_FSRS_Rating::Good);
    ASSERT_NE(replay.Find(1), nullptr);
    ASSERT_NE(replay.Find(2), nullptr);
    EXPECT_EQ(replay.Find(1)->Stability, one.Stability);
    EXPECT_EQ(replay.Find(1)->Difficulty, one.Difficulty);
    EXPECT_EQ(replay.Find(1)->DueMs, one.DueMs);
    EXPECT_EQ(replay.Find(2)->Stability, two.Stability);
    EXPECT_EQ(replay.Find(2)->DueMs, two.DueMs);
    EXPECT_EQ(replay.Cards.size(), 2);
}

TEST(FSRSReplay, ACardLearnedBeforeTheLogStartsFromItsStage)
{
    const TQVL_FSRS fsrs;
    TQVL_Result_Card record(7);
    record.stage = 4;
    record.all_queried = 10;
    record.all_right = 8;
    record.lastquery = TQVL_DateTime::FromParts(2025, 3, 1, 9, 0, 0);
    const TQVL_FSRS_Card seeded = TQVL_FSRS_Replay::Seed(record, fsrs);
    EXPECT_EQ(seeded.State, TQVL_ReviewState::Review);
    EXPECT_EQ(seeded.Stability, 30.0) << "the interval of stage 4";
    EXPECT_DOUBLE_EQ(seeded.Difficulty, 1.0 + 9.0 * 0.2);
    EXPECT_EQ(seeded.ScheduledDays, 30);
    // Due on the day its stage would make it due, not before.
    EXPECT_FALSE(TQVL_FSRS_Replay::IsDue(seeded, TQVL_DateTime::FromParts(2025, 3, 30, 12, 0, 0)));
    EXPECT_TRUE(TQVL_FSRS_Replay::IsDue(seeded, TQVL_DateTime::FromParts(2025, 3, 31, 0, 0, 0)));

    record.stage = 0;
    record.all_right = 0;
    const TQVL_FSRS_Card lapsed = TQVL_FSRS_Replay::Seed(record, fsrs);
    EXPECT_EQ(lapsed.State, TQVL_ReviewState::Relearning);
    EXPECT_EQ(lapsed.Stability, fsrs.InitStability(TQVL_FSRS_Rating::Again));
    EXPECT_EQ(lapsed.Difficulty, 10.0);
    EXPECT_TRUE(TQVL_FSRS_Replay::IsDue(lapsed, record.lastquery));

    TQVL_Result_Card unanswered(8);
    EXPECT_EQ(TQVL_FSRS_Replay::Seed(unanswered, fsrs).State, TQVL_ReviewState::New);

    // Its first logged answer carries the state the seed led to; the replay
    // goes on from there and from nothing else.
    const qint64 now = TQVL_FSRS_Replay::ToMs(TQVL_DateTime::FromParts(2025, 3, 31, 10, 0, 0));
    record.stage = 4;
    record.all_right = 8;
    const TQVL_FSRS_Card first = fsrs.Review(TQVL_FSRS_Replay::Seed(record, fsrs), now, TQVL_FSRS_Rating::Good);
    TQVL_ReviewLog_Entry logged = answer(7, now, TQVL_ReviewVerdict::Right, TQVL_ReviewState::Review);
    logged.Stability = first.Stability;
    logged.Difficulty = first.Difficulty;
    TQVL_FSRS_Replay replay(fsrs);
    replay.Apply(logged);
    replay.Apply(answer(7, now + 40 * day, TQVL_ReviewVerdict::Wrong, TQVL_ReviewState::Review));
    const TQVL_FSRS_Card expected = fsrs.Review(first, now + 40 * day, TQVL_FSRS_Rating::Again);
    EXPECT_EQ(replay.Current(7, &record).Stability, expected.Stability);
    EXPECT_EQ(replay.Current(7, &record).Difficulty, expected.Difficulty);
    EXPECT_EQ(replay.Current(7, &record).State, TQVL_ReviewState::Relearning);
}
