#pragma once

#include "query/QVL_ReviewLog_Entry.h"

#include <QtGlobal>

#include <array>
#include <vector>

// The learner's grade of one answer.
enum class TQVL_FSRS_Rating : int
{
    Again = 1,
    Hard = 2,
    Good = 3,
    Easy = 4,
};

// What the scheduler knows of one card: its memory state (stability in days,
// difficulty 1-10), where it stands and when it is due. Times are
// milliseconds since 1970 (UTC).
struct TQVL_FSRS_Card
{
    TQVL_ReviewState State = TQVL_ReviewState::New;
    double Stability = 0.0;
    double Difficulty = 0.0;
    // Set once the card was answered.
    qint64 LastReviewMs = 0;
    qint64 DueMs = 0;
    // Days from the last review to the due date; 0 while in (re)learning steps.
    int ScheduledDays = 0;
    // The (re)learning step the card is in.
    int LearningStep = 0;
    int Reps = 0;
    int Lapses = 0;
};

// The FSRS-6 memory model and its scheduler with short-term (same-day)
// reviews and learning steps. Elapsed days count calendar days in UTC, and
// every intermediate value is rounded to eight decimals, as the reference
// implementation does, so that both give the same intervals. No fuzz: the
// same history always gives the same due date.
class TQVL_FSRS
{
public:
    struct Parameters
    {
        // The 21 published FSRS-6 default weights.
        std::array<double, 21> W = {0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194,
                                    0.001,  1.8722, 0.1666, 0.796,  1.4835, 0.0614, 0.2629,
                                    1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};
        double DesiredRetention = 0.9;
        int MaximumInterval = 36500;
        bool EnableShortTerm = true;
        std::vector<int> LearningStepsMinutes{1, 10};
        std::vector<int> RelearningStepsMinutes{10};
    };

    TQVL_FSRS();
    // Raises an internal error when the retention is not in (0, 1].
    explicit TQVL_FSRS(Parameters parameters);

    // The card after an answer graded `rating` at `nowMs`.
    TQVL_FSRS_Card Review(const TQVL_FSRS_Card& card, qint64 nowMs, TQVL_FSRS_Rating rating) const;
    // The card after an answer whose resulting memory state is known but not
    // the card before it (a card that was learned before the log began): the
    // state the answer leads to from `stateBefore`, due by `stability`.
    TQVL_FSRS_Card Resume(TQVL_ReviewState stateBefore, TQVL_FSRS_Rating rating, double stability, double difficulty,
                          qint64 nowMs) const;
    // The probability of recall at `nowMs` (whole days since the last review); 0 for a new card.
    double Retrievability(const TQVL_FSRS_Card& card, qint64 nowMs) const;

    // The formulas, for tests.
    double ForgettingCurve(double elapsedDays, double stability) const;
    double InitStability(TQVL_FSRS_Rating rating) const;
    double InitDifficulty(TQVL_FSRS_Rating rating) const;
    double NextDifficulty(double difficulty, TQVL_FSRS_Rating rating) const;
    double NextRecallStability(double difficulty, double stability, double retrievability,
                               TQVL_FSRS_Rating rating) const;
    double NextForgetStability(double difficulty, double stability, double retrievability) const;
    double NextShortTermStability(double stability, TQVL_FSRS_Rating rating) const;
    // Days until the recall probability falls to the desired retention, 1 to MaximumInterval.
    int NextInterval(double stability) const;
    // Calendar days (UTC) from one time to another.
    static int DaysBetween(qint64 fromMs, qint64 toMs);

    // The memory state after an answer `elapsedDays` after the last one, when
    // the card's recall probability was `retrievability`; a card without a
    // memory state (new) gets the initial one. Steps and intervals aside, this
    // is all an answer changes, so the parameter fitting replays with it.
    struct Memory
    {
        double Stability;
        double Difficulty;
    };
    Memory NextMemory(const TQVL_FSRS_Card& card, int elapsedDays, TQVL_FSRS_Rating rating,
                      double retrievability) const;

    const Parameters& GetParameters() const { return params; }

private:
    void applySteps(const TQVL_FSRS_Card& before, TQVL_FSRS_Card& next, TQVL_FSRS_Rating rating,
                    TQVL_ReviewState toState, qint64 nowMs) const;

    Parameters params;
    double decay;
    double factor;
    double intervalModifier;
};
