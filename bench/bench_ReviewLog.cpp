// Reading a review log of a year of daily use (100,000 answers), the FSRS
// replay of a storage of 10,000 cards from its log, and fitting the FSRS
// weights to that log ("Parameter an meine Antworten anpassen"), each against
// the reference of reading the same bytes, measured in the same run: ours and the
// reference alternate within each iteration, so drift of the machine hits
// both; "ratio" is the ratio of the summed times.
#include "core/QVL_SafeFile.h"
#include "query/QVL_FSRS.h"
#include "query/QVL_FSRS_Optimizer.h"
#include "query/QVL_FSRS_Replay.h"
#include "query/QVL_ReviewLog.h"
#include "query/QVL_ReviewLog_Writer.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace {

constexpr int answerCount = 100000;

class Log
{
public:
    static Log& Get()
    {
        static Log log;
        return log;
    }

    QString FileName() const
    {
        return folder.path() + QStringLiteral("/Anna.0123456789abcdef0123456789abcdef.reviews.csv");
    }
    qsizetype Size() const { return size; }

private:
    Log()
    {
        TQVL_ReviewLog_Writer writer;
        writer.SyncIntervalMs = 1 << 30;
        writer.Open(FileName());
        std::uint32_t seed = 4711;
        auto next = [&seed] {
            seed = seed * 1664525u + 1013904223u;
            return int(seed >> 8);
        };
        // 300 answers a day over a year, in four storages of 3,000 cards.
        for (int i = 0; i < answerCount; ++i) {
            TQVL_ReviewLog_Entry e;
            e.TimeMs = 1704096000000 + qint64(i) * 315000;
            e.Device = QStringLiteral("0123456789abcdef0123456789abcdef");
            e.UnitUid = QStringLiteral("{6F1C2A3B-0000-4000-8000-00000000000%1}").arg((i / 75) % 4);
            e.CardUid = next() % 3000;
            e.Verdict = TQVL_ReviewVerdict(next() % 5);
            e.AnswerMs = next() % 20000;
            e.StateBefore = TQVL_ReviewState(next() % 4);
            e.StageAfter = next() % 8;
            e.Stability = 0.1 + double(next() % 1000000) / 997.0;
            e.Difficulty = 1.0 + double(next() % 900000) / 100003.0;
            writer.Append(e);
        }
        writer.Close();
        size = TQVL_FileHandle::ReadWholeFile(FileName()).size();
    }

    QTemporaryDir folder;
    qsizetype size = 0;
};

double seconds(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

void BM_ReviewLogRead(benchmark::State& state)
{
    const QString fileName = Log::Get().FileName();
    double ours = 0, reference = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const TQVL_ReviewLog::Contents contents = TQVL_ReviewLog::Read(fileName);
        if (contents.Entries.size() != std::size_t(answerCount) || contents.DamagedLines != 0)
            std::abort();
        const auto t1 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(TQVL_FileHandle::ReadWholeFile(fileName).size());
        const auto t2 = std::chrono::steady_clock::now();
        ours += seconds(t0, t1);
        reference += seconds(t1, t2);
        state.SetIterationTime(seconds(t0, t1));
    }
    state.counters["reference_ms"] = 1000 * reference / double(state.iterations());
    state.counters["ratio"] = ours / reference;
    state.counters["MB"] = double(Log::Get().Size()) / 1e6;
}
BENCHMARK(BM_ReviewLogRead)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A storage of 10,000 cards learned over a year: every card answered when due,
// wrong about one time in eight, until the year is over.
class StorageLog
{
public:
    static StorageLog& Get()
    {
        static StorageLog log;
        return log;
    }

    static constexpr int cardCount = 10000;
    QString FileName() const
    {
        return folder.path() + QStringLiteral("/Bert.0123456789abcdef0123456789abcdef.reviews.csv");
    }
    const QString Unit = QStringLiteral("{6F1C2A3B-0000-4000-8000-0000000000AA}");
    std::size_t answers = 0;

private:
    StorageLog()
    {
        const TQVL_FSRS fsrs;
        std::vector<TQVL_ReviewLog_Entry> entries;
        std::uint32_t seed = 815;
        auto next = [&seed] {
            seed = seed * 1664525u + 1013904223u;
            return int(seed >> 8);
        };
        const qint64 start = 1704096000000;
        const qint64 end = start + 365LL * 86400000;
        for (int c = 0; c < cardCount; ++c) {
            TQVL_FSRS_Card card;
            qint64 now = start + qint64(c / 40) * 86400000 + 1000 * (c % 40);
            while (now < end) {
                TQVL_ReviewLog_Entry e;
                e.TimeMs = now;
                e.Device = QStringLiteral("0123456789abcdef0123456789abcdef");
                e.UnitUid = Unit;
                e.CardUid = c;
                e.Verdict = next() % 8 == 0 ? TQVL_ReviewVerdict::Wrong : TQVL_ReviewVerdict::Right;
                e.AnswerMs = next() % 20000;
                e.StateBefore = card.State;
                card = fsrs.Review(card, now, TQVL_FSRS_Replay::RatingOf(e.Verdict));
                e.StageAfter = 1;
                e.Stability = card.Stability;
                e.Difficulty = card.Difficulty;
                entries.push_back(e);
                now = std::max(card.DueMs, now + 60000);
            }
        }
        std::stable_sort(entries.begin(), entries.end(),
                         [](const auto& a, const auto& b) { return a.TimeMs < b.TimeMs; });
        TQVL_ReviewLog_Writer writer;
        writer.SyncIntervalMs = 1 << 30;
        writer.Open(FileName());
        for (const auto& e : entries)
            writer.Append(e);
        writer.Close();
        answers = entries.size();
    }

    QTemporaryDir folder;
};

void BM_FSRSReplayStorage(benchmark::State& state)
{
    const StorageLog& log = StorageLog::Get();
    const TQVL_FSRS fsrs;
    double ours = 0, reference = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        TQVL_FSRS_Replay replay(fsrs);
        replay.Replay(TQVL_ReviewLog::Read(log.FileName()).Entries, log.Unit);
        if (replay.Cards.size() != StorageLog::cardCount)
            std::abort();
        const auto t1 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(TQVL_FileHandle::ReadWholeFile(log.FileName()).size());
        const auto t2 = std::chrono::steady_clock::now();
        ours += seconds(t0, t1);
        reference += seconds(t1, t2);
        state.SetIterationTime(seconds(t0, t1));
    }
    state.counters["reference_ms"] = 1000 * reference / double(state.iterations());
    state.counters["ratio"] = ours / reference;
    state.counters["answers"] = double(log.answers);
}
BENCHMARK(BM_FSRSReplayStorage)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// What the settings dialog does: read the log, gather the storage's card histories, fit.
void BM_FSRSFitStorage(benchmark::State& state)
{
    const StorageLog& log = StorageLog::Get();
    double ours = 0, reference = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const TQVL_FSRS_Optimizer optimizer(TQVL_ReviewLog::Read(log.FileName()).Entries, log.Unit);
        const TQVL_FSRS_Optimizer::Result result = optimizer.Fit(TQVL_FSRS_Optimizer::Defaults());
        if (result.Histories < StorageLog::cardCount / 2 || result.LogLossAfter > result.LogLossBefore)
            std::abort();
        const auto t1 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(TQVL_FileHandle::ReadWholeFile(log.FileName()).size());
        const auto t2 = std::chrono::steady_clock::now();
        ours += seconds(t0, t1);
        reference += seconds(t1, t2);
        state.SetIterationTime(seconds(t0, t1));
        state.counters["loss_before"] = result.LogLossBefore;
        state.counters["loss_after"] = result.LogLossAfter;
    }
    state.counters["reference_ms"] = 1000 * reference / double(state.iterations());
    state.counters["ratio"] = ours / reference;
}
BENCHMARK(BM_FSRSFitStorage)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
