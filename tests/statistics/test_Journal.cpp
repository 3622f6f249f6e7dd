// The journal of stored queries: which queries it lists, its texts and its sort rules.
#include "query/QVL_Result_Unit.h"
#include "statistics/QVL_Statistics_Journal.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Journal = TQVL_Statistics_Journal;
using Entry = Journal::TEntry;

Entry entry(TQVL_DateTime when, const QString& unit = QStringLiteral("/l/a.qxu"), qint32 duration = 60,
            qint32 queried = 10, qint32 right = 5)
{
    return Entry{when, unit, duration, queried, right};
}

TQVL_DateTime at(int day, int hour, int minute = 0, int second = 0)
{
    return TQVL_DateTime::FromParts(2024, 3, day, hour, minute, second);
}

TEST(Journal, ListsStoredQueriesUpToNowUnitByUnit)
{
    TQVL_Result_Unit first(QStringLiteral("1")), second(QStringLiteral("2"));
    first.unit_lastknownfilename = QStringLiteral("/l/Erste.qxu");
    second.unit_lastknownfilename = QStringLiteral("C:\\Lektionen\\Zweite.qxu");
    first.AddQuery(60, 10, false, 5, at(9, 10));
    first.AddQuery(60, 10, false, 5, at(11, 10)); // after "now": the clock was changed
    second.AddQuery(60, 10, false, 5, at(8, 10));
    first.AddQuery(60, 10, false, 5, at(10, 12)); // exactly now: left out
    const std::vector<Entry> entries = Journal::Entries({&first, &second}, at(10, 12));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].DateTime, at(9, 10));
    EXPECT_EQ(entries[1].DateTime, at(8, 10));
    EXPECT_EQ(Journal::Text(entries[0], Journal::colUnit), QStringLiteral("Erste.qxu"));
    EXPECT_EQ(Journal::Text(entries[1], Journal::colUnit), QStringLiteral("Zweite.qxu"));
}

TEST(Journal, TextsOfTheCells)
{
    const Entry e = entry(at(9, 8, 5, 3), QStringLiteral("/l/a.qxu"), 3725, 3, 2);
    EXPECT_EQ(Journal::Text(e, Journal::colDate), QStringLiteral("09.03.2024"));
    EXPECT_EQ(Journal::Text(e, Journal::colTime), QStringLiteral("08:05:03"));
    EXPECT_EQ(Journal::Text(e, Journal::colDuration), QStringLiteral("01:02:05"));
    EXPECT_EQ(Journal::Text(e, Journal::colSuccess), QStringLiteral("66%")) << "truncated, not rounded";
    EXPECT_EQ(Journal::Text(entry(at(9, 8), {}, 0, 0, 0), Journal::colSuccess), QString());
    const std::pair<qint32, const char*> durations[] = {
        {0, "00:00:00"}, {9, "00:00:09"}, {10, "00:00:10"}, {599, "00:09:59"}, {36000, "10:00:00"}, {360000, "100:00:00"}};
    for (const auto& [seconds, text] : durations)
        EXPECT_EQ(Journal::DurationText(seconds), QString::fromLatin1(text)) << seconds;
}

TEST(Journal, ComparisonsPerColumn)
{
    // (column, a, b, expected sign of Compare(a, b))
    const struct
    {
        int column;
        Entry a, b;
        int expected;
    } cases[] = {
        {Journal::colDate, entry(at(9, 10)), entry(at(8, 10)), -1}, // newer first
        {Journal::colDate, entry(at(8, 10)), entry(at(9, 10)), 1},
        {Journal::colDate, entry(at(8, 10)), entry(at(8, 10, 1)), 0}, // under a thousandth of a day
        {Journal::colDate, entry(at(8, 10)), entry(at(8, 10, 2)), 1},
        {Journal::colTime, entry(at(9, 10)), entry(at(1, 11)), -1}, // earlier time of day first, whatever the date
        {Journal::colTime, entry(at(1, 23)), entry(at(9, 10)), 1},
        {Journal::colUnit, entry(at(1, 1), QStringLiteral("/b/a.qxu")), entry(at(1, 1), QStringLiteral("/a/z.qxu")), 1},
        {Journal::colUnit, entry(at(1, 1), QStringLiteral("/a/B.qxu")), entry(at(1, 1), QStringLiteral("/a/a.qxu")), -1},
        {Journal::colDuration, entry(at(1, 1), {}, 59), entry(at(1, 1), {}, 60), -1},
        {Journal::colSuccess, entry(at(1, 1), {}, 1, 3, 2), entry(at(1, 1), {}, 1, 100, 66), 0}, // 66 % both
        {Journal::colSuccess, entry(at(1, 1), {}, 1, 0, 0), entry(at(1, 1), {}, 1, 10, 1), -1}, // nothing asked: 0 %
    };
    for (const auto& c : cases) {
        const int result = Journal::Compare(c.a, c.b, c.column);
        EXPECT_EQ((result > 0) - (result < 0), c.expected) << "column " << c.column << ", case line " << &c - cases;
    }
}

TEST(Journal, SortsStablyAndReversesForDescending)
{
    std::vector<Entry> entries = {entry(at(8, 10), QStringLiteral("1")), entry(at(9, 10), QStringLiteral("2")),
                                  entry(at(8, 10, 1), QStringLiteral("3")), entry(at(7, 23), QStringLiteral("4"))};
    auto names = [&] {
        QString order;
        for (const Entry& e : entries)
            order += e.UnitFileName;
        return order;
    };
    Journal::Sort(entries, Journal::colDate, Qt::AscendingOrder);
    EXPECT_EQ(names(), QStringLiteral("2134")) << "newest first; 1 and 3 keep their order";
    Journal::Sort(entries, Journal::colDate, Qt::DescendingOrder);
    EXPECT_EQ(names(), QStringLiteral("4132"));
    Journal::Sort(entries, Journal::colTime, Qt::AscendingOrder);
    EXPECT_EQ(names(), QStringLiteral("1324"));
}

} // namespace
