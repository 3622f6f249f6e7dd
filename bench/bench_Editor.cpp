// Moving through a unit of 50,000 vocabulary cards in the vocabulary editor:
// one step is SaveCard of the shown card followed by ShowCard of the next
// one, on real (offscreen) widgets. The reference, measured in the same
// iteration, is the least any editor must do per card: copy the card's eight
// texts into eight line edits and read them back. The per-card times are
// collected and the counters give the medians and their ratio, so a step
// that grows with the size of the unit shows up as a large ratio.
#include "app/QVL.h"
#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "ui/edit/Form_EditVoc.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <vector>

namespace {

constexpr int cardCount = 50000;

double seconds(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

void BM_EditorNavigate(benchmark::State& state)
{
    QTemporaryDir dir;
    qputenv("QUORVEL_APPDATA", (dir.path() + QStringLiteral("/appdata")).toUtf8());
    qputenv("QUORVEL_DOCUMENTS", (dir.path() + QStringLiteral("/documents")).toUtf8());
    TQVL core;
    TQVL_Unit& unit = core.Units->GetActiveUnit();
    const QString path = dir.path() + QStringLiteral("/Gross.qxu");
    unit.Typ = tVoc;
    unit.LangCodeHome = QStringLiteral("ger");
    unit.LangCodeForeign = QStringLiteral("eng");
    for (int i = 0; i < cardCount; ++i) {
        auto* card = static_cast<TQVL_Card_Voc*>(unit.Cards->NewCard(tVoc));
        card->foreign1 = QStringLiteral("word %1").arg(i);
        card->home1 = QStringLiteral("Wort %1").arg(i);
        card->note = QStringLiteral("Anmerkung");
    }
    unit.NewFile(path);

    TFormEditVoc editor(core);
    std::array<QLineEdit, 8> plain;
    std::vector<double> ours, reference;
    for (auto _ : state) {
        editor.ShowCard(0);
        for (int i = 0; i + 1 < cardCount; ++i) {
            const auto t0 = std::chrono::steady_clock::now();
            editor.SaveCard();
            editor.ShowCard(i + 1);
            const auto t1 = std::chrono::steady_clock::now();
            const auto& card = *static_cast<const TQVL_Card_Voc*>(unit.Cards->Card(i + 1));
            const QString* texts[] = {&card.foreign1, &card.foreign2, &card.foreign3, &card.home1,
                                      &card.home2,    &card.home3,    &card.note,     &card.hint};
            for (std::size_t k = 0; k < plain.size(); ++k)
                plain[k].setText(*texts[k]);
            for (QLineEdit& edit : plain)
                benchmark::DoNotOptimize(edit.text());
            const auto t2 = std::chrono::steady_clock::now();
            ours.push_back(seconds(t0, t1));
            reference.push_back(seconds(t1, t2));
        }
    }
    if (unit.Cards->Count() != cardCount)
        state.SkipWithError("cards were lost while navigating");
    const double oursMedian = median(ours), referenceMedian = median(reference);
    state.counters["median_us"] = 1e6 * oursMedian;
    state.counters["reference_median_us"] = 1e6 * referenceMedian;
    state.counters["ratio"] = referenceMedian > 0 ? oursMedian / referenceMedian : 0;
    state.counters["max_us"] = 1e6 * *std::max_element(ours.begin(), ours.end());
    unit.CloseFile();
}
BENCHMARK(BM_EditorNavigate)->Iterations(1)->Unit(benchmark::kMillisecond);

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
