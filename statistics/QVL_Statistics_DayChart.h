#pragma once

#include "core/QVL_DateTime.h"
#include "statistics/QVL_Statistics_DayQueries.h"

#include <QRgb>
#include <QSize>
#include <QString>

class QPainter;

// The bar chart of the daily query time: one bar per day, oldest left, each
// filled to its share of the longest day, with the weekday below ("Heute" for
// the last) and the whole minutes above.
class TQVL_Statistics_DayChart
{
public:
    static constexpr int BarWidth = 17;
    static constexpr int BarGap = 17;
    static constexpr int ChartHeight = 144;

    static constexpr QRgb BarOutline = 0xFFACB5CC;
    static constexpr QRgb BarFill = 0xFFC4CEE8;
    static constexpr QRgb BarHighlight = 0xFFD6E0F7;
    static constexpr QRgb LevelFill = 0xFF89A1DF;
    static constexpr QRgb LevelLine = 0xFF9BB0C0;
    static constexpr QRgb LevelSpot = 0xFFDCE3F6;
    static constexpr QRgb GrooveShadow = 0xFF7995DB;
    static constexpr QRgb TextColour = 0xFF283E55;

    // The width the chart is centred by: a gap counted after every bar, the
    // last one too, so the bars sit half a gap left of the middle.
    static int ChartWidth(int count) { return count * (BarWidth + BarGap); }
    // The chart's top-left corner, centred on a canvas of `size`.
    static int ChartLeft(QSize size, int count) { return size.width() / 2 - ChartWidth(count) / 2; }
    static int ChartTop(QSize size) { return size.height() / 2 - ChartHeight / 2; }
    // The fill level of a day in percent of the longest day (at least 1 second).
    static int FillPercent(qint32 duration, qint32 longest);
    // The height of the filling of a bar at `percent`.
    static int FillHeight(int percent);
    // "So", "Mo", "Di", "Mi", "Do", "Fr" or "Sa".
    static QString WeekdayText(TQVL_DateTime day);
    // The label below bar `index` of `count`: "Heute" for the last one.
    static QString DayText(const TQVL_Statistics_DayQueries& days, int index);
    // The label above a bar: the whole minutes and an apostrophe.
    static QString MinutesText(qint32 seconds);

    // Draws the chart of `days` centred on a canvas of `size` (the canvas is not cleared).
    static void Draw(QPainter& canvas, QSize size, const TQVL_Statistics_DayQueries& days);
};
