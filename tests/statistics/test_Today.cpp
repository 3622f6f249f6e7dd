// The day at a glance: activity per day, rows of studied days, the forecast of
// due cards and the problem words, from results built here or a fixture profile.
#include "core/QVL_XML.h"
#include "query/QVL_Result_User.h"
#include "statistics/QVL_Statistics_Activity.h"
#include "statistics/QVL_Statistics_Forecast.h"
#include "statistics/QVL_Statistics_ProblemWords.h"
#include "statistics/QVL_Statistics_Today.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <numeric>

namespace {

TQVL_DateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return TQVL_DateTime::FromParts(year, month, day, hour, minute, second);
}

TQVL_Statistics_UnitResults listOf(const TQVL_Result_User& results)
{
    TQVL_Statistics_UnitResults list;
    for (int i = 0; i < results.UnitCount(); ++i)
        list.push_back(&results.Unit(i));
    return list;
}

TQVL_Result_User& loadFixture(TQVL_Result_User& results)
{
    TQVL_XML document;
    document.LoadFromBytes(ReadFile(QStringLiteral(QUORVEL_FIXTURES "/statistics/calendar-results.xml")));
    results.LoadFromXML(document.Root->NeedChild(QStringLiteral("results")));
    return results;
}

// Sets TZ for the scope: the day of a stored time must not depend on it.
class ZoneScope
{
public:
    explicit ZoneScope(const char* zone) : old(std::getenv("TZ") ? std::getenv("TZ") : "")
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~ZoneScope()
    {
        if (old.isEmpty())
            qunsetenv("TZ");
        else
            qputenv("TZ", old);
        tzset();
    }

private:
    QByteArray old;
};

} // namespace

TEST(StatisticsActivity, CalendarDayFiguresOfAFixtureProfile)
{
    TQVL_Result_User results;
    const TQVL_Statistics_Activity activity = TQVL_Statistics_Activity::Collect(listOf(loadFixture(results)));
    struct Expected
    {
        int day, month;
        qint64 answers, right, seconds;
        int queries;
    };
    // 23:59:59 on the last day of February still counts there, midnight to
    // the first of March; a query without answers is a query, not a studied day.
    const Expected expected[] = {
        {26, 2, 0, 0, 0, 0}, {27, 2, 20, 15, 300, 1}, {28, 2, 40, 34, 690, 2}, {1, 3, 12, 6, 120, 2},
        {2, 3, 0, 0, 0, 0},  {3, 3, 5, 5, 60, 1},     {4, 3, 0, 0, 0, 0},
    };
    const auto days = activity.Days(QDate(2025, 2, 26), QDate(2025, 3, 4));
    ASSERT_EQ(days.size(), std::size(expected));
    for (std::size_t i = 0; i < days.size(); ++i) {
        const Expected& e = expected[i];
        SCOPED_TRACE(QString::number(e.day).toStdString() + "." + std::to_string(e.month));
        EXPECT_EQ(days[i].Date, QDate(2025, e.month, e.day));
        EXPECT_EQ(days[i].Answers, e.answers);
        EXPECT_EQ(days[i].Right, e.right);
        EXPECT_EQ(days[i].Seconds, e.seconds);
        EXPECT_EQ(days[i].Queries, e.queries);
    }
    EXPECT_EQ(activity.DaysStudied(QDate(2025, 2, 1), QDate(2025, 3, 31)), 4);
    EXPECT_TRUE(activity.Days(QDate(2025, 3, 4), QDate(2025, 3, 3)).empty());
}

TEST(StatisticsToday, FiguresOfTheFixtureProfile)
{
    TQVL_Result_User results;
    const auto today = TQVL_Statistics_Today::Compute(listOf(loadFixture(results)), at(2025, 3, 3, 21));
    EXPECT_EQ(today.AnswersToday, 5);
    EXPECT_EQ(today.MinutesToday, 1);
    EXPECT_EQ(today.CurrentStreak, 1) << "2 March had no answers";
    EXPECT_EQ(today.LongestStreak, 3) << "27 Feb to 1 March, over the month's end";
    EXPECT_EQ(today.DaysStudied, 4);
    EXPECT_EQ(today.TodayText(), QStringLiteral("Heute: 5 Vokabeln in 1 Minute"));
    EXPECT_EQ(today.StreakText(), QStringLiteral("1 Tag in Folge"));
    EXPECT_EQ(today.DaysStudiedText(), QStringLiteral("4 von 365 Tagen"));
    // The storage's query on 3 March is no lesson; the lesson's visit at 07:30 had no answers.
    EXPECT_EQ(today.LastLessonFileName, QStringLiteral("/home/anna/Lektionen/Tiere.qxu"));
    EXPECT_EQ(today.LastLessonDate, at(2025, 3, 1));
    EXPECT_EQ(today.LastLessonSuccessPercent(), 50);

    const auto empty = TQVL_Statistics_Today::Compute({}, at(2025, 3, 3, 21));
    EXPECT_EQ(empty.TodayText(), QStringLiteral("Heute: 0 Vokabeln in 0 Minuten"));
    EXPECT_EQ(empty.StreakText(), QStringLiteral("Noch keine Tage in Folge"));
    EXPECT_TRUE(empty.LastLessonFileName.isEmpty());
}

TEST(StatisticsToday, StreaksCountLocalDaysInARow)
{
    struct Query
    {
        TQVL_DateTime when;
        qint32 answers;
    };
    struct Case
    {
        const char* name;
        std::vector<Query> queries;
        TQVL_DateTime now;
        int current, longest;
    };
    const std::vector<Query> overMonthEnd{
        {at(2025, 2, 28, 12), 10}, {at(2025, 3, 1, 12), 10}, {at(2025, 3, 2, 12), 10}};
    const Case cases[] = {
        {"over the month's end", overMonthEnd, at(2025, 3, 2, 20), 3, 3},
        {"today not yet studied keeps yesterday's row", overMonthEnd, at(2025, 3, 3, 8), 3, 3},
        {"a whole day without answers ends it", overMonthEnd, at(2025, 3, 4, 8), 0, 3},
        {"leap day",
         {{at(2024, 2, 28, 9), 1}, {at(2024, 2, 29, 9), 1}, {at(2024, 3, 1, 9), 1}},
         at(2024, 3, 1, 10),
         3,
         3},
        {"last second before midnight is yesterday", {{at(2025, 3, 1, 23, 59, 59), 5}}, at(2025, 3, 2), 1, 1},
        {"midnight starts the new day",
         {{at(2025, 3, 1, 23, 59, 59), 5}, {at(2025, 3, 2), 5}},
         at(2025, 3, 2, 0, 0, 30),
         2,
         2},
        {"a gap inside: the longer row before it",
         {{at(2025, 2, 25, 8), 1},
          {at(2025, 2, 26, 8), 1},
          {at(2025, 2, 27, 8), 1},
          {at(2025, 2, 28, 8), 1},
          {at(2025, 3, 2, 8), 1},
          {at(2025, 3, 3, 8), 1}},
         at(2025, 3, 3, 9),
         2,
         4},
        {"a query without answers is no studied day",
         {{at(2025, 2, 28, 8), 10}, {at(2025, 3, 1, 8), 0}, {at(2025, 3, 2, 8), 10}},
         at(2025, 3, 2, 9),
         1,
         1},
        {"days after now (clock set back) are left out",
         {{at(2025, 3, 2, 8), 1}, {at(2025, 3, 3, 8), 1}, {at(2025, 3, 4, 8), 1}, {at(2025, 3, 5, 8), 1}},
         at(2025, 3, 3, 9),
         2,
         2},
    };
    // The stored times are the learner's wall-clock times: the zone the
    // program runs in must not move a query to another day.
    for (const char* zone : {"UTC", "Pacific/Kiritimati", "America/Los_Angeles"}) {
        const ZoneScope scope(zone);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " in " + zone);
            TQVL_Result_User results;
            TQVL_Result_Unit& unit = results.GetOrCreateUnit(QStringLiteral("u"));
            for (const Query& q : c.queries)
                unit.AddQuery(60, q.answers, false, q.answers, q.when);
            const auto today = TQVL_Statistics_Today::Compute(listOf(results), c.now);
            EXPECT_EQ(today.CurrentStreak, c.current);
            EXPECT_EQ(today.LongestStreak, c.longest);
        }
    }
}

TEST(StatisticsForecast, DueCardsPerDayFollowTheStorageRule)
{
    const TQVL_DateTime now = at(2025, 3, 10, 12);
    TQVL_Result_Unit storage(QStringLiteral("s"));
    storage.longtermstorage = true;
    const auto card = [&](qint32 uid, qint32 stage, TQVL_DateTime lastquery) {
        TQVL_Result_Card& record = storage.GetOrCreateCard(uid);
        record.stage = stage;
        record.lastquery = lastquery;
    };
    card(1, 0, {});                 // never queried: due now
    card(2, 1, at(2025, 3, 5));     // overdue
    card(3, 1, at(2025, 3, 10, 8)); // due this evening: after now, so with tomorrow's
    card(4, 2, at(2025, 3, 10));    // 3 days: due from 12.03 12:00
    card(5, 3, at(2025, 3, 1));     // 10 days, and 9.5 round to 10: due now
    card(6, 4, at(2025, 3, 9));     // 30 days: due from 07.04 12:00, day 28
    card(7, 5, at(2025, 3, 10));    // 100 days: beyond the forecast

    const std::vector<int> forecast = TQVL_Statistics_Forecast::Compute(storage, now);
    ASSERT_EQ(forecast.size(), std::size_t(TQVL_Statistics_Forecast::DefaultDays));
    std::vector<int> expected(30, 0);
    expected[0] = 3;
    expected[1] = 1;
    expected[2] = 1;
    expected[28] = 1;
    EXPECT_EQ(forecast, expected);

    // Today's figure is what the storage selection shows; every running total
    // is what the due rule counts at the end of that day.
    int dueNow = 0;
    storage.CountDue(now, dueNow);
    EXPECT_EQ(forecast[0], dueNow);
    for (int day = 1; day < 30; ++day) {
        int due = 0;
        storage.CountDue(TQVL_Statistics_Forecast::EndOfDay(now, day), due);
        EXPECT_EQ(std::accumulate(forecast.begin(), forecast.begin() + day + 1, 0), due) << "day " << day;
    }
    EXPECT_TRUE(TQVL_Statistics_Forecast::Compute(storage, now, 0).empty());
    EXPECT_EQ(TQVL_Statistics_Forecast::EndOfDay(now, 1), at(2025, 3, 11, 23, 59, 59));
}

TEST(StatisticsProblemWords, AtLeastFourWrongOrderedByWrongShareThenWrongCount)
{
    TQVL_Result_User results;
    TQVL_Result_Unit& lesson = results.GetOrCreateUnit(QStringLiteral("L"), QStringLiteral("/l/Tiere.qxu"));
    TQVL_Result_Unit& storage = results.GetOrCreateUnit(QStringLiteral("S"), QStringLiteral("/s/Englisch.qxs"));
    const auto card = [](TQVL_Result_Unit& unit, qint32 uid, qint32 asked, qint32 right) {
        TQVL_Result_Card& record = unit.GetOrCreateCard(uid);
        record.all_queried = asked;
        record.all_right = right;
    };
    card(lesson, 1, 10, 6);  // 4 wrong, 40 %
    card(lesson, 2, 4, 0);   // 4 wrong, 100 %
    card(lesson, 3, 3, 0);   // 3 wrong: too few, however bad the share
    card(lesson, 4, 20, 10); // 10 wrong, 50 %
    card(storage, 5, 8, 4);  // 4 wrong, 50 %: after the 10 wrong of the same share
    card(storage, 6, 12, 2); // 10 wrong, 83 %
    card(storage, 7, 5, 7);  // more right than asked: a damaged record
    card(storage, 8, 40, 0); // 40 wrong, 100 %: before the 4 wrong of the same share

    const auto list = TQVL_Statistics_ProblemWords::Compute(listOf(results));
    std::vector<std::pair<QString, qint32>> order;
    for (const auto& entry : list)
        order.emplace_back(entry.UnitUid, entry.CardUid);
    const std::vector<std::pair<QString, qint32>> expected{{QStringLiteral("S"), 8}, {QStringLiteral("L"), 2},
                                                           {QStringLiteral("S"), 6}, {QStringLiteral("L"), 4},
                                                           {QStringLiteral("S"), 5}, {QStringLiteral("L"), 1}};
    EXPECT_EQ(order, expected);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list[1].Asked, 4);
    EXPECT_EQ(list[1].Wrong, 4);
    EXPECT_EQ(list[1].UnitFileName, QStringLiteral("/l/Tiere.qxu"));
    EXPECT_EQ(TQVL_Statistics_ProblemWords::WrongPercent(list[2]), 83);
    EXPECT_EQ(TQVL_Statistics_ProblemWords::Compute(listOf(results), 2).size(), 2u);
}
