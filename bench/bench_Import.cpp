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
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iterator>
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

namespace {

// The worst a flashcard text export can hold for the reader: 16 MB of lines
// with two fields of 32,000 characters (as long as a field may be) made of
// "&" that never ends an entity, "&#x" followed by digits too many to be one,
// "<" that no ">" closes, or "[sound:" that no "]" closes. References in the
// same run, alternating with it within each iteration:
// - "reference": the same reader on the same layout with letters in place of
//   the worst characters, so "ratio" is what the content costs beyond its
//   length. Target: within 3x.
// - "ordinary": an ordinary export of the same size (words, a little HTML,
//   an entity here and there) through the same reader.
// - "plain read": the same bytes read into memory with read(), the floor no
//   reader goes below (decoding and cards cost many times that).
constexpr qsizetype worstCaseBytes = 16 * 1024 * 1024;
constexpr qsizetype worstCaseField = 32000;

const char* const worstCases[] = {"&", "&#x1234567", "<", "[sound:"};

QByteArray repeatedTo(const QByteArray& piece, qsizetype size)
{
    QByteArray bytes;
    bytes.reserve(size + piece.size());
    while (bytes.size() + piece.size() <= size)
        bytes += piece;
    return bytes;
}

QByteArray worstCase(const QByteArray& pattern)
{
    const QByteArray field = repeatedTo(pattern, worstCaseField);
    return repeatedTo(field + '\t' + field + '\n', worstCaseBytes);
}

QByteArray ordinaryDeck(qsizetype size)
{
    QByteArray bytes = "#separator:tab\n#html:true\n";
    for (int i = 0; bytes.size() < size; ++i)
        bytes += "the <b>house</b> number " + QByteArray::number(i) + " &amp; garden\tdas Haus&nbsp;Nummer " +
                 QByteArray::number(i) + "<br>mit Garten\n";
    bytes.resize(bytes.lastIndexOf('\n', size - 1) + 1);
    return bytes;
}

QString writeFile(const QTemporaryDir& folder, const char* name, const QByteArray& bytes)
{
    const QString path = folder.path() + QLatin1Char('/') + QString::fromLatin1(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
    return path;
}

// The plain read: the file's bytes into memory with read(), nothing else.
qsizetype plainRead(const QString& path, QByteArray& buffer)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        std::abort();
    qsizetype total = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data() + total, std::size_t(buffer.size() - total));
        if (got <= 0)
            break;
        total += got;
    }
    ::close(fd);
    return total;
}

void BM_ImportPlainTextWorstCase(benchmark::State& state)
{
    const char* pattern = worstCases[state.range(0)];
    QTemporaryDir folder;
    const QByteArray worst = worstCase(pattern);
    const QString worstPath = writeFile(folder, "worst.txt", worst);
    const QString lettersPath = writeFile(folder, "letters.txt", worstCase(QByteArray(int(std::strlen(pattern)), 'x')));
    const QString ordinaryPath = writeFile(folder, "ordinary.txt", ordinaryDeck(worst.size()));
    TQVL_Import import;
    import.Type = TQVL_Import_Type::itPlainText;
    QByteArray buffer(worst.size() + 1, '\0');
    std::vector<double> ours, reference, ordinary, plain;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const std::size_t cards = import.ReadFile(worstPath).Cards.size();
        const auto t1 = std::chrono::steady_clock::now();
        const std::size_t letterCards = import.ReadFile(lettersPath).Cards.size();
        const auto t2 = std::chrono::steady_clock::now();
        const std::size_t ordinaryCards = import.ReadFile(ordinaryPath).Cards.size();
        const auto t3 = std::chrono::steady_clock::now();
        const qsizetype read = plainRead(worstPath, buffer);
        const auto t4 = std::chrono::steady_clock::now();
        if (cards == 0 || letterCards != cards || ordinaryCards == 0 || read != worst.size())
            std::abort();
        ours.push_back(seconds(t0, t1));
        reference.push_back(seconds(t1, t2));
        ordinary.push_back(seconds(t2, t3));
        plain.push_back(seconds(t3, t4));
        state.SetIterationTime(seconds(t0, t1));
    }
    state.SetLabel(pattern);
    state.counters["median_ms"] = 1000 * median(ours);
    state.counters["reference_median_ms"] = 1000 * median(reference);
    state.counters["ratio"] = median(ours) / median(reference);
    state.counters["ordinary_median_ms"] = 1000 * median(ordinary);
    state.counters["ratio_to_ordinary"] = median(ours) / median(ordinary);
    state.counters["plain_read_ms"] = 1000 * median(plain);
    state.counters["ratio_to_plain_read"] = median(ours) / median(plain);
}
BENCHMARK(BM_ImportPlainTextWorstCase)
    ->DenseRange(0, int(std::size(worstCases)) - 1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace
