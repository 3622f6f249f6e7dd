// The bar chart of the daily query time, checked pixel by pixel for a known week.
#include "query/QVL_Result_User.h"
#include "statistics/QVL_Statistics.h"
#include "statistics/QVL_Statistics_DayChart.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

using Chart = TQVL_Statistics_DayChart;

std::string rgb(QRgb colour)
{
    return QColor::fromRgb(colour).name().toStdString();
}

// "Now" is Wednesday, 13.03.2024 14:00; the 15 days run from Wednesday
// 28.02. to today. Today holds the longest time: a query started at 00:30
// and stored at 00:40 with 600 seconds; 06.03. (bar 7) holds 300 seconds, the
// first day nothing. On a 560 × 210 image the chart starts at x 25, its bars
// run from y 33 to 177 (exclusive), bar i at x 25 + 34 i.
class DayChartTest : public ::testing::Test
{
protected:
    static constexpr int Top = 33, Bottom = 177;
    static int barLeft(int i) { return 25 + 34 * i; }

    void SetUp() override
    {
        TQVL_DateTime::SetClock([] { return QDateTime(QDate(2024, 3, 13), QTime(14, 0)); });
        statistics.ActiveResults = [this] { return &results; };
        TQVL_Result_Unit& unit = results.GetOrCreateUnit(QStringLiteral("u"), QStringLiteral("/l/u.qxu"));
        unit.AddQuery(600, 10, false, 5, TQVL_DateTime::FromParts(2024, 3, 13, 0, 40));
        unit.AddQuery(200, 10, false, 5, TQVL_DateTime::FromParts(2024, 3, 6, 23, 59));
        unit.AddQuery(100, 10, false, 5, TQVL_DateTime::FromParts(2024, 3, 6, 8, 0));
        days = statistics.GetDayQueries(14);
        image = QImage(560, 210, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        Chart::Draw(painter, image.size(), days);
    }
    void TearDown() override { TQVL_DateTime::SetClock({}); }
    QRgb pixel(int x, int y) const { return image.pixel(x, y); }

    TQVL_Result_User results;
    TQVL_Statistics statistics;
    TQVL_Statistics_DayQueries days;
    QImage image;
};

TEST_F(DayChartTest, LabelsNameTheWeekdaysTodayAndTheWholeMinutes)
{
    ASSERT_EQ(days.size(), 15u);
    const char* const expected[] = {"Mi", "Do", "Fr", "Sa", "So", "Mo", "Di", "Mi",
                                    "Do", "Fr", "Sa", "So", "Mo", "Di", "Heute"};
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(Chart::DayText(days, i), QString::fromLatin1(expected[i])) << i;
    EXPECT_EQ(Chart::MinutesText(days[14].Duration), QStringLiteral("10'"));
    EXPECT_EQ(Chart::MinutesText(days[7].Duration), QStringLiteral("5'"));
    EXPECT_EQ(Chart::MinutesText(days[0].Duration), QStringLiteral("0'"));
    EXPECT_EQ(Chart::MinutesText(59), QStringLiteral("0'"));
    EXPECT_EQ(Chart::FillPercent(0, 0), 0) << "an empty fortnight divides by 1";
}

TEST_F(DayChartTest, AnEmptyDayIsTheBarBodyWithItsHighlight)
{
    const int left = barLeft(0), right = left + 17;
    EXPECT_EQ(rgb(pixel(left - 1, 100)), "#ffffff");
    EXPECT_EQ(rgb(pixel(left, Top)), "#acb5cc");
    EXPECT_EQ(rgb(pixel(right - 1, Bottom - 1)), "#acb5cc");
    EXPECT_EQ(rgb(pixel(right, 100)), "#ffffff");
    EXPECT_EQ(rgb(pixel(left, Bottom)), "#ffffff");
    // The highlight runs along the top from right - 2 and down the left to bottom - 2.
    EXPECT_EQ(rgb(pixel(right - 2, Top + 1)), "#d6e0f7");
    EXPECT_EQ(rgb(pixel(left + 2, Top + 1)), "#d6e0f7");
    EXPECT_EQ(rgb(pixel(left + 1, Top + 1)), "#d6e0f7");
    EXPECT_EQ(rgb(pixel(left + 1, Bottom - 2)), "#d6e0f7");
    EXPECT_EQ(rgb(pixel(left + 1, Bottom - 1)), "#acb5cc");
    EXPECT_EQ(rgb(pixel(left + 2, Top + 2)), "#c4cee8");
    for (int y = Top + 2; y < Bottom - 1; ++y)
        ASSERT_EQ(rgb(pixel(left + 8, y)), "#c4cee8") << "no filling at y " << y;
}

TEST_F(DayChartTest, TheLongestDayFillsTheBarWithGrooves)
{
    const int left = barLeft(14), right = left + 17;
    // 100 %: 136 pixels high, from y 37 to 173 (exclusive), x from left + 4 to right - 4.
    const int fillTop = Bottom - 136 - 4;
    EXPECT_EQ(rgb(pixel(left + 8, fillTop - 1)), "#c4cee8");
    EXPECT_EQ(rgb(pixel(left + 4, fillTop)), "#89a1df");
    EXPECT_EQ(rgb(pixel(left + 3, 100)), "#c4cee8");
    EXPECT_EQ(rgb(pixel(right - 5, Bottom - 5)), "#89a1df");
    EXPECT_EQ(rgb(pixel(right - 4, 100)), "#c4cee8");
    EXPECT_EQ(rgb(pixel(left + 8, Bottom - 4)), "#c4cee8");
    // The line down the left edge and along the top, and the bright spot.
    EXPECT_EQ(rgb(pixel(left + 5, fillTop + 1)), "#9bb0c0");
    EXPECT_EQ(rgb(pixel(left + 5, Bottom - 6)), "#9bb0c0");
    EXPECT_EQ(rgb(pixel(left + 5, Bottom - 5)), "#89a1df");
    EXPECT_EQ(rgb(pixel(right - 5, fillTop + 1)), "#9bb0c0");
    EXPECT_EQ(rgb(pixel(left + 6, fillTop + 2)), "#dce3f6");
    // Grooves every 15 rows from the fill top, none closer than 6 rows to an end.
    std::vector<int> grooves;
    for (int y = fillTop + 2; y < Bottom - 4; ++y)
        if (pixel(left + 8, y) == Chart::LevelLine) {
            grooves.push_back(y);
            EXPECT_EQ(rgb(pixel(left + 8, y + 1)), "#7995db") << y;
            EXPECT_EQ(rgb(pixel(left + 6, y)), "#9bb0c0") << y;
            EXPECT_EQ(rgb(pixel(right - 7, y)), "#9bb0c0") << y;
            EXPECT_EQ(rgb(pixel(right - 6, y)), "#89a1df") << y;
        }
    EXPECT_EQ(grooves, (std::vector<int>{52, 67, 82, 97, 112, 127, 142, 157}));
}

TEST_F(DayChartTest, HalfTheLongestDayFillsHalfTheBarAndTheMinutesStandAbove)
{
    const int left = barLeft(7);
    // 300 of 600 seconds: 50 %, 68 pixels.
    const int fillTop = Bottom - 68 - 4;
    EXPECT_EQ(rgb(pixel(left + 8, fillTop - 1)), "#c4cee8");
    EXPECT_EQ(rgb(pixel(left + 8, fillTop)), "#89a1df");
    // Text above every bar (the minutes) and below it (the day).
    for (int i : {0, 7, 14}) {
        bool above = false, below = false;
        for (int x = barLeft(i) - 8; x < barLeft(i) + 25; ++x) {
            for (int y = Top - 16; y < Top - 2; ++y)
                above = above || pixel(x, y) != 0xFFFFFFFF;
            for (int y = Bottom + 4; y < Bottom + 18; ++y)
                below = below || pixel(x, y) != 0xFFFFFFFF;
        }
        EXPECT_TRUE(above) << i;
        EXPECT_TRUE(below) << i;
    }
}

} // namespace
