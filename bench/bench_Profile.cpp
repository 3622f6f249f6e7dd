// Load and save of a user profile with a long history (200 units with 500
// cards and 50 stored queries each), and the overview and calendar computed
// from it, against references measured in the same run: pugixml parsing the same file and extracting the same values,
// and a plain write with fsync of the same bytes. Ours and the reference alternate within each iteration, so drift of
// the machine hits both; "ratio" is the ratio of the summed times.
#include "bench/ReferenceWrite.h"
#include "core/QVL_FileObject.h"
#include "core/QVL_SafeFile.h"
#include "core/QVL_XML.h"
#include "core/QVL_XMLStream.h"
#include "query/QVL_Result_User.h"
#include "statistics/QVL_Statistics_Activity.h"
#include "statistics/QVL_Statistics_Calendar.h"
#include "statistics/QVL_Statistics_Forecast.h"
#include "statistics/QVL_Statistics_ProblemWords.h"
#include "statistics/QVL_Statistics_Today.h"
#include "users/QVL_User.h"
#include "users/QVL_User_Rights.h"

#include <QDate>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// QUORVEL_BENCH_UNITS makes the profile smaller, for a profiler run.
const int unitCount =
    qEnvironmentVariableIsSet("QUORVEL_BENCH_UNITS") ? qEnvironmentVariableIntValue("QUORVEL_BENCH_UNITS") : 200;
constexpr int cardsPerUnit = 500;
constexpr int queriesPerUnit = 50;

// The profile file, written once per process.
class Profile
{
public:
    static Profile& Get()
    {
        static Profile profile;
        return profile;
    }

    QString FileName() const { return folder.path() + QStringLiteral("/Lang.qxs"); }
    QString PlainFileName() const { return folder.path() + QStringLiteral("/plain.xml"); }
    const QByteArray& Bytes() const { return bytes; }

private:
    Profile()
    {
        TQVL_User user;
        user.ResetToNewProfile(QStringLiteral("Langzeit-Lernerin"));
        user.SetPassword(QStringLiteral("geheim"));
        user.alltimequeryseconds = 987654;
        user.lastlogin = TQVL_DateTime::FromParts(2024, 3, 10, 9, 30, 15);
        const TQVL_DateTime start = TQVL_DateTime::FromParts(2019, 1, 1, 8, 0, 0);
        std::uint32_t seed = 12345;
        auto next = [&seed] {
            seed = seed * 1664525u + 1013904223u;
            return int(seed >> 8);
        };
        for (int u = 0; u < unitCount; ++u) {
            TQVL_Result_Unit& unit = user.Results().GetOrCreateUnit(
                QStringLiteral("{%1-0000-4000-8000-000000000000}").arg(u, 8, 16, QLatin1Char('0')).toUpper(),
                QStringLiteral("/home/lernerin/Dokumente/Quorvel 8/Lektionen/Lektion %1.qxu").arg(u));
            unit.longtermstorage = u % 20 == 0;
            unit.lastquerydate = TQVL_DateTime(start.Serial() + 1500 + u + 0.37);
            unit.all_queried = next() % 100000;
            unit.all_right = unit.all_queried / 2;
            unit.last_queried = next() % 500;
            unit.last_right = unit.last_queried / 3;
            for (int q = 0; q < queriesPerUnit; ++q)
                unit.AddQuery(next() % 3600, next() % 500, q % 7 == 0, next() % 300,
                              TQVL_DateTime(start.Serial() + q * 30 + u + (next() % 86400) / 86400.0));
            for (int c = 1; c <= cardsPerUnit; ++c) {
                TQVL_Result_Card& card = unit.GetOrCreateCard(c);
                card.pointvalue = next() % 2000 - 500;
                card.stage = next() % 9;
                if (c % 10 != 0)
                    card.lastquery = TQVL_DateTime(start.Serial() + next() % 1800 + (next() % 86400) / 86400.0);
                card.all_queried = next() % 60;
                card.all_right = card.all_queried / 2;
                card.last_queried = next() % 4;
                card.last_right = card.last_queried / 2;
            }
        }
        user.NewFile(FileName());
        user.CloseFile();
        bytes = TQVL_FileHandle::ReadWholeFile(FileName());
    }

    QTemporaryDir folder;
    QByteArray bytes;
};

// What the reference extracts: the same values as the profile holds.
struct RefCard
{
    int card_uid, pointvalue, stage, last_queried, last_right, all_queried, all_right;
    double lastquery;
};
struct RefQuery
{
    double datetime;
    int duration, queried, right;
    bool selfevaluation;
};
struct RefUnit
{
    QString unit_uid, unit_lastknownfilename;
    int last_queried, last_right, all_queried, all_right;
    double lastquerydate;
    bool longtermstorage;
    std::vector<RefQuery> queries;
    std::vector<RefCard> cards;
};
struct RefProfile
{
    QString uid, name, password, units_directory;
    int icon;
    long long alltimequeryseconds;
    double lastlogin, lastdeletion_date;
    bool rights[17];
    std::vector<RefUnit> units;
};

int refInt(const pugi::xml_node& parent, const char* name)
{
    return int(std::strtol(parent.child_value(name), nullptr, 10));
}

// "dd.MM.yyyy[ hh:mm:ss]" to days since 30.12.1899.
double refDate(const pugi::xml_node& parent, const char* name)
{
    const char* t = parent.child_value(name);
    const std::size_t length = std::strlen(t);
    if (length < 10)
        return 0;
    auto two = [t](int i) { return (t[i] - '0') * 10 + (t[i + 1] - '0'); };
    const int year = two(6) * 100 + two(8);
    double serial = double(QDate(1899, 12, 30).daysTo(QDate(year, two(3), two(0))));
    if (length >= 19)
        serial += (two(11) * 3600 + two(14) * 60 + two(17)) / 86400.0;
    return serial;
}

QString refText(const pugi::xml_node& parent, const char* name)
{
    return QString::fromUtf8(parent.child_value(name));
}

void extract(const pugi::xml_node& root, RefProfile& profile)
{
    const pugi::xml_node header = root.child("header");
    profile.uid = refText(header, "uid");
    profile.name = refText(header, "name");
    profile.icon = refInt(header, "icon");
    profile.lastlogin = refDate(header, "lastlogin");
    profile.alltimequeryseconds = std::strtoll(header.child_value("alltimequeryseconds"), nullptr, 10);
    profile.password = refText(header, "password");
    profile.units_directory = refText(header, "units_directory");
    int r = 0;
    for (pugi::xml_node right : root.child("rights").children())
        if (r < 17)
            profile.rights[r++] = std::strcmp(right.child_value(), "true") == 0;
    const pugi::xml_node results = root.child("results");
    profile.lastdeletion_date = refDate(results, "lastdeletion_date");
    for (pugi::xml_node u : results.child("units").children()) {
        RefUnit& unit = profile.units.emplace_back();
        unit.last_queried = refInt(u, "last_queried");
        unit.last_right = refInt(u, "last_right");
        unit.all_queried = refInt(u, "all_queried");
        unit.all_right = refInt(u, "all_right");
        unit.unit_uid = refText(u, "unit_uid");
        unit.unit_lastknownfilename = refText(u, "unit_lastknownfilename");
        unit.lastquerydate = refDate(u, "lastquerydate");
        unit.longtermstorage = std::strcmp(u.child_value("longtermstorage"), "true") == 0;
        for (pugi::xml_node q : u.child("queries").children())
            unit.queries.push_back({refDate(q, "datetime"), refInt(q, "duration"), refInt(q, "queried"),
                                    refInt(q, "right"), std::strcmp(q.child_value("selfevaluation"), "true") == 0});
        for (pugi::xml_node c : u.child("cards").children())
            unit.cards.push_back({refInt(c, "card_uid"), refInt(c, "pointvalue"), refInt(c, "stage"),
                                  refInt(c, "last_queried"), refInt(c, "last_right"), refInt(c, "all_queried"),
                                  refInt(c, "all_right"), refDate(c, "lastquery")});
    }
}

void setCounters(benchmark::State& state)
{
    state.SetBytesProcessed(std::int64_t(state.iterations()) * Profile::Get().Bytes().size());
    state.counters["MB"] = double(Profile::Get().Bytes().size()) / 1e6;
}

double seconds(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// The reference load: read the file, parse it with pugixml, extract the same values.
std::size_t referenceLoad()
{
    const QByteArray bytes = TQVL_FileHandle::ReadWholeFile(Profile::Get().FileName());
    pugi::xml_document document;
    document.load_buffer(bytes.constData(), std::size_t(bytes.size()));
    RefProfile profile;
    extract(document.child("root"), profile);
    if (profile.units.size() != std::size_t(unitCount) || profile.units.back().cards.size() != cardsPerUnit)
        std::abort();
    return profile.units.size();
}

// The reference save: write the same bytes into a file and fsync it.
void referenceWrite()
{
    ReferenceWrite(Profile::Get().PlainFileName(), Profile::Get().Bytes());
}

// The real load of the active profile (read, integrity check, parse, results)
// against the reference load.
void BM_ProfileOpen(benchmark::State& state)
{
    const QString fileName = Profile::Get().FileName();
    double ours = 0, reference = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        {
            TQVL_User user;
            user.Open(fileName);
            benchmark::DoNotOptimize(user.Results().UnitCount());
            user.CloseFile();
        }
        const auto t1 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(referenceLoad());
        const auto t2 = std::chrono::steady_clock::now();
        ours += seconds(t0, t1);
        reference += seconds(t1, t2);
        state.SetIterationTime(seconds(t0, t1));
    }
    state.counters["reference_ms"] = 1000 * reference / double(state.iterations());
    state.counters["ratio"] = ours / reference;
    setCounters(state);
}
BENCHMARK(BM_ProfileOpen)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The real save of the active profile (bytes, atomic write with fsync,
// companion) against the reference write.
void BM_ProfileSave(benchmark::State& state)
{
    TQVL_User user;
    user.Open(Profile::Get().FileName());
    if (!user.RequestWriteAccess())
        state.SkipWithError("no write access");
    double ours = 0, reference = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        user.Save();
        const auto t1 = std::chrono::steady_clock::now();
        referenceWrite();
        const auto t2 = std::chrono::steady_clock::now();
        ours += seconds(t0, t1);
        reference += seconds(t1, t2);
        state.SetIterationTime(seconds(t0, t1));
    }
    user.CloseFile();
    if (TQVL_FileHandle::ReadWholeFile(Profile::Get().FileName()) != Profile::Get().Bytes())
        state.SkipWithError("the save changed the file");
    state.counters["reference_ms"] = 1000 * reference / double(state.iterations());
    state.counters["ratio"] = ours / reference;
    setCounters(state);
}
BENCHMARK(BM_ProfileSave)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Breakdown of the load: the integrity check (MD5 over the file) alone.
void BM_PhaseChecksum(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(TQVL_FileObject::Checksum(Profile::Get().Bytes()).size());
    setCounters(state);
}
BENCHMARK(BM_PhaseChecksum)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Breakdown of the load: the parser alone (the parsed document released).
void BM_PhaseParse(benchmark::State& state)
{
    for (auto _ : state) {
        TQVL_XML document;
        document.Parse(Profile::Get().Bytes());
        benchmark::DoNotOptimize(document.Version);
    }
    setCounters(state);
}
BENCHMARK(BM_PhaseParse)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Breakdown of the load: the profile read from a document already parsed.
void BM_PhaseReadDocument(benchmark::State& state)
{
    TQVL_XML document;
    document.Parse(Profile::Get().Bytes());
    for (auto _ : state) {
        TQVL_User user;
        user.ReadXML(document.Element());
        benchmark::DoNotOptimize(user.Results().UnitCount());
    }
    setCounters(state);
}
BENCHMARK(BM_PhaseReadDocument)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Breakdown of the save: the profile written into bytes.
void BM_PhaseWriteBytes(benchmark::State& state)
{
    TQVL_User user;
    user.IntegrityGuard = false;
    user.Open(Profile::Get().FileName());
    for (auto _ : state) {
        TQVL_XMLStream stream(1, Profile::Get().Bytes().size());
        user.WriteXML(stream);
        benchmark::DoNotOptimize(stream.Finish().size());
    }
    user.CloseFile();
    setCounters(state);
}
BENCHMARK(BM_PhaseWriteBytes)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The day at a glance (today's figures, the rows of days, the last lesson,
// every storage's due cards of the next 30 days, the problem words) and the
// year calendar, computed from the opened profile, against opening that
// profile: what the main menu and the statistics window add to a login.
void BM_TodayAndCalendar(benchmark::State& state)
{
    const QString fileName = Profile::Get().FileName();
    TQVL_User opened;
    opened.Open(fileName);
    TQVL_Statistics_UnitResults units;
    for (int i = 0; i < opened.Results().UnitCount(); ++i)
        units.push_back(&opened.Results().Unit(i));
    const TQVL_DateTime now = TQVL_DateTime::FromParts(2024, 3, 10, 9, 30, 15);
    double ours = 0, reference = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(TQVL_Statistics_Today::Compute(units, now).DaysStudied);
        for (const TQVL_Result_Unit* unit : units)
            if (unit->longtermstorage)
                benchmark::DoNotOptimize(TQVL_Statistics_Forecast::Compute(*unit, now).size());
        benchmark::DoNotOptimize(TQVL_Statistics_ProblemWords::Compute(units, 100).size());
        const auto calendar = TQVL_Statistics_Calendar::Compute(TQVL_Statistics_Activity::Collect(units), now.Date());
        benchmark::DoNotOptimize(calendar.DaysStudied);
        const auto t1 = std::chrono::steady_clock::now();
        {
            TQVL_User user;
            user.Open(fileName);
            benchmark::DoNotOptimize(user.Results().UnitCount());
            user.CloseFile();
        }
        const auto t2 = std::chrono::steady_clock::now();
        ours += seconds(t0, t1);
        reference += seconds(t1, t2);
        state.SetIterationTime(seconds(t0, t1));
    }
    opened.CloseFile();
    state.counters["reference_ms"] = 1000 * reference / double(state.iterations());
    state.counters["ratio"] = ours / reference;
    setCounters(state);
}
BENCHMARK(BM_TodayAndCalendar)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace
