// A complete long-term query over a storage of 5,000 due cards, answered by a
// scripted learner through the step timers, up to storing its results into a
// large user profile (200 units with 500 cards each). References measured in
// the same run: the same query without storing, and the profile save alone.
#include "content/QVL_Card_Voc.h"
#include "content/QVL_LongTermStorage.h"
#include "query/QVL_Card_Return_Voc.h"
#include "query/QVL_Query.h"
#include "query/QVL_Query_Card.h"
#include "query/QVL_Query_Cardpile.h"
#include "query/QVL_Query_Options.h"
#include "query/QVL_Query_Timer_Manual.h"
#include "query/QVL_Result_User.h"
#include "query/QVL_Statistics_LastQuery.h"
#include "users/QVL_User.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int storageCards = 5000;
constexpr int profileUnits = 200;
constexpr int cardsPerUnit = 500;
const QString storageUid = QStringLiteral("{5A5A5A5A-0000-4000-8000-000000000000}");

// The logged-in profile and the storage, made once per process.
class Setting
{
public:
    static Setting& Get()
    {
        static Setting setting;
        return setting;
    }

    ~Setting() { user.CloseFile(); }

    TQVL_User user;
    TQVL_LongTermStorage storage;

private:
    Setting()
    {
        user.ResetToNewProfile(QStringLiteral("Langzeit-Lernerin"));
        std::mt19937 random(1);
        const TQVL_DateTime start = TQVL_DateTime::FromParts(2019, 1, 1, 8, 0, 0);
        for (int u = 0; u < profileUnits; ++u) {
            TQVL_Result_Unit& unit = user.Results().GetOrCreateUnit(
                QStringLiteral("{%1-0000-4000-8000-000000000000}").arg(u, 8, 16, QLatin1Char('0')).toUpper(),
                QStringLiteral("/home/lernerin/Lektionen/Lektion %1.qxu").arg(u));
            for (int q = 0; q < 50; ++q)
                unit.AddQuery(int(random() % 3600), 40, false, 30, TQVL_DateTime(start.Serial() + q * 30 + u));
            for (int c = 1; c <= cardsPerUnit; ++c) {
                TQVL_Result_Card& card = unit.GetOrCreateCard(c);
                card.pointvalue = int(random() % 2000);
                card.stage = int(random() % 8);
                card.lastquery = TQVL_DateTime(start.Serial() + double(random() % 1800));
                card.all_queried = int(random() % 60);
                card.all_right = card.all_queried / 2;
            }
        }
        user.Results().GetOrCreateUnit(storageUid).longtermstorage = true;
        user.NewFile(folder.path() + QStringLiteral("/Lernerin.qxs"));
        user.ReleaseWriteAccess();

        storage.Uid = storageUid;
        storage.FileName = folder.path() + QStringLiteral("/Englisch.qxs");
        storage.Typ = tLongTermStorage;
        for (int c = 1; c <= storageCards; ++c) {
            auto card = std::make_unique<TQVL_Card_Voc>();
            card->Uid = c;
            card->foreign1 = QStringLiteral("word %1").arg(c);
            card->home1 = QStringLiteral("Wort %1").arg(c);
            storage.Cards->Add(std::move(card));
        }
    }

    QTemporaryDir folder;
};

// A query set up as the menu does for a long-term storage, with timed
// questions and answers, and a learner who gets every fifth answer wrong.
class SimulatedQuery
{
public:
    explicit SimulatedQuery(bool storeResults)
    {
        Setting& setting = Setting::Get();
        query.ActiveUser = [&setting] {
            return TQVL_Query_ActiveUser{&setting.user, &setting.user.Results(), &setting.user.alltimequeryseconds};
        };
        query.ActiveUnit = [&setting] { return &setting.storage; };
        query.LastQuery = &lastQuery;
        query.Random = [this](int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random); };
        query.TimerFactory = timers.Factory();
        TQVL_Query_Options& options = *query.Options;
        options.storeresults = storeResults;
        options.onlystoreresultswheallqueried = true;
        options.reducecardlisttyp = 0;
        options.reducecardlistby = 25;
        options.Turn().mix = true;
        options.Turn().reducecardlisttyp = 2;
        options.Step().direction = 0;
        options.Step().questiondisplaytime = true;
        options.Step().questiondisplaytimeintervall = 5000;
        options.Step().answerdisplaytime = true;
        options.Step().answerdisplaytimeintervall = 2000;
        options.SetEvaluationFlags(false);
        query.OnGetUserInput = [this](TQVL_Query_Card& card) {
            auto answer = CreateReturn(*card.Card);
            const auto& voc = static_cast<const TQVL_Card_Voc&>(*card.Card);
            static_cast<TQVL_Card_Return_Voc&>(*answer).Text = ++answers % 5 == 0 ? QStringLiteral("weiß nicht")
                                                               : direction == 1   ? voc.home1
                                                                                  : voc.foreign1;
            return answer;
        };
        query.OnDisplayQuestion = [this](TQVL_Query_Card&, int d) { direction = d; };
    }

    // From filling the pile to the stored results.
    void Run()
    {
        Setting& setting = Setting::Get();
        query.SetLongTermMode(true);
        query.SetReferenceDate(TQVL_DateTime::Now());
        query.Cardpile->AddUnit(setting.storage);
        query.Start();
        while (query.IsRunning())
            timers.Fire();
    }

    TQVL_Query query;
    TQVL_Query_Timer_Manual timers;
    TQVL_Statistics_LastQuery lastQuery;
    std::mt19937 random{7};
    int direction = 1;
    qint64 answers = 0;
};

// Every card of the storage due again, and the profile as large as before.
void resetStorageResults()
{
    Setting::Get().user.Results().FindUnit(storageUid)->Clear();
}

void runQuery(benchmark::State& state, bool storeResults)
{
    qint64 answers = 0;
    for (auto _ : state) {
        state.PauseTiming();
        resetStorageResults();
        SimulatedQuery simulated(storeResults);
        state.ResumeTiming();
        simulated.Run();
        state.PauseTiming();
        answers = simulated.answers;
        if (storeResults && !simulated.lastQuery.ResultsStored)
            state.SkipWithError("results not stored");
        state.ResumeTiming();
    }
    state.counters["answers"] = double(answers);
    state.counters["time_per_answer"] = benchmark::Counter(double(answers) * double(state.iterations()),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_LongTermQueryWithStoring(benchmark::State& state)
{
    runQuery(state, true);
}
BENCHMARK(BM_LongTermQueryWithStoring)->Unit(benchmark::kMillisecond)->Iterations(5);

// Reference: the same query without storing its results.
void BM_LongTermQueryWithoutStoring(benchmark::State& state)
{
    runQuery(state, false);
}
BENCHMARK(BM_LongTermQueryWithoutStoring)->Unit(benchmark::kMillisecond)->Iterations(5);

// Reference: saving the same profile alone, with the write access the query takes.
void BM_ProfileSaveReference(benchmark::State& state)
{
    TQVL_User& user = Setting::Get().user;
    for (auto _ : state) {
        user.RequestWriteAccess();
        user.Save();
        user.ReleaseWriteAccess();
    }
}
BENCHMARK(BM_ProfileSaveReference)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
