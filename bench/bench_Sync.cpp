// One sync run after a year: three machines answered 100,000 times each
// (300,000 log entries, in queries of 100 answers) in a storage of 10,000
// cards; this machine last saw nine tenths of the other two's files. The run
// takes in their lines, replays every step onto the origin, merges the
// storage lesson and saves the profile. The reference is reading every byte
// of this machine's folder and the shared folder, measured in the same
// iteration; "ratio" is the ratio of the summed times.
#include "content/QVL_Card_Container.h"
#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "core/QVL_SafeFile.h"
#include "query/QVL_Result_Steps.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "query/QVL_ReviewLog.h"
#include "query/QVL_ReviewLog_Writer.h"
#include "sync/QVL_Sync_Folder.h"
#include "users/QVL_User.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

namespace {

constexpr int cardCount = 10000;
constexpr int answersPerDevice = 100000;
constexpr int answersPerQuery = 100;
const QString storage = QStringLiteral("{6F1C2A3B-0000-4000-8000-0000000000BB}");
const QString devices[] = {QStringLiteral("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"),
                           QStringLiteral("bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb"),
                           QStringLiteral("cccccccccccccccccccccccccccccccc")};
// 1 January 2024 as a serial day, and the origin the evening before.
constexpr double yearStart = 45292.0;
constexpr qint64 originMs = 1704045600000;

void copyTree(const QString& from, const QString& to)
{
    QDir(to).removeRecursively();
    if (std::system(qPrintable(QStringLiteral("cp -a '%1' '%2'").arg(from, to))) != 0)
        std::abort();
}

qint64 readEverything(const QStringList& roots)
{
    qint64 bytes = 0;
    for (const QString& root : roots) {
        QDirIterator files(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext())
            bytes += TQVL_FileHandle::ReadWholeFile(files.next()).size();
    }
    return bytes;
}

class Year
{
public:
    static Year& Get()
    {
        static Year year;
        return year;
    }

    QString Pristine() const { return folder.path() + QStringLiteral("/pristine"); }
    QString Machine() const { return folder.path() + QStringLiteral("/a"); }
    QString Shared() const { return folder.path() + QStringLiteral("/shared"); }
    QString Profile() const { return Machine() + QStringLiteral("/Benutzer/Anna.qxs"); }
    QString Lesson() const { return Machine() + QStringLiteral("/Lektionen/Speicher.qxu"); }

    TQVL_Sync_Folder Engine(qint64 nowMs) const
    {
        TQVL_Sync_Folder sync;
        sync.SharedFolder = Shared();
        sync.DeviceId = devices[0];
        sync.QuietMs = 0;
        sync.Lessons = {Lesson()};
        sync.NowMs = [nowMs] { return nowMs; };
        return sync;
    }

    // This machine's folder and the shared one as they were before the run.
    void Restore() const
    {
        copyTree(Pristine() + QStringLiteral("/a"), Machine());
        copyTree(Pristine() + QStringLiteral("/shared"), Shared());
    }

private:
    Year()
    {
        QDir().mkpath(Machine() + QStringLiteral("/Benutzer"));
        QDir().mkpath(Machine() + QStringLiteral("/Lektionen"));
        QDir().mkpath(Shared());
        TQVL_Unit unit;
        unit.Typ = tVoc;
        for (int c = 0; c < cardCount; ++c) {
            auto* card = static_cast<TQVL_Card_Voc*>(unit.Cards->NewCard(tVoc));
            card->foreign1 = QStringLiteral("Wort %1").arg(c);
            card->home1 = QStringLiteral("word %1").arg(c);
        }
        unit.NewFile(Lesson());
        unit.Uid = storage;
        unit.Save();
        unit.CloseFile();
        {
            TQVL_User user;
            user.NewFile(Profile());
            user.ResetToNewProfile(QStringLiteral("Anna"));
            user.Save();
            user.CloseFile();
        }
        // The evening before the year: sync switched on, the origin made.
        run(originMs);

        std::uint32_t seed = 4711;
        auto next = [&seed] {
            seed = seed * 1664525u + 1013904223u;
            return int(seed >> 8);
        };
        const int queries = answersPerDevice / answersPerQuery;
        for (int d = 0; d < 3; ++d) {
            std::vector<TQVL_Result_Step> steps;
            TQVL_ReviewLog_Writer log;
            log.SyncIntervalMs = 1 << 30;
            const QString logFile = d == 0 ? TQVL_ReviewLog::FileName(Profile(), devices[0])
                                           : Shared() + QStringLiteral("/Anna/%1/reviews.csv").arg(devices[d]);
            QDir().mkpath(QFileInfo(logFile).absolutePath());
            log.Open(logFile);
            for (int q = 0; q < queries; ++q) {
                TQVL_Result_Step step;
                step.Now = TQVL_DateTime(yearStart + (q * 3 + d) * 365.0 / (3.0 * queries));
                step.Device = devices[d];
                step.UnitUid = storage;
                step.FileName = QStringLiteral("Speicher.qxu");
                step.LongTermMode = true;
                step.ReferenceDate = TQVL_DateTime(std::floor(step.Now.Serial()));
                step.Duration = 600;
                const int first = next() % cardCount;
                for (int k = 0; k < answersPerQuery; ++k) {
                    const bool right = next() % 8 != 0;
                    step.Cards.push_back({qint32((first + k * 97) % cardCount), 1, right ? 1 : 0, right ? 3 : -2});
                    TQVL_ReviewLog_Entry e;
                    e.TimeMs = qint64((step.Now.Serial() - 25569.0) * 86400000.0) + k * 6000;
                    e.Device = devices[d];
                    e.UnitUid = storage;
                    e.CardUid = step.Cards.back().CardUid;
                    e.Verdict = right ? TQVL_ReviewVerdict::Right : TQVL_ReviewVerdict::Wrong;
                    e.AnswerMs = next() % 20000;
                    log.Append(e);
                }
                steps.push_back(std::move(step));
            }
            log.Close();
            const QString stepFile = d == 0 ? TQVL_Result_Steps::FileName(Profile(), devices[0])
                                            : Shared() + QStringLiteral("/Anna/%1/steps.csv").arg(devices[d]);
            TQVL_Result_Steps::Append(stepFile, steps);
            if (d == 0)
                continue;
            // What this machine took in at its last run: nine tenths of each file.
            for (const auto& [from, to] : {std::pair{logFile, TQVL_ReviewLog::FileName(Profile(), devices[d])},
                                           std::pair{stepFile, TQVL_Result_Steps::FileName(Profile(), devices[d])}}) {
                const QByteArray bytes = TQVL_FileHandle::ReadWholeFile(from);
                const qsizetype cut = bytes.lastIndexOf('\n', bytes.size() * 9 / 10) + 1;
                TQVL_SafeFile::Write(to, bytes.left(cut));
            }
        }
        QDir().mkpath(Pristine());
        copyTree(Machine(), Pristine() + QStringLiteral("/a"));
        copyTree(Shared(), Pristine() + QStringLiteral("/shared"));
    }

    void run(qint64 nowMs) const
    {
        TQVL_User user;
        user.Open(Profile());
        if (!user.RequestWriteAccess())
            std::abort();
        Engine(nowMs).Run(user);
        user.CloseFile();
    }

    QTemporaryDir folder;
};

double seconds(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

void BM_SyncAYearOfThreeMachines(benchmark::State& state)
{
    const Year& year = Year::Get();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    double ours = 0, reference = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        year.Restore();
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        bytes = readEverything({year.Machine(), year.Shared()});
        const auto t1 = std::chrono::steady_clock::now();
        TQVL_User user;
        user.Open(year.Profile());
        if (!user.RequestWriteAccess())
            std::abort();
        const TQVL_Sync_Folder::Report report = year.Engine(now).Run(user);
        const TQVL_Result_Unit* merged = user.Results().FindUnit(storage);
        if (report.Steps != 3 * answersPerDevice / answersPerQuery || !merged ||
            merged->all_queried != 3 * answersPerDevice || merged->CardCount() != cardCount)
            std::abort();
        user.CloseFile();
        const auto t2 = std::chrono::steady_clock::now();
        reference += seconds(t0, t1);
        ours += seconds(t1, t2);
        state.SetIterationTime(seconds(t1, t2));
    }
    state.counters["reference_ms"] = 1000 * reference / double(state.iterations());
    state.counters["ratio"] = ours / reference;
    state.counters["MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_SyncAYearOfThreeMachines)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace
