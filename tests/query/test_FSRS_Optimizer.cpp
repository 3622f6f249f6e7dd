// Fitting the FSRS weights to a learner's log: histories generated from known
// weights (a simulated learner whose memory follows them, asked when the
// default weights schedule the card, a little late at times) must pull the
// initial stabilities towards the truth, and the log loss on the log never
// gets worse. Too few histories keep the weights in use.
#include "query/QVL_FSRS_Optimizer.h"
#include "query/QVL_FSRS_Replay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

using Weights = TQVL_FSRS_Optimizer::Weights;

const QString storage = QStringLiteral("storage");
// 1 January 2025, 08:00 UTC.
constexpr qint64 t0 = 1735718400000;
constexpr qint64 day = 86400000;

class Learner
{
public:
    Learner(const Weights& truth, std::uint32_t seed) : nature(parameters(truth)), rng(seed) {}

    // `cards` cards, each first seen on one of the first 60 days and asked until a year is over.
    std::vector<TQVL_ReviewLog_Entry> Learn(int cards)
    {
        std::vector<TQVL_ReviewLog_Entry> log;
        for (int c = 0; c < cards; ++c) {
            TQVL_FSRS_Card scheduled;
            TQVL_FSRS_Card memory;
            qint64 now = t0 + (c % 60) * day + qint64(uniform() * 36000000.0);
            for (int answer = 0; answer < 12 && now < t0 + 365 * day; ++answer) {
                TQVL_FSRS_Rating rating;
                if (answer == 0) {
                    const double u = uniform();
                    rating = u < 0.3 ? TQVL_FSRS_Rating::Again
                                     : (u < 0.45 ? TQVL_FSRS_Rating::Hard : TQVL_FSRS_Rating::Good);
                } else if (uniform() < nature.Retrievability(memory, now)) {
                    rating = uniform() < 0.15 ? TQVL_FSRS_Rating::Hard : TQVL_FSRS_Rating::Good;
                } else {
                    rating = TQVL_FSRS_Rating::Again;
                }
                TQVL_ReviewLog_Entry e;
                e.TimeMs = now;
                e.UnitUid = storage;
                e.CardUid = c;
                e.Verdict = rating == TQVL_FSRS_Rating::Again  ? TQVL_ReviewVerdict::Wrong
                            : rating == TQVL_FSRS_Rating::Hard ? TQVL_ReviewVerdict::AlmostRight
                                                               : TQVL_ReviewVerdict::Right;
                e.StateBefore = scheduled.State;
                log.push_back(e);
                scheduled = scheduler.Review(scheduled, now, rating);
                memory = nature.Review(memory, now, rating);
                // Asked when due, or up to half the interval later.
                now = std::max(scheduled.DueMs, now + 60000) +
                      qint64(uniform() * 0.5 * scheduled.ScheduledDays * double(day));
            }
        }
        std::stable_sort(log.begin(), log.end(), [](const auto& a, const auto& b) { return a.TimeMs < b.TimeMs; });
        return log;
    }

private:
    static TQVL_FSRS::Parameters parameters(const Weights& w)
    {
        TQVL_FSRS::Parameters p;
        p.W = w;
        return p;
    }
    // The generator's own output is fixed by the standard; the distributions are not.
    double uniform() { return double(rng() >> 5) / double(1u << 27); }

    const TQVL_FSRS scheduler;
    const TQVL_FSRS nature;
    std::mt19937 rng;
};

Weights withInitial(double again, double hard, double good)
{
    Weights w = TQVL_FSRS_Optimizer::Defaults();
    w[0] = again;
    w[1] = hard;
    w[2] = good;
    return w;
}

} // namespace

TEST(FSRSOptimizer, FittingMovesTheInitialStabilitiesTowardsTheTruthAndNeverWorsensTheLogLoss)
{
    const Weights defaults = TQVL_FSRS_Optimizer::Defaults();
    Weights slowForgetter = withInitial(1.5, 6.0, 12.0);
    slowForgetter[8] = 2.3;
    const struct
    {
        const char* name;
        Weights truth;
        int cards;
        TQVL_FSRS_Optimizer::TScope scope;
    } cases[] = {
        {"remembers better from the start", withInitial(1.0, 4.0, 9.0), 40,
         TQVL_FSRS_Optimizer::TScope::InitialStabilities},
        {"forgets faster from the start", withInitial(0.212, 0.3, 0.6), 50,
         TQVL_FSRS_Optimizer::TScope::InitialStabilities},
        {"a year of a larger storage", withInitial(1.0, 4.0, 9.0), 600, TQVL_FSRS_Optimizer::TScope::Extended},
        {"remembers better all along", slowForgetter, 400, TQVL_FSRS_Optimizer::TScope::Extended},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<TQVL_ReviewLog_Entry> log = Learner(c.truth, 4711).Learn(c.cards);
        const TQVL_FSRS_Optimizer optimizer(log, storage);
        ASSERT_GE(optimizer.HistoryCount(), TQVL_FSRS_Optimizer::MinHistories);
        const TQVL_FSRS_Optimizer::Result result = optimizer.Fit(defaults);
        EXPECT_EQ(result.Scope, c.scope);
        EXPECT_EQ(result.Histories, optimizer.HistoryCount());
        EXPECT_GT(result.Reviews, result.Histories);
        EXPECT_DOUBLE_EQ(result.LogLossBefore, optimizer.LogLoss(defaults));
        EXPECT_DOUBLE_EQ(result.LogLossAfter, optimizer.LogLoss(result.W));
        EXPECT_LT(result.LogLossAfter, result.LogLossBefore);
        // Automatic grading never gives "Easy": w3 has nothing to learn from but the order of the ratings.
        for (std::size_t r = 0; r < 3; ++r) {
            if (c.truth[r] == defaults[r])
                continue;
            EXPECT_LT(std::abs(std::log(result.W[r] / c.truth[r])), std::abs(std::log(defaults[r] / c.truth[r])))
                << "w" << r << " fitted " << result.W[r] << ", true " << c.truth[r];
        }
        for (std::size_t r = 1; r < 4; ++r)
            EXPECT_LE(result.W[r - 1], result.W[r]) << "a harder first rating starts less stable";
        EXPECT_EQ(TQVL_FSRS_Optimizer::Clamp(result.W), result.W) << "within the reference's bounds";
        if (c.scope == TQVL_FSRS_Optimizer::TScope::InitialStabilities) {
            EXPECT_TRUE(std::equal(result.W.begin() + 4, result.W.end(), defaults.begin() + 4)) << "the rest defaults";
        }

        // Fitting again from the fitted weights, or from the truth, never makes the figures worse.
        for (const Weights& current : {result.W, c.truth}) {
            const TQVL_FSRS_Optimizer::Result again = optimizer.Fit(current);
            EXPECT_LE(again.LogLossAfter, again.LogLossBefore);
            EXPECT_DOUBLE_EQ(again.LogLossBefore, optimizer.LogLoss(current));
            if (again.Scope == TQVL_FSRS_Optimizer::TScope::None) {
                EXPECT_EQ(again.W, current);
            }
        }
    }
}

TEST(FSRSOptimizer, TooFewHistoriesKeepTheWeightsInUse)
{
    std::vector<TQVL_ReviewLog_Entry> log = Learner(withInitial(1.0, 4.0, 9.0), 99).Learn(7);
    // A card learned before the log began has no first rating, and one answered
    // on one day only says nothing about forgetting: neither counts.
    TQVL_ReviewLog_Entry seeded;
    seeded.UnitUid = storage;
    seeded.CardUid = 100;
    seeded.StateBefore = TQVL_ReviewState::Review;
    seeded.Stability = 10.0;
    seeded.Difficulty = 5.0;
    seeded.TimeMs = t0;
    log.push_back(seeded);
    seeded.StateBefore = TQVL_ReviewState::Review;
    seeded.TimeMs = t0 + 12 * day;
    log.push_back(seeded);
    TQVL_ReviewLog_Entry oneDay = seeded;
    oneDay.CardUid = 101;
    oneDay.StateBefore = TQVL_ReviewState::New;
    log.push_back(oneDay);
    oneDay.StateBefore = TQVL_ReviewState::Learning;
    oneDay.TimeMs += 600000;
    log.push_back(oneDay);
    // Another storage's cards do not count either.
    for (TQVL_ReviewLog_Entry e : Learner(withInitial(1.0, 4.0, 9.0), 7).Learn(20)) {
        e.UnitUid = QStringLiteral("other");
        log.push_back(e);
    }
    std::stable_sort(log.begin(), log.end(), [](const auto& a, const auto& b) { return a.TimeMs < b.TimeMs; });

    const TQVL_FSRS_Optimizer optimizer(log, storage);
    EXPECT_EQ(optimizer.HistoryCount(), 7);
    Weights current = TQVL_FSRS_Optimizer::Defaults();
    current[2] = 5.0;
    const TQVL_FSRS_Optimizer::Result result = optimizer.Fit(current);
    EXPECT_EQ(result.Scope, TQVL_FSRS_Optimizer::TScope::None);
    EXPECT_EQ(result.W, current);
    EXPECT_EQ(result.LogLossAfter, result.LogLossBefore);
    EXPECT_GT(result.LogLossBefore, 0.0);

    const TQVL_FSRS_Optimizer empty({}, storage);
    EXPECT_EQ(empty.HistoryCount(), 0);
    EXPECT_EQ(empty.LogLoss(current), 0.0);
    EXPECT_EQ(empty.Fit(current).W, current);
}

TEST(FSRSOptimizer, TheLogLossIsTakenOverTheAnswersOnLaterDaysAsTheSchedulerReplaysThem)
{
    // One card: Good, Good ten minutes later (same day: no prediction), Again
    // three days later, Good two days after that.
    std::vector<TQVL_ReviewLog_Entry> log;
    const struct
    {
        qint64 at;
        TQVL_ReviewVerdict verdict;
    } answers[] = {{t0, TQVL_ReviewVerdict::Right},
                   {t0 + 600000, TQVL_ReviewVerdict::Right},
                   {t0 + 3 * day, TQVL_ReviewVerdict::Wrong},
                   {t0 + 5 * day, TQVL_ReviewVerdict::Right}};
    TQVL_FSRS_Card card;
    const TQVL_FSRS fsrs;
    double expected = 0.0;
    for (const auto& a : answers) {
        TQVL_ReviewLog_Entry e;
        e.UnitUid = storage;
        e.CardUid = 1;
        e.TimeMs = a.at;
        e.Verdict = a.verdict;
        e.StateBefore = card.State;
        log.push_back(e);
        const int elapsed = TQVL_FSRS::DaysBetween(card.LastReviewMs, a.at);
        if (card.State != TQVL_ReviewState::New && elapsed >= 1) {
            const double r = fsrs.ForgettingCurve(elapsed, card.Stability);
            expected += a.verdict == TQVL_ReviewVerdict::Wrong ? -std::log(1.0 - r) : -std::log(r);
        }
        card = fsrs.Review(card, a.at, TQVL_FSRS_Replay::RatingOf(e));
    }
    const TQVL_FSRS_Optimizer optimizer(log, storage);
    EXPECT_EQ(optimizer.HistoryCount(), 1);
    EXPECT_EQ(optimizer.ReviewCount(), 2);
    EXPECT_NEAR(optimizer.LogLoss(TQVL_FSRS_Optimizer::Defaults()), expected / 2.0, 1e-9);
}
