#include "query/QVL_FSRS.h"

#include "core/QVL_Error.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double minStability = 0.001;
constexpr double maxStability = 36500.0;
constexpr qint64 msPerDay = 86400000;
constexpr qint64 msPerMinute = 60000;

// Rounds halves up, as the reference's Math.round does (never half to even).
double roundHalfUp(double value)
{
    return std::floor(value + 0.5);
}

double round8(double value)
{
    return roundHalfUp(value * 1e8) / 1e8;
}

double clamp(double value, double low, double high)
{
    return std::min(std::max(value, low), high);
}

int grade(TQVL_FSRS_Rating rating)
{
    return int(rating);
}

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

} // namespace

TQVL_FSRS::TQVL_FSRS() : TQVL_FSRS(Parameters{}) {}

TQVL_FSRS::TQVL_FSRS(Parameters parameters) : params(std::move(parameters))
{
    if (!(params.DesiredRetention > 0.0 && params.DesiredRetention <= 1.0))
        throw TQVL_Error(QStringLiteral("Desired retention out of range"));
    decay = -params.W[20];
    factor = round8(std::exp(std::log(0.9) / decay) - 1.0);
    intervalModifier = round8((std::pow(params.DesiredRetention, 1.0 / decay) - 1.0) / factor);
}

int TQVL_FSRS::DaysBetween(qint64 fromMs, qint64 toMs)
{
    return int(floorDiv(toMs, msPerDay) - floorDiv(fromMs, msPerDay));
}

double TQVL_FSRS::ForgettingCurve(double elapsedDays, double stability) const
{
    return round8(std::pow(1.0 + factor * elapsedDays / stability, decay));
}

double TQVL_FSRS::InitStability(TQVL_FSRS_Rating rating) const
{
    return std::max(params.W[std::size_t(grade(rating) - 1)], 0.1);
}

double TQVL_FSRS::InitDifficulty(TQVL_FSRS_Rating rating) const
{
    return round8(params.W[4] - std::exp(double(grade(rating) - 1) * params.W[5]) + 1.0);
}

double TQVL_FSRS::NextDifficulty(double difficulty, TQVL_FSRS_Rating rating) const
{
    const double delta = -params.W[6] * double(grade(rating) - 3);
    // Linear damping: the closer to 10, the smaller the step.
    const double next = difficulty + round8(delta * (10.0 - difficulty) / 9.0);
    // Mean reversion towards the difficulty of a first "Easy".
    const double reverted = round8(params.W[7] * InitDifficulty(TQVL_FSRS_Rating::Easy) + (1.0 - params.W[7]) * next);
    return clamp(reverted, 1.0, 10.0);
}

double TQVL_FSRS::NextRecallStability(double difficulty, double stability, double retrievability,
                                      TQVL_FSRS_Rating rating) const
{
    const auto& w = params.W;
    const double hardPenalty = rating == TQVL_FSRS_Rating::Hard ? w[15] : 1.0;
    const double easyBonus = rating == TQVL_FSRS_Rating::Easy ? w[16] : 1.0;
    return round8(
        clamp(stability * (1.0 + std::exp(w[8]) * (11.0 - difficulty) * std::pow(stability, -w[9]) *
                                     (std::exp((1.0 - retrievability) * w[10]) - 1.0) * hardPenalty * easyBonus),
              minStability, maxStability));
}

double TQVL_FSRS::NextForgetStability(double difficulty, double stability, double retrievability) const
{
    const auto& w = params.W;
    return round8(clamp(w[11] * std::pow(difficulty, -w[12]) * (std::pow(stability + 1.0, w[13]) - 1.0) *
                            std::exp((1.0 - retrievability) * w[14]),
                        minStability, maxStability));
}

double TQVL_FSRS::NextShortTermStability(double stability, TQVL_FSRS_Rating rating) const
{
    const auto& w = params.W;
    const double increase = std::pow(stability, -w[19]) * std::exp(w[17] * (double(grade(rating) - 3) + w[18]));
    // A passed same-day review never lowers the stability.
    const double masked = rating >= TQVL_FSRS_Rating::Hard ? std::max(increase, 1.0) : increase;
    return round8(clamp(stability * masked, minStability, maxStability));
}

int TQVL_FSRS::NextInterval(double stability) const
{
    const double days = std::max(1.0, roundHalfUp(stability * intervalModifier));
    return int(std::min(days, double(params.MaximumInterval)));
}

TQVL_FSRS::Memory TQVL_FSRS::NextMemory(const TQVL_FSRS_Card& card, int elapsedDays, TQVL_FSRS_Rating rating,
                                        double retrievability) const
{
    if (card.Difficulty == 0.0 && card.Stability == 0.0)
        return {InitStability(rating), clamp(InitDifficulty(rating), 1.0, 10.0)};
    double stability;
    if (elapsedDays == 0 && params.EnableShortTerm) {
        stability = NextShortTermStability(card.Stability, rating);
    } else if (rating == TQVL_FSRS_Rating::Again) {
        const double afterLapse = NextForgetStability(card.Difficulty, card.Stability, retrievability);
        const double divisor = params.EnableShortTerm ? std::exp(params.W[17] * params.W[18]) : 1.0;
        stability = std::min(std::max(round8(card.Stability / divisor), minStability), afterLapse);
    } else {
        stability = NextRecallStability(card.Difficulty, card.Stability, retrievability, rating);
    }
    return {stability, NextDifficulty(card.Difficulty, rating)};
}

void TQVL_FSRS::applySteps(const TQVL_FSRS_Card& before, TQVL_FSRS_Card& next, TQVL_FSRS_Rating rating,
                           TQVL_ReviewState toState, qint64 nowMs) const
{
    const bool relearning = before.State == TQVL_ReviewState::Relearning || before.State == TQVL_ReviewState::Review;
    const std::vector<int>& steps = relearning ? params.RelearningStepsMinutes : params.LearningStepsMinutes;
    const int count = int(steps.size());
    const int step = std::max(0, before.LearningStep);
    double minutes = 0.0;
    int nextStep = 0;
    if (count > 0 && step < count) {
        if (before.State == TQVL_ReviewState::Review) {
            if (rating == TQVL_FSRS_Rating::Again)
                minutes = steps[std::size_t(step)];
        } else if (rating == TQVL_FSRS_Rating::Again) {
            minutes = steps[0];
        } else if (rating == TQVL_FSRS_Rating::Hard) {
            minutes = count == 1 ? roundHalfUp(steps[0] * 1.5) : roundHalfUp((steps[0] + steps[1]) / 2.0);
            nextStep = step;
        } else if (rating == TQVL_FSRS_Rating::Good && step + 1 < count) {
            minutes = steps[std::size_t(step + 1)];
            nextStep = step + 1;
        }
    }
    if (minutes > 0.0 && minutes < 1440.0) {
        next.LearningStep = nextStep;
        next.ScheduledDays = 0;
        next.State = toState;
        next.DueMs = nowMs + qint64(roundHalfUp(minutes)) * msPerMinute;
        return;
    }
    next.State = TQVL_ReviewState::Review;
    if (minutes >= 1440.0) {
        next.LearningStep = nextStep;
        next.DueMs = nowMs + qint64(roundHalfUp(minutes)) * msPerMinute;
        next.ScheduledDays = int(std::floor(minutes / 1440.0));
    } else {
        next.LearningStep = 0;
        next.ScheduledDays = NextInterval(next.Stability);
        next.DueMs = nowMs + qint64(next.ScheduledDays) * msPerDay;
    }
}

TQVL_FSRS_Card TQVL_FSRS::Review(const TQVL_FSRS_Card& card, qint64 nowMs, TQVL_FSRS_Rating rating) const
{
    // Answers of another device may carry a clock a little behind: never a negative span.
    const int elapsed = card.State != TQVL_ReviewState::New && card.LastReviewMs != 0
                            ? std::max(0, DaysBetween(card.LastReviewMs, nowMs))
                            : 0;
    TQVL_FSRS_Card current = card;
    current.LastReviewMs = nowMs;
    current.Reps += 1;

    if (card.State != TQVL_ReviewState::Review) {
        const double r = card.State == TQVL_ReviewState::New || card.Stability <= 0.0
                             ? 0.0
                             : ForgettingCurve(elapsed, card.Stability);
        TQVL_FSRS_Card next = current;
        const Memory memory = NextMemory(current, elapsed, rating, r);
        next.Stability = memory.Stability;
        next.Difficulty = memory.Difficulty;
        const TQVL_ReviewState toState = card.State == TQVL_ReviewState::New ? TQVL_ReviewState::Learning : card.State;
        applySteps(current, next, rating, toState, nowMs);
        return next;
    }

    const double r = ForgettingCurve(elapsed, current.Stability);
    TQVL_FSRS_Card next = current;
    const Memory memory = NextMemory(current, elapsed, rating, r);
    next.Stability = memory.Stability;
    next.Difficulty = memory.Difficulty;
    if (rating == TQVL_FSRS_Rating::Again) {
        applySteps(current, next, rating, TQVL_ReviewState::Relearning, nowMs);
        next.Lapses += 1;
        return next;
    }
    // Hard never waits longer than Good, Easy always longer than Good.
    const auto interval = [&](TQVL_FSRS_Rating g) {
        return NextInterval(g == rating ? memory.Stability : NextMemory(current, elapsed, g, r).Stability);
    };
    int hard = interval(TQVL_FSRS_Rating::Hard);
    int good = interval(TQVL_FSRS_Rating::Good);
    hard = std::min(hard, good);
    good = std::max(good, hard + 1);
    const int easy = std::max(interval(TQVL_FSRS_Rating::Easy), good + 1);
    next.ScheduledDays = rating == TQVL_FSRS_Rating::Hard ? hard : rating == TQVL_FSRS_Rating::Good ? good : easy;
    next.DueMs = nowMs + qint64(next.ScheduledDays) * msPerDay;
    next.State = TQVL_ReviewState::Review;
    next.LearningStep = 0;
    return next;
}

TQVL_FSRS_Card TQVL_FSRS::Resume(TQVL_ReviewState stateBefore, TQVL_FSRS_Rating rating, double stability,
                                 double difficulty, qint64 nowMs) const
{
    TQVL_FSRS_Card before;
    before.State = stateBefore;
    TQVL_FSRS_Card next;
    next.Stability = stability;
    next.Difficulty = difficulty;
    next.LastReviewMs = nowMs;
    next.Reps = 1;
    if (stateBefore == TQVL_ReviewState::Review && rating != TQVL_FSRS_Rating::Again) {
        next.State = TQVL_ReviewState::Review;
        next.ScheduledDays = NextInterval(stability);
        next.DueMs = nowMs + qint64(next.ScheduledDays) * msPerDay;
        return next;
    }
    const TQVL_ReviewState toState = stateBefore == TQVL_ReviewState::Review ? TQVL_ReviewState::Relearning
                                     : stateBefore == TQVL_ReviewState::New  ? TQVL_ReviewState::Learning
                                                                             : stateBefore;
    applySteps(before, next, rating, toState, nowMs);
    if (stateBefore == TQVL_ReviewState::Review)
        next.Lapses = 1;
    return next;
}

double TQVL_FSRS::Retrievability(const TQVL_FSRS_Card& card, qint64 nowMs) const
{
    if (card.State == TQVL_ReviewState::New || card.Stability <= 0.0)
        return 0.0;
    const qint64 days = std::max<qint64>(floorDiv(nowMs - card.LastReviewMs, msPerDay), 0);
    return ForgettingCurve(double(days), round8(card.Stability));
}
