// Importing a CSV file of 50,000 rows as a new unit (reading and decoding the
// file, splitting it into fields, building the cards, writing the unit
// safely), against writing the same cards as a unit in the same run (the
// cards built from values already in memory, the same safe write). The two
// alternate within each iteration; the counters give the medians of both and
// the ratio of the medians. Target: within 2x.
#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "exchange/QVL_Import.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace {

constexpr int rows = 50000;

struct Fixture
{
    Fixture()
    {
        csvPath = folder.path() + QStringLiteral("/Gross.csv");
        QByteArray bytes;
        bytes.reserve(rows * 80);
        for (int i = 0; i < rows; ++i) {
            bytes += "Wort Nummer " + QByteArray::number(i) + " f\xC3\xBCr \xC3\x9C" "bungen;";
            bytes += i % 3 == 0 ? "Begriff " + QByteArray::number(i) : QByteArray();
            bytes += ";;word number " + QByteArray::number(i) + ";";
            bytes += i % 3 == 0 ? "term " + QByteArray::number(i) : QByteArray();
            bytes += ";;";
            bytes += i % 7 == 0 ? "\"Anmerkung; mit \"\"Zitat\"\"\"" : "";
            bytes += ";";
            bytes += i % 5 == 0 ? "beginnt mit w" : "";
            bytes += "\r\n";
        }
        QFile file(csvPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
        file.close();
        import.OutputFolder = folder.path();
        import.LangCodeHome = QStringLiteral("ger");
        import.LangCodeForeign = QStringLiteral("eng");
        values = import.ReadFile(csvPath).Cards;
        if (int(values.size()) != rows)
            std::abort();
    }
    QTemporaryDir folder;
    QString csvPath;
    TQVL_Import import;
    std::vector<TQVL_Card_Voc_Values> values;
};

double seconds(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

// The reference: the same cards written as a new unit.
void writeUnit(const Fixture& f, const QString& path)
{
    TQVL_Unit unit;
    unit.Typ = tVoc;
    unit.LangCodeHome = f.import.LangCodeHome;
    unit.LangCodeForeign = f.import.LangCodeForeign;
    for (const TQVL_Card_Voc_Values& card : f.values)
        card.ApplyTo(static_cast<TQVL_Card_Voc&>(*unit.Cards->NewCard(tVoc)));
    unit.NewFile(path);
    unit.CloseFile();
}

void BM_ImportCSV(benchmark::State& state)
{
    static Fixture f;
    const QString referencePath = f.folder.path() + QStringLiteral("/Referenz.qxu");
    std::vector<double> ours, reference;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        int count = 0;
        const QString written = f.import.ImportFile(f.csvPath, &count);
        const auto t1 = std::chrono::steady_clock::now();
        writeUnit(f, referencePath);
        const auto t2 = std::chrono::steady_clock::now();
        if (count != rows || !QFile::remove(written) || !QFile::remove(referencePath))
            std::abort();
        ours.push_back(seconds(t0, t1));
        reference.push_back(seconds(t1, t2));
        state.SetIterationTime(seconds(t0, t1));
    }
    state.counters["median_ms"] = 1000 * median(ours);
    state.counters["reference_median_ms"] = 1000 * median(reference);
    state.counters["ratio"] = median(ours) / median(reference);
}
BENCHMARK(BM_ImportCSV)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

} // namespace

namespace {

// Reading alone (file, decoding, fields, cards), without writing the unit.
void BM_ImportCSVRead(benchmark::State& state)
{
    static Fixture f;
    for (auto _ : state)
        benchmark::DoNotOptimize(f.import.ReadFile(f.csvPath).Cards.size());
}
BENCHMARK(BM_ImportCSVRead)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
