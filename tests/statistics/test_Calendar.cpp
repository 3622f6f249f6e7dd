// The year calendar: its days in week columns, the shades, the German names
// and the figures of a fixture profile's days.
#include "core/QVL_XML.h"
#include "query/QVL_Result_User.h"
#include "statistics/QVL_Statistics_Calendar.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

TQVL_Statistics_Activity fixtureActivity(TQVL_Result_User& results)
{
    TQVL_XML document;
    document.LoadFromBytes(ReadFile(QStringLiteral(QUORVEL_FIXTURES "/statistics/calendar-results.xml")));
    results.LoadFromXML(document.Root->NeedChild(QStringLiteral("results")));
    TQVL_Statistics_UnitResults units;
    for (int i = 0; i < results.UnitCount(); ++i)
        units.push_back(&results.Unit(i));
    return TQVL_Statistics_Activity::Collect(units);
}

} // namespace

TEST(StatisticsCalendar, TheLastYearInWeekColumnsMondayOnTop)
{
    struct Case
    {
        QDate today;
        QDate first;
        int firstRow, columns;
    };
    const Case cases[] = {
        {QDate(2025, 3, 5), QDate(2024, 3, 6), 2, 53},   // Wednesday to Wednesday
        {QDate(2025, 2, 27), QDate(2024, 2, 29), 3, 53}, // the leap day is the first
        {QDate(2024, 12, 30), QDate(2024, 1, 1), 0, 53}, // Monday to Monday, alone in the last column
        {QDate(2025, 1, 5), QDate(2024, 1, 7), 6, 53},   // a Sunday alone in the first column
    };
    const TQVL_Statistics_Activity none;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.today.toString(Qt::ISODate).toStdString());
        const auto calendar = TQVL_Statistics_Calendar::Compute(none, c.today);
        ASSERT_EQ(calendar.Days.size(), std::size_t(TQVL_Statistics_Calendar::YearDays));
        EXPECT_EQ(calendar.First(), c.first);
        EXPECT_EQ(calendar.Last(), c.today);
        EXPECT_EQ(calendar.Days.front().Row, c.firstRow);
        EXPECT_EQ(calendar.Days.front().Column, 0);
        EXPECT_EQ(calendar.ColumnCount(), c.columns);
        for (std::size_t i = 1; i < calendar.Days.size(); ++i) {
            const auto& day = calendar.Days[i];
            const auto& before = calendar.Days[i - 1];
            ASSERT_EQ(day.Row, day.Figures.Date.dayOfWeek() - 1);
            // A new column begins every Monday, and only then.
            ASSERT_EQ(day.Column, before.Column + (day.Row == 0 ? 1 : 0)) << i;
        }
        EXPECT_EQ(calendar.IndexOf(c.today), 364);
        EXPECT_EQ(calendar.IndexOf(c.first), 0);
        EXPECT_EQ(calendar.IndexOf(c.first.addDays(-1)), -1);
        EXPECT_EQ(calendar.IndexOf(c.today.addDays(1)), -1);
    }
    EXPECT_TRUE(TQVL_Statistics_Calendar::Compute(none, QDate()).Days.empty());
}

TEST(StatisticsCalendar, ShadesInQuartersOfTheBusiestDayRoundedUp)
{
    struct Case
    {
        qint64 answers, most;
        int level;
    };
    const Case cases[] = {{0, 40, 0},  {-3, 40, 0}, {5, 0, 0},   {1, 1000, 1}, {10, 40, 1}, {11, 40, 2},
                          {20, 40, 2}, {21, 40, 3}, {39, 40, 4}, {40, 40, 4},  {80, 40, 4}};
    for (const Case& c : cases)
        EXPECT_EQ(TQVL_Statistics_Calendar::Level(c.answers, c.most), c.level) << c.answers << " of " << c.most;
}

TEST(StatisticsCalendar, DayFiguresTextsAndYearFiguresOfTheFixtureProfile)
{
    TQVL_Result_User results;
    const auto calendar = TQVL_Statistics_Calendar::Compute(fixtureActivity(results), QDate(2025, 3, 3));
    EXPECT_EQ(calendar.MostAnswers, 40);
    EXPECT_EQ(calendar.DaysStudied, 4);
    EXPECT_EQ(calendar.LongestStreak, 3);
    EXPECT_EQ(calendar.DaysStudiedText(), QStringLiteral("4 von 365 Tagen gelernt"));
    EXPECT_EQ(calendar.LongestStreakText(), QStringLiteral("Längste Serie: 3 Tage in Folge"));
    struct Expected
    {
        QDate date;
        int level;
        const char* date_text;
        const char* figures;
    };
    const Expected expected[] = {
        {QDate(2025, 2, 26), 0, "Mittwoch, 26. Februar 2025", "Keine Abfrage"},
        {QDate(2025, 2, 27), 2, "Donnerstag, 27. Februar 2025", "20 Vokabeln, 15 richtig, 5 Minuten, 1 Abfrage"},
        // 690 seconds are 11.5 minutes: halves to even.
        {QDate(2025, 2, 28), 4, "Freitag, 28. Februar 2025", "40 Vokabeln, 34 richtig, 12 Minuten, 2 Abfragen"},
        {QDate(2025, 3, 1), 2, "Samstag, 1. März 2025", "12 Vokabeln, 6 richtig, 2 Minuten, 2 Abfragen"},
        {QDate(2025, 3, 3), 1, "Montag, 3. März 2025", "5 Vokabeln, 5 richtig, 1 Minute, 1 Abfrage"},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.date_text);
        const int index = calendar.IndexOf(e.date);
        ASSERT_GE(index, 0);
        const auto& day = calendar.Days[std::size_t(index)];
        EXPECT_EQ(day.Level, e.level);
        EXPECT_EQ(TQVL_Statistics_Calendar::DateText(day.Figures.Date), QString::fromUtf8(e.date_text));
        EXPECT_EQ(TQVL_Statistics_Calendar::FiguresText(day.Figures), QString::fromUtf8(e.figures));
    }
    // A visit without answers is a query, not a studied day.
    TQVL_Statistics_ActivityDay visit;
    visit.Queries = 1;
    EXPECT_EQ(TQVL_Statistics_Calendar::FiguresText(visit),
              QStringLiteral("0 Vokabeln, 0 richtig, 0 Minuten, 1 Abfrage"));
}

TEST(StatisticsCalendar, GermanNamesWhateverTheLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QStringList months, shortMonths, weekdays, shortWeekdays;
    for (int m = 1; m <= 12; ++m) {
        months << TQVL_Statistics_Calendar::MonthName(m);
        shortMonths << TQVL_Statistics_Calendar::ShortMonthName(m);
    }
    for (int d = 1; d <= 7; ++d) {
        weekdays << TQVL_Statistics_Calendar::WeekdayName(d);
        shortWeekdays << TQVL_Statistics_Calendar::ShortWeekdayName(d);
    }
    EXPECT_EQ(TQVL_Statistics_Calendar::DateText(QDate(2024, 3, 13)), QStringLiteral("Mittwoch, 13. März 2024"));
    QLocale::setDefault(previous);
    EXPECT_EQ(months.join(' '), QStringLiteral("Januar Februar März April Mai Juni Juli August September Oktober "
                                               "November Dezember"));
    EXPECT_EQ(shortMonths.join(' '), QStringLiteral("Jan Feb Mär Apr Mai Jun Jul Aug Sep Okt Nov Dez"));
    EXPECT_EQ(weekdays.join(' '), QStringLiteral("Montag Dienstag Mittwoch Donnerstag Freitag Samstag Sonntag"));
    EXPECT_EQ(shortWeekdays.join(' '), QStringLiteral("Mo Di Mi Do Fr Sa So"));
    EXPECT_TRUE(TQVL_Statistics_Calendar::MonthName(13).isEmpty());
    EXPECT_TRUE(TQVL_Statistics_Calendar::WeekdayName(0).isEmpty());
}
