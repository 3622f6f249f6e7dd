#include "core/QVL_Error.h"
#include "query/QVL_Result_User.h"
#include "query/QVL_Statistics_LastQuery.h"
#include "statistics/QVL_Statistics.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TQVL_DateTime at(int day, int month, int hour = 0, int minute = 0, int second = 0)
{
    return TQVL_DateTime::FromParts(2024, month, day, hour, minute, second);
}

// Statistics over results held by the test, "now" fixed at 10.03.2024 12:00.
class StatisticsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TQVL_DateTime::SetClock([] { return QDateTime(QDate(2024, 3, 10), QTime(12, 0)); });
        statistics.ActiveResults = [this] { return &results; };
    }
    void TearDown() override { TQVL_DateTime::SetClock({}); }

    TQVL_Result_Unit& unit(const QString& uid) { return results.GetOrCreateUnit(uid, QStringLiteral("/l/") + uid); }
    static void addQuery(TQVL_Result_Unit& unit, TQVL_DateTime when, qint32 duration = 60)
    {
        unit.AddQuery(duration, 10, false, 5, when);
    }

    TQVL_Result_User results;
    TQVL_Statistics statistics;
};

std::vector<double> serials(const TQVL_Statistics_QueryArray& list)
{
    std::vector<double> values;
    for (const TQVL_Result_Unit_Query* query : list)
        values.push_back(query->datetime.Serial());
    return values;
}

TEST_F(StatisticsTest, DayQueriesAddUpEachCalendarDayOfTheLastTwoWeeks)
{
    TQVL_Result_Unit& a = unit(QStringLiteral("A"));
    addQuery(a, at(24, 2, 23, 59, 59), 77); // the day before the range
    addQuery(a, at(25, 2), 60);             // midnight of the first day
    addQuery(a, at(3, 3, 23, 59), 600);     // late in the day: counts wholly on it
    addQuery(a, at(10, 3, 8), 120);
    addQuery(a, at(11, 3, 9), 999); // after now
    TQVL_Result_Unit& b = unit(QStringLiteral("B"));
    addQuery(b, at(3, 3, 10), 30);
    addQuery(b, at(10, 3, 11, 59), 5);

    const TQVL_Statistics_DayQueries days = statistics.GetDayQueries(14);

    ASSERT_EQ(days.size(), 15u);
    std::vector<qint32> durations(15, 0);
    durations[0] = 60;
    durations[7] = 630;
    durations[14] = 125;
    for (std::size_t i = 0; i < days.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(days[i].Date, TQVL_DateTime::FromDate(QDate(2024, 2, 25).addDays(qint64(i))));
        EXPECT_EQ(days[i].Duration, durations[i]);
    }
}

TEST_F(StatisticsTest, FillDayQueriesSpansTheDaysOfBothEnds)
{
    addQuery(unit(QStringLiteral("A")), at(3, 3, 23, 59, 59), 600);
    const struct
    {
        TQVL_DateTime from, to;
        std::vector<qint32> durations;
    } cases[] = {
        {at(3, 3, 23), at(3, 3, 0, 30), {600}},         // end earlier on the same day: still that day
        {at(3, 3, 23, 59, 59), at(4, 3), {600, 0}},     // one second apart, two days
        {at(4, 3), at(3, 3, 23, 59, 59), {}},           // end on an earlier day
        {at(1, 3, 12), at(5, 3, 6), {0, 0, 600, 0, 0}}, // times of day play no part
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.from.ToText() + QStringLiteral(" - ") + c.to.ToText()).toStdString());
        const TQVL_Statistics_DayQueries days = statistics.FillDayQueries(c.from, c.to);
        ASSERT_EQ(days.size(), c.durations.size());
        for (std::size_t i = 0; i < days.size(); ++i) {
            EXPECT_EQ(days[i].Date, TQVL_DateTime(c.from.DateOf().Serial() + double(i)));
            EXPECT_EQ(days[i].Duration, c.durations[i]);
        }
    }
}

TEST_F(StatisticsTest, DayTotalBeyondThirtyTwoBitsStopsAtTheLimit)
{
    constexpr qint32 most = std::numeric_limits<qint32>::max();
    TQVL_Result_Unit& a = unit(QStringLiteral("A"));
    addQuery(a, at(9, 3, 8), most);
    addQuery(a, at(9, 3, 9), most);
    const TQVL_Statistics_DayQueries days = statistics.FillDayQueries(at(9, 3), at(9, 3));
    ASSERT_EQ(days.size(), 1u);
    EXPECT_EQ(days[0].Duration, most);
}

TEST_F(StatisticsTest, ReadingTheUserWithoutOneFailsAsProgrammingError)
{
    for (const std::function<TQVL_Result_User*()>& source :
         {std::function<TQVL_Result_User*()>(), std::function<TQVL_Result_User*()>([] { return nullptr; })}) {
        statistics.ActiveResults = source;
        statistics.LastQuery->Add(QStringLiteral("A"));
        for (const std::function<void()>& call :
             {std::function<void()>([&] { statistics.GetDayQueries(14); }),
              std::function<void()>([&] { statistics.GetUnitResults(); }),
              std::function<void()>([&] { statistics.GetLastQueryUnitResults(); })}) {
            try {
                call();
                ADD_FAILURE() << "no error raised";
            } catch (const TQVL_Error& error) {
                EXPECT_EQ(error.Message(), QStringLiteral("no active User"));
            }
        }
    }
}

TEST_F(StatisticsTest, UnitsAndTheirQueriesComeInStoredOrder)
{
    TQVL_Result_Unit& b = unit(QStringLiteral("B"));
    TQVL_Result_Unit& a = unit(QStringLiteral("A"));
    unit(QStringLiteral("empty"));
    addQuery(b, at(5, 3));
    addQuery(b, at(1, 3));
    addQuery(a, at(9, 3));
    addQuery(a, at(2, 3));

    const TQVL_Statistics_UnitResults units = statistics.GetUnitResults();
    ASSERT_EQ(units.size(), 3u);
    EXPECT_EQ(units[0], &b);
    EXPECT_EQ(units[1], &a);
    EXPECT_EQ(units[2]->unit_uid, QStringLiteral("empty"));

    EXPECT_EQ(serials(TQVL_Statistics::GetQueries(units)),
              (std::vector<double>{at(5, 3).Serial(), at(1, 3).Serial(), at(9, 3).Serial(), at(2, 3).Serial()}));
    EXPECT_TRUE(TQVL_Statistics::GetQueries({}).empty());
}

TEST_F(StatisticsTest, LastQueryUnitsAreFoundOrCreatedInTheQueryOrder)
{
    TQVL_Result_Unit& first = unit(QStringLiteral("first"));
    TQVL_Result_Unit& second = unit(QStringLiteral("second"));
    statistics.LastQuery->Add(QStringLiteral("second"));
    statistics.LastQuery->Add(QStringLiteral("new"));
    statistics.LastQuery->Add(QStringLiteral("first"));

    const TQVL_Statistics_UnitResults units = statistics.GetLastQueryUnitResults();

    ASSERT_EQ(units.size(), 3u);
    EXPECT_EQ(units[0], &second);
    EXPECT_EQ(units[2], &first);
    ASSERT_EQ(results.UnitCount(), 3);
    EXPECT_EQ(units[1], &results.Unit(2));
    EXPECT_EQ(units[1]->unit_uid, QStringLiteral("new"));
    EXPECT_TRUE(units[1]->unit_lastknownfilename.isEmpty());
    EXPECT_EQ(units[1]->QueryCount(), 0);

    // Asking again finds the record made the first time.
    EXPECT_EQ(statistics.GetLastQueryUnitResults(), units);
    EXPECT_EQ(results.UnitCount(), 3);
}

TEST_F(StatisticsTest, FiltersKeepTheStartAndDropTheEndOfTheRange)
{
    const TQVL_DateTime from = at(1, 3), to = at(8, 3);
    TQVL_Result_Unit& atEnd = unit(QStringLiteral("at end"));
    addQuery(atEnd, to);
    TQVL_Result_Unit& mixed = unit(QStringLiteral("mixed"));
    addQuery(mixed, at(8, 3, 0, 0, 1));
    addQuery(mixed, at(5, 3));
    addQuery(mixed, at(29, 2, 23, 59, 59));
    addQuery(mixed, from);
    addQuery(mixed, at(7, 3, 23, 59, 59));
    unit(QStringLiteral("none"));
    TQVL_Result_Unit& atStart = unit(QStringLiteral("at start"));
    addQuery(atStart, from);

    TQVL_Statistics_QueryArray queries = TQVL_Statistics::GetQueries(statistics.GetUnitResults());
    TQVL_Statistics::FilterQueries(queries, from, to);
    EXPECT_EQ(serials(queries),
              (std::vector<double>{at(5, 3).Serial(), from.Serial(), at(7, 3, 23, 59, 59).Serial(), from.Serial()}));

    TQVL_Statistics_UnitResults units = statistics.GetUnitResults();
    TQVL_Statistics::FilterUnitResults(units, from, to);
    EXPECT_EQ(units, (TQVL_Statistics_UnitResults{&mixed, &atStart}));

    TQVL_Statistics::FilterUnitResults(units, to, from);
    EXPECT_TRUE(units.empty());
}

TEST_F(StatisticsTest, FirstQueryDateIsNeverLaterThanNowLastIsZeroWithoutQueries)
{
    const TQVL_DateTime now = TQVL_DateTime::Now();
    TQVL_Result_Unit& empty = unit(QStringLiteral("empty"));
    TQVL_Result_Unit& past = unit(QStringLiteral("past"));
    addQuery(past, at(9, 3));
    addQuery(past, at(3, 3));
    addQuery(past, at(10, 3, 8));
    TQVL_Result_Unit& future = unit(QStringLiteral("future"));
    addQuery(future, at(11, 3));
    addQuery(future, at(10, 3, 12, 0, 1));

    const struct
    {
        const char* name;
        TQVL_Statistics_UnitResults units;
        TQVL_DateTime first, last;
    } cases[] = {
        {"no units", {}, now, TQVL_DateTime()},
        {"no queries", {&empty}, now, TQVL_DateTime()},
        {"past", {&empty, &past}, at(3, 3), at(10, 3, 8)},
        {"future", {&future}, now, at(11, 3)},
        {"both", {&future, &past}, at(3, 3), at(11, 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TQVL_Statistics::GetFirstQueryDate(c.units), c.first);
        EXPECT_EQ(TQVL_Statistics::GetLastQueryDate(c.units), c.last);
    }
}

TEST_F(StatisticsTest, SortPutsTheNewestFirst)
{
    TQVL_Result_Unit& a = unit(QStringLiteral("A"));
    addQuery(a, at(2, 3), 1);
    addQuery(a, at(9, 3), 2);
    addQuery(a, at(5, 3), 3);
    addQuery(a, at(9, 3), 4);
    addQuery(a, at(1, 3), 5);
    TQVL_Statistics_QueryArray queries = TQVL_Statistics::GetQueries({&a});

    TQVL_Statistics::SortQueriesByDate(queries);

    std::vector<qint32> order;
    for (const TQVL_Result_Unit_Query* query : queries)
        order.push_back(query->duration);
    EXPECT_EQ(order, (std::vector<qint32>{2, 4, 3, 1, 5}));
}

} // namespace
