// Writes a table of simulated review histories with what our scheduler makes
// of them, one JSON object per card, for the comparison with the reference
// implementation (fsrs_reference.mjs). Each review lists its time, grade, the
// retrievability just before it and the card after it.
#include "query/QVL_FSRS.h"

#include <cstdio>
#include <random>

namespace {

constexpr qint64 day = 86400000;
constexpr qint64 minute = 60000;
// 1 January 2025, 00:00 UTC.
constexpr qint64 start = 1735689600000;

TQVL_FSRS_Rating pick(std::mt19937& random, const TQVL_FSRS_Card& card, double r)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double x = unit(random);
    if (card.State == TQVL_ReviewState::Review) {
        if (unit(random) >= r)
            return TQVL_FSRS_Rating::Again;
        return x < 0.2 ? TQVL_FSRS_Rating::Hard : x < 0.9 ? TQVL_FSRS_Rating::Good : TQVL_FSRS_Rating::Easy;
    }
    return x < 0.2    ? TQVL_FSRS_Rating::Again
           : x < 0.35 ? TQVL_FSRS_Rating::Hard
           : x < 0.9  ? TQVL_FSRS_Rating::Good
                      : TQVL_FSRS_Rating::Easy;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: fsrs_histories <cards> <output.jsonl>\n");
        return 2;
    }
    const int cards = std::atoi(argv[1]);
    std::FILE* out = std::fopen(argv[2], "w");
    if (!out)
        return 1;
    const double retentions[] = {0.9, 0.7, 0.8, 0.85, 0.95, 0.97};
    std::mt19937 random(20250101);
    for (int c = 0; c < cards; ++c) {
        TQVL_FSRS::Parameters parameters;
        parameters.DesiredRetention = retentions[c % 6];
        const TQVL_FSRS fsrs(parameters);
        TQVL_FSRS_Card card;
        qint64 now = start + qint64(random() % 60) * day + qint64(random() % 1440) * minute;
        std::fprintf(out, "{\"card\":%d,\"retention\":%.17g,\"reviews\":[", c, parameters.DesiredRetention);
        for (int n = 0; now < start + 365 * day; ++n) {
            const double r = fsrs.Retrievability(card, now);
            const TQVL_FSRS_Rating rating = pick(random, card, r);
            card = fsrs.Review(card, now, rating);
            std::fprintf(out,
                         "%s{\"t\":%lld,\"g\":%d,\"r\":%.17g,\"s\":%.17g,\"d\":%.17g,\"state\":%d,\"days\":%d,"
                         "\"due\":%lld,\"step\":%d}",
                         n ? "," : "", (long long)now, int(rating), r, card.Stability, card.Difficulty, int(card.State),
                         card.ScheduledDays, (long long)card.DueMs, card.LearningStep);
            // Mostly on time give or take a few days, sometimes early the same
            // day (a same-day review of a card in review), at any time of day.
            const int roll = int(random() % 100);
            if (card.ScheduledDays == 0)
                now = card.DueMs + qint64(random() % 180) * minute;
            else if (roll < 10)
                now += 20 * minute + qint64(random() % 300) * minute;
            else
                now = std::max(now + minute, card.DueMs + (qint64(random() % 8) - 2) * day +
                                                 (qint64(random() % 1440) - 720) * minute);
        }
        std::fprintf(out, "]}\n");
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
