// Loading and saving a unit of 50,000 vocabulary cards, against references
// measured in the same run:
// - load: reading the file, parsing it with pugixml (the flags our reader
//   uses) and extracting the same header values and card fields into QStrings;
// - save: writing the same bytes to a new file in the same folder with
//   write() and fsync(). Our save also writes a new file and fsyncs it, then
//   renames it over the old one and fsyncs the folder; those two steps are
//   the price of never losing the file and are not in the reference.
// Ours and the reference alternate within each iteration, so drift of the
// machine hits both; the counters give the ratios of the summed times.
// Heap use is counted by interposing malloc and friends (the usable size of
// every block, so pugixml's pages, Qt's strings and our objects all count);
// "peak" is the highest heap in use while loading, "kept" what stays once the
// unit is loaded.
#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "core/QVL_SafeFile.h"
#include "core/QVL_XML.h"
#include "core/QVL_XMLStream.h"
#include "bench/ReferenceWrite.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <pugixml.hpp>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <vector>

// ---- heap counting ---------------------------------------------------------

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void __libc_free(void*);
}

namespace {

std::atomic<bool> counting{false};
std::atomic<long long> heapInUse{0};
std::atomic<long long> heapPeak{0};

void added(void* block)
{
    if (block && counting.load(std::memory_order_relaxed)) {
        const long long now = heapInUse.fetch_add(static_cast<long long>(malloc_usable_size(block))) +
                              static_cast<long long>(malloc_usable_size(block));
        long long peak = heapPeak.load();
        while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
        }
    }
}

void removed(void* block)
{
    if (block && counting.load(std::memory_order_relaxed))
        heapInUse.fetch_sub(static_cast<long long>(malloc_usable_size(block)));
}

// Counts from now on; heap use and peak start at 0.
void startCounting()
{
    heapInUse = 0;
    heapPeak = 0;
    counting = true;
}

} // namespace

// Blocks allocated before counting started and freed while counting make the
// figure lower, never higher; the measured operations allocate what they free.
extern "C" {
void* malloc(std::size_t size)
{
    void* block = __libc_malloc(size);
    added(block);
    return block;
}
void* calloc(std::size_t count, std::size_t size)
{
    void* block = __libc_calloc(count, size);
    added(block);
    return block;
}
void* realloc(void* old, std::size_t size)
{
    removed(old);
    void* block = __libc_realloc(old, size);
    added(block ? block : (size == 0 ? nullptr : old));
    return block;
}
void free(void* block)
{
    removed(block);
    __libc_free(block);
}
void* memalign(std::size_t alignment, std::size_t size)
{
    void* block = __libc_memalign(alignment, size);
    added(block);
    return block;
}
void* aligned_alloc(std::size_t alignment, std::size_t size)
{
    return memalign(alignment, size);
}
int posix_memalign(void** result, std::size_t alignment, std::size_t size)
{
    void* block = memalign(alignment, size);
    if (!block)
        return ENOMEM;
    *result = block;
    return 0;
}
}

// ---- the test unit ---------------------------------------------------------

namespace {

// QUORVEL_BENCH_CARDS sets a smaller size for profiling under callgrind.
int cardCount()
{
    const int fromEnvironment = qEnvironmentVariableIntValue("QUORVEL_BENCH_CARDS");
    return fromEnvironment > 0 ? fromEnvironment : 50000;
}

struct Fixture
{
    Fixture()
    {
        path = folder.path() + QStringLiteral("/Gross.qxu");
        copyPath = folder.path() + QStringLiteral("/Kopie.qxu");
        TQVL_Unit unit;
        unit.Typ = tVoc;
        unit.LangCodeHome = QStringLiteral("ger");
        unit.LangCodeForeign = QStringLiteral("eng");
        for (int i = 0, count = cardCount(); i < count; ++i) {
            auto* card = static_cast<TQVL_Card_Voc*>(unit.Cards->NewCard(tVoc));
            card->foreign1 = QStringLiteral("word number %1").arg(i);
            card->home1 = QStringLiteral("Wort Nummer %1 für Übungen").arg(i);
            if (i % 3 == 0) {
                card->foreign2 = QStringLiteral("term %1").arg(i);
                card->home2 = QStringLiteral("Begriff %1").arg(i);
            }
            if (i % 10 == 0)
                card->home3 = QStringLiteral("Ausdruck <%1>").arg(i);
            if (i % 5 == 0)
                card->hint = QStringLiteral("beginnt mit \"w\"");
            if (i % 7 == 0)
                card->note = QStringLiteral("Anmerkung & Beispiel: the word's use");
        }
        unit.NewFile(path);
        unit.CloseFile();
        bytes = TQVL_FileHandle::ReadWholeFile(path);
    }

    QTemporaryDir folder;
    QString path;
    QString copyPath;
    QByteArray bytes;
};

Fixture& fixture()
{
    static Fixture instance;
    return instance;
}

double seconds(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// ---- the references --------------------------------------------------------

struct ReferenceCard
{
    int uid = 0;
    QString foreign1, foreign2, foreign3, home1, home2, home3, hint, note;
};

struct ReferenceUnit
{
    QString uid, externalFilesDir, langCodeHome, langCodeForeign, typ, arrangementId;
    int maxCardId = 0;
    std::vector<ReferenceCard> cards;
};

QString text(const pugi::xml_node& node)
{
    const char* value = node.child_value();
    return *value ? QString::fromUtf8(value) : QString();
}

// Reads the file, parses it with pugixml and extracts what TQVL_Unit keeps.
std::unique_ptr<ReferenceUnit> referenceLoad(const QString& path)
{
    QByteArray content = TQVL_FileHandle::ReadWholeFile(path);
    auto unit = std::make_unique<ReferenceUnit>();
    pugi::xml_document document;
    const unsigned flags = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_ws_pcdata_single;
    if (!document.load_buffer_inplace(content.data(), std::size_t(content.size()), flags, pugi::encoding_auto))
        std::abort();
    const pugi::xml_node root = document.document_element();
    const pugi::xml_node header = root.child("header");
    unit->uid = text(header.child("uid"));
    unit->externalFilesDir = text(header.child("externalfilesdir"));
    unit->maxCardId = std::atoi(header.child("maxcardid").child_value());
    unit->langCodeHome = text(header.child("langcode_home"));
    unit->langCodeForeign = text(header.child("langcode_foreign"));
    unit->typ = text(header.child("typ"));
    unit->arrangementId = text(header.child("arrangement_id"));
    for (pugi::xml_node element = root.child("cards").first_child(); element; element = element.next_sibling()) {
        ReferenceCard& card = unit->cards.emplace_back();
        for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
            const char* name = child.name();
            if (std::strcmp(name, "uid") == 0)
                card.uid = std::atoi(child.child_value());
            else if (std::strcmp(name, "foreign1") == 0)
                card.foreign1 = text(child);
            else if (std::strcmp(name, "foreign2") == 0)
                card.foreign2 = text(child);
            else if (std::strcmp(name, "foreign3") == 0)
                card.foreign3 = text(child);
            else if (std::strcmp(name, "home1") == 0)
                card.home1 = text(child);
            else if (std::strcmp(name, "home2") == 0)
                card.home2 = text(child);
            else if (std::strcmp(name, "home3") == 0)
                card.home3 = text(child);
            else if (std::strcmp(name, "hint") == 0)
                card.hint = text(child);
            else if (std::strcmp(name, "note") == 0)
                card.note = text(child);
        }
    }
    return unit;
}

// ---- benchmarks ------------------------------------------------------------

void BM_UnitLoad(benchmark::State& state)
{
    Fixture& f = fixture();
    double ours = 0, reference = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        {
            TQVL_Unit unit;
            unit.Open(f.path);
            benchmark::DoNotOptimize(unit.Cards->Count());
            unit.CloseFile();
        }
        const auto t1 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(referenceLoad(f.path)->cards.size());
        const auto t2 = std::chrono::steady_clock::now();
        ours += seconds(t0, t1);
        reference += seconds(t1, t2);
        state.SetIterationTime(seconds(t0, t1));
    }
    state.counters["reference_ms"] = 1000 * reference / double(state.iterations());
    state.counters["ratio"] = ours / reference;
    state.counters["file_MB"] = double(f.bytes.size()) / 1e6;
}
BENCHMARK(BM_UnitLoad)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_UnitSave(benchmark::State& state)
{
    Fixture& f = fixture();
    TQVL_Unit unit;
    unit.Open(f.path);
    unit.RequestWriteAccess();
    double ours = 0, reference = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        unit.Save();
        const auto t1 = std::chrono::steady_clock::now();
        ReferenceWrite(f.copyPath, f.bytes);
        const auto t2 = std::chrono::steady_clock::now();
        ours += seconds(t0, t1);
        reference += seconds(t1, t2);
        state.SetIterationTime(seconds(t0, t1));
    }
    unit.CloseFile();
    if (TQVL_FileHandle::ReadWholeFile(f.path) != f.bytes)
        state.SkipWithError("the save changed the file");
    state.counters["reference_ms"] = 1000 * reference / double(state.iterations());
    state.counters["ratio"] = ours / reference;
}
BENCHMARK(BM_UnitSave)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_UnitLoadMemory(benchmark::State& state)
{
    Fixture& f = fixture();
    long long oursPeak = 0, oursKept = 0, referencePeak = 0, referenceKept = 0;
    for (auto _ : state) {
        {
            TQVL_Unit unit;
            startCounting();
            unit.Open(f.path);
            counting = false;
            oursPeak = heapPeak;
            oursKept = heapInUse;
            unit.CloseFile();
        }
        {
            startCounting();
            std::unique_ptr<ReferenceUnit> unit = referenceLoad(f.path);
            counting = false;
            referencePeak = heapPeak;
            referenceKept = heapInUse;
        }
    }
    state.counters["peak_MB"] = double(oursPeak) / 1e6;
    state.counters["reference_peak_MB"] = double(referencePeak) / 1e6;
    state.counters["peak_ratio"] = double(oursPeak) / double(referencePeak);
    state.counters["kept_MB"] = double(oursKept) / 1e6;
    state.counters["reference_kept_MB"] = double(referenceKept) / 1e6;
    state.counters["kept_ratio"] = double(oursKept) / double(referenceKept);
}
BENCHMARK(BM_UnitLoadMemory)->Iterations(3)->Unit(benchmark::kMillisecond);

// Where the time of a load and a save goes, step by step, as the file
// object runs them: read the file; parse it; read the unit from the parsed
// document; release the document; release the unit. And for a save: write
// the unit into bytes through the stream; write the bytes safely (temporary
// file, fsync, rename, fsync of the folder).
void BM_UnitLoadSteps(benchmark::State& state)
{
    Fixture& f = fixture();
    double read = 0, parse = 0, unitRead = 0, documentFree = 0, unitFree = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        QByteArray content = TQVL_FileHandle::ReadWholeFile(f.path);
        const auto t1 = std::chrono::steady_clock::now();
        auto document = std::make_unique<TQVL_XML>();
        document->Parse(std::move(content));
        const auto t2 = std::chrono::steady_clock::now();
        auto unit = std::make_unique<TQVL_Unit>();
        unit->ReadXML(document->Element());
        const auto t3 = std::chrono::steady_clock::now();
        document.reset();
        const auto t4 = std::chrono::steady_clock::now();
        unit.reset();
        const auto t5 = std::chrono::steady_clock::now();
        read += seconds(t0, t1);
        parse += seconds(t1, t2);
        unitRead += seconds(t2, t3);
        documentFree += seconds(t3, t4);
        unitFree += seconds(t4, t5);
    }
    const double n = double(state.iterations());
    state.counters["1_read_ms"] = 1000 * read / n;
    state.counters["2_parse_ms"] = 1000 * parse / n;
    state.counters["3_unit_from_document_ms"] = 1000 * unitRead / n;
    state.counters["4_document_free_ms"] = 1000 * documentFree / n;
    state.counters["5_unit_free_ms"] = 1000 * unitFree / n;
}
BENCHMARK(BM_UnitLoadSteps)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_UnitSaveSteps(benchmark::State& state)
{
    Fixture& f = fixture();
    TQVL_Unit unit;
    unit.Open(f.path);
    double bytes = 0, write = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        TQVL_XMLStream stream(1, f.bytes.size());
        unit.WriteXML(stream);
        const QByteArray content = stream.Finish();
        const auto t1 = std::chrono::steady_clock::now();
        TQVL_SafeFile::Write(f.copyPath, content);
        const auto t2 = std::chrono::steady_clock::now();
        bytes += seconds(t0, t1);
        write += seconds(t1, t2);
    }
    unit.CloseFile();
    const double n = double(state.iterations());
    state.counters["1_unit_to_bytes_ms"] = 1000 * bytes / n;
    state.counters["2_safe_write_ms"] = 1000 * write / n;
}
BENCHMARK(BM_UnitSaveSteps)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
