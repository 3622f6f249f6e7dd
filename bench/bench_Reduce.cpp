// The ranking of the card-list reduction against std::sort of the same keys,
// and against the literal quadratic loop where that is still feasible.
#include "query/QVL_Query_Card_ReduceList.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

namespace {

std::vector<qint64> keysOf(std::size_t n)
{
    std::mt19937 random(1);
    std::vector<qint64> keys(n);
    // Point values of a real query: few distinct values, many ties.
    for (qint64& key : keys)
        key = std::uniform_int_distribution<int>(0, 400)(random);
    return keys;
}

void Ranking(benchmark::State& state)
{
    const std::vector<qint64> keys = keysOf(std::size_t(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ExchangeSortOrder(keys));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(Ranking)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void StdSortReference(benchmark::State& state)
{
    const std::vector<qint64> keys = keysOf(std::size_t(state.range(0)));
    for (auto _ : state) {
        std::vector<qint64> copy = keys;
        std::sort(copy.begin(), copy.end());
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(StdSortReference)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void LiteralLoop(benchmark::State& state)
{
    const std::vector<qint64> keys = keysOf(std::size_t(state.range(0)));
    for (auto _ : state) {
        std::vector<int> a(keys.size());
        for (std::size_t i = 0; i < a.size(); ++i)
            a[i] = int(i);
        for (std::size_t i = 0; i < a.size(); ++i)
            for (std::size_t j = 0; j < a.size(); ++j)
                if (keys[std::size_t(a[i])] < keys[std::size_t(a[j])])
                    std::swap(a[i], a[j]);
        benchmark::DoNotOptimize(a.data());
    }
}
BENCHMARK(LiteralLoop)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
