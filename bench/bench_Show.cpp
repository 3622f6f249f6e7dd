// Opening the vocabulary viewer on a lesson of 50,000 cards, each with a
// result record: TFormShowVoc::Start builds the rows, fills the model and
// sorts it by the first foreign meaning; then the rows are sorted by the
// home meaning as a header click does. The reference, measured in the same
// round, is the least any table must do: copy the 50,000 foreign texts into
// a std::vector and sort them (Latin-1 bytes, std::sort), and the same for a
// re-sort of the home texts. The counters give the medians over the rounds
// and their ratios.
#include "app/QVL.h"
#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "query/QVL_Result_User.h"
#include "ui/show/Form_ShowVoc.h"
#include "users/QVL_User.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int cardCount = 50000;
constexpr int rounds = 9;

double seconds(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// A random word, so that sorting has real work to do.
QString word(std::mt19937& random, const char* prefix)
{
    std::uniform_int_distribution<int> letter('a', 'z');
    QString text = QString::fromLatin1(prefix);
    for (int i = 0; i < 8; ++i)
        text += QChar(letter(random));
    return text;
}

void BM_ShowVocOpenAndSort(benchmark::State& state)
{
    QTemporaryDir dir;
    qputenv("QUORVEL_APPDATA", (dir.path() + QStringLiteral("/appdata")).toUtf8());
    qputenv("QUORVEL_DOCUMENTS", (dir.path() + QStringLiteral("/documents")).toUtf8());
    TQVL core;
    TQVL_Unit& unit = core.Units->GetActiveUnit();
    unit.Typ = tVoc;
    unit.LangCodeHome = QStringLiteral("ger");
    unit.LangCodeForeign = QStringLiteral("eng");
    std::mt19937 random(7);
    for (int i = 0; i < cardCount; ++i) {
        auto* card = static_cast<TQVL_Card_Voc*>(unit.Cards->NewCard(tVoc));
        card->foreign1 = word(random, "");
        card->home1 = word(random, "W");
        card->note = QStringLiteral("Anmerkung");
    }
    unit.NewFile(dir.path() + QStringLiteral("/Gross.qxu"));
    TQVL_User& user = core.Users->GetActiveUser();
    user.name = QStringLiteral("Bench");
    user.NewFile(dir.path() + QStringLiteral("/Bench.qxs"));
    TQVL_Result_Unit& results = user.Results().GetOrCreateUnit(unit.Uid);
    for (int i = 0; i < cardCount; ++i) {
        TQVL_Result_Card& record = results.GetOrCreateCard(unit.Cards->Card(i)->Uid);
        record.all_queried = i % 7;
        record.all_right = i % 5;
    }

    std::vector<double> open, openReference, resort, resortReference;
    for (auto _ : state) {
        for (int round = 0; round < rounds; ++round) {
            TFormShowVoc viewer(nullptr, core);
            const auto t0 = std::chrono::steady_clock::now();
            viewer.Start();
            const auto t1 = std::chrono::steady_clock::now();
            std::vector<std::string> texts;
            texts.reserve(std::size_t(cardCount));
            for (int i = 0; i < cardCount; ++i)
                texts.push_back(static_cast<const TQVL_Card_Voc*>(unit.Cards->Card(i))->foreign1.toStdString());
            std::sort(texts.begin(), texts.end());
            benchmark::DoNotOptimize(texts.data());
            const auto t2 = std::chrono::steady_clock::now();
            viewer.Model->sort(TFormShowVoc::colHome1, Qt::AscendingOrder);
            const auto t3 = std::chrono::steady_clock::now();
            std::vector<std::string> homes;
            homes.reserve(std::size_t(cardCount));
            for (int i = 0; i < cardCount; ++i)
                homes.push_back(static_cast<const TQVL_Card_Voc*>(unit.Cards->Card(i))->home1.toStdString());
            std::sort(homes.begin(), homes.end());
            benchmark::DoNotOptimize(homes.data());
            const auto t4 = std::chrono::steady_clock::now();
            if (viewer.Model->RowCount() != cardCount)
                state.SkipWithError("rows were lost");
            open.push_back(seconds(t0, t1));
            openReference.push_back(seconds(t1, t2));
            resort.push_back(seconds(t2, t3));
            resortReference.push_back(seconds(t3, t4));
        }
    }
    state.counters["open_median_ms"] = 1e3 * median(open);
    state.counters["open_reference_median_ms"] = 1e3 * median(openReference);
    state.counters["open_ratio"] = median(open) / median(openReference);
    state.counters["sort_median_ms"] = 1e3 * median(resort);
    state.counters["sort_reference_median_ms"] = 1e3 * median(resortReference);
    state.counters["sort_ratio"] = median(resort) / median(resortReference);
    user.CloseFile();
    unit.CloseFile();
}
BENCHMARK(BM_ShowVocOpenAndSort)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
