#include "core/QVL_DateTime.h"
#include "core/QVL_Math.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(DateTime, SerialDaysSince1899)
{
    EXPECT_EQ(TQVL_DateTime::FromParts(1899, 12, 30).Serial(), 0.0);
    EXPECT_EQ(TQVL_DateTime::FromParts(2000, 1, 1).Serial(), 36526.0);
    EXPECT_EQ(TQVL_DateTime::FromParts(2000, 1, 1, 18).Serial(), 36526.75);
    EXPECT_EQ(TQVL_DateTime::FromParts(1899, 12, 29).Serial(), -1.0);
    const TQVL_DateTime t = TQVL_DateTime::FromParts(2026, 12, 10, 9, 30, 15);
    EXPECT_EQ(t.ToDateTime(), QDateTime(QDate(2026, 12, 10), QTime(9, 30, 15)));
    EXPECT_EQ(t.DateOf(), TQVL_DateTime::FromParts(2026, 12, 10));
}

TEST(DateTime, GermanTextLeavesOutMidnight)
{
    EXPECT_EQ(TQVL_DateTime::FromParts(2026, 3, 7, 8, 5, 9).ToText(), QStringLiteral("07.03.2026 08:05:09"));
    EXPECT_EQ(TQVL_DateTime::FromParts(2026, 3, 7).ToText(), QStringLiteral("07.03.2026"));
    EXPECT_EQ(TQVL_DateTime::FromParts(2026, 3, 7, 0, 0, 1).ToText(), QStringLiteral("07.03.2026 00:00:01"));

    // The byte form writers use is the same text; years without four digits are left to ToText.
    char stored[TQVL_DateTime::StoredTextSize];
    const TQVL_DateTime t = TQVL_DateTime::FromParts(2026, 3, 7, 8, 5, 9);
    EXPECT_EQ(QByteArray(stored, t.ToStoredText(stored)), QByteArray("07.03.2026 08:05:09"));
    EXPECT_EQ(TQVL_DateTime::FromParts(999, 3, 7).ToStoredText(stored), 0);
    EXPECT_EQ(TQVL_DateTime::FromParts(999, 3, 7).ToText(), QStringLiteral("07.03.0999"));
}

TEST(DateTime, ParsesGermanAndIsoText)
{
    struct Case {
        const char* text;
        bool valid;
        QDateTime expected;
    };
    const Case cases[] = {
        {"07.03.2026 08:05:09", true, QDateTime(QDate(2026, 3, 7), QTime(8, 5, 9))},
        {"7.3.2026", true, QDateTime(QDate(2026, 3, 7), QTime(0, 0))},
        {"07.03.2026 8:05", true, QDateTime(QDate(2026, 3, 7), QTime(8, 5))},
        {"2026-03-07T08:05:09", true, QDateTime(QDate(2026, 3, 7), QTime(8, 5, 9))},
        {"2026-03-07", true, QDateTime(QDate(2026, 3, 7), QTime(0, 0))},
        {"31.02.2026", false, {}},
        {"07.03.2026 25:00:00", false, {}},
        {"gestern", false, {}},
        {"", false, {}},
        {"07.03.2026 08:05:0\xC3\xA4", false, {}},
    };
    for (const Case& c : cases) {
        TQVL_DateTime result(123.0);
        EXPECT_EQ(TQVL_DateTime::TryParse(QString::fromLatin1(c.text), result), c.valid) << c.text;
        if (c.valid)
            EXPECT_EQ(result.ToDateTime(), c.expected) << c.text;
        else
            EXPECT_EQ(result.Serial(), 123.0) << "unchanged on failure: " << c.text;
        TQVL_DateTime fromBytes(123.0);
        EXPECT_EQ(TQVL_DateTime::TryParseUtf8(c.text, qsizetype(strlen(c.text)), fromBytes), c.valid) << c.text;
        EXPECT_EQ(fromBytes, result) << "bytes read as the text: " << c.text;
    }
    const TQVL_DateTime t = TQVL_DateTime::FromParts(2026, 12, 31, 23, 59, 59);
    TQVL_DateTime back;
    ASSERT_TRUE(TQVL_DateTime::TryParse(t.ToText(), back));
    EXPECT_EQ(back.ToText(), t.ToText());
}

TEST(DateTime, ClockIsInjectable)
{
    TQVL_DateTime::SetClock([] { return QDateTime(QDate(2030, 1, 2), QTime(3, 4, 5)); });
    EXPECT_EQ(TQVL_DateTime::Now().ToText(), QStringLiteral("02.01.2030 03:04:05"));
    TQVL_DateTime::SetClock({});
    EXPECT_GT(TQVL_DateTime::Now().Serial(), TQVL_DateTime::FromParts(2020, 1, 1).Serial());
}

TEST(Rounding, HalvesGoToEven)
{
    const std::pair<double, std::int64_t> cases[] = {{0.5, 0},  {1.5, 2},   {2.5, 2},   {3.5, 4}, {-0.5, 0},
                                                    {-1.5, -2}, {-2.5, -2}, {2.49, 2},  {2.51, 3}, {7.0, 7}};
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(RoundHalfEven(value), expected) << value;
}
