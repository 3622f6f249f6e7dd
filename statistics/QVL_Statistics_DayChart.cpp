#include "statistics/QVL_Statistics_DayChart.h"

#include "core/QVL_Math.h"
#include "statistics/QVL_Statistics_QuerySuccessDiagram.h"

#include <QPainter>

#include <algorithm>

namespace {

// Fills the pixels x1 <= x < x2, y1 <= y < y2.
void fillRegion(QPainter& canvas, int x1, int y1, int x2, int y2, QRgb colour)
{
    if (x2 > x1 && y2 > y1)
        canvas.fillRect(QRect(x1, y1, x2 - x1, y2 - y1), QColor::fromRgb(colour));
}

// A rectangle covering x1 <= x < x2, y1 <= y < y2: its border in `outline`, the inside in `fill`.
void rectangle(QPainter& canvas, int x1, int y1, int x2, int y2, QRgb outline, QRgb fill)
{
    if (x2 <= x1 || y2 <= y1)
        return;
    fillRegion(canvas, x1, y1, x2, y2, outline);
    fillRegion(canvas, x1 + 1, y1 + 1, x2 - 1, y2 - 1, fill);
}

// A horizontal or vertical line from (x1, y1) towards (x2, y2), the end point left out.
void line(QPainter& canvas, int x1, int y1, int x2, int y2, QRgb colour)
{
    if (y1 == y2) {
        if (x2 > x1)
            fillRegion(canvas, x1, y1, x2, y1 + 1, colour);
        else
            fillRegion(canvas, x2 + 1, y1, x1 + 1, y1 + 1, colour);
    } else if (x1 == x2) {
        if (y2 > y1)
            fillRegion(canvas, x1, y1, x1 + 1, y2, colour);
        else
            fillRegion(canvas, x1, y2 + 1, x1 + 1, y1 + 1, colour);
    }
}

void centredText(QPainter& canvas, int barLeft, int top, const QString& text)
{
    const QFontMetrics metrics = canvas.fontMetrics();
    const int width = metrics.horizontalAdvance(text);
    const int x = barLeft + TQVL_Statistics_DayChart::BarWidth / 2 - width / 2;
    canvas.drawText(QPoint(x, top + metrics.ascent()), text);
}

} // namespace

int TQVL_Statistics_DayChart::FillPercent(qint32 duration, qint32 longest)
{
    return int(RoundHalfEven(double(duration) * 100.0 / std::max<qint32>(longest, 1)));
}

int TQVL_Statistics_DayChart::FillHeight(int percent)
{
    return int(RoundHalfEven((ChartHeight - 8) / 100.0 * percent));
}

QString TQVL_Statistics_DayChart::WeekdayText(TQVL_DateTime day)
{
    static const char* const names[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    const int weekday = day.Date().dayOfWeek();
    return weekday >= 1 && weekday <= 7 ? QString::fromLatin1(names[weekday - 1]) : QString();
}

QString TQVL_Statistics_DayChart::DayText(const TQVL_Statistics_DayQueries& days, int index)
{
    if (index == int(days.size()) - 1)
        return QStringLiteral("Heute");
    return WeekdayText(days[std::size_t(index)].Date);
}

QString TQVL_Statistics_DayChart::MinutesText(qint32 seconds)
{
    return QString::number(seconds / 60) + QLatin1Char('\'');
}

void TQVL_Statistics_DayChart::Draw(QPainter& canvas, QSize size, const TQVL_Statistics_DayQueries& days)
{
    const int count = int(days.size());
    if (count == 0)
        return;
    const int left = ChartLeft(size, count);
    const int top = ChartTop(size);
    const int bottom = top + ChartHeight;
    qint32 longest = 1;
    for (const DayQuery& day : days)
        longest = std::max(longest, day.Duration);

    canvas.save();
    canvas.setFont(TQVL_Statistics_QuerySuccessDiagram::LabelFont());
    canvas.setPen(QColor::fromRgb(TextColour));
    for (int i = 0; i < count; ++i) {
        const int barLeft = left + i * (BarWidth + BarGap);
        const int barRight = barLeft + BarWidth;
        rectangle(canvas, barLeft, top, barRight, bottom, BarOutline, BarFill);
        line(canvas, barRight - 2, top + 1, barLeft + 1, top + 1, BarHighlight);
        line(canvas, barLeft + 1, top + 1, barLeft + 1, bottom - 1, BarHighlight);

        const int percent = FillPercent(days[std::size_t(i)].Duration, longest);
        if (percent > 0) {
            const int height = FillHeight(percent);
            const int fillTop = bottom - height - 4;
            rectangle(canvas, barLeft + 4, fillTop, barRight - 4, bottom - 4, LevelFill, LevelFill);
            line(canvas, barRight - 5, fillTop + 1, barLeft + 5, fillTop + 1, LevelLine);
            line(canvas, barLeft + 5, fillTop + 1, barLeft + 5, bottom - 5, LevelLine);
            fillRegion(canvas, barLeft + 6, fillTop + 2, barLeft + 7, fillTop + 3, LevelSpot);
            for (int d = fillTop; bottom - d > 5; ++d) {
                if (d - fillTop > 5 && (d - fillTop) % 15 == 0) {
                    line(canvas, barLeft + 6, d, barRight - 6, d, LevelLine);
                    line(canvas, barLeft + 6, d + 1, barRight - 6, d + 1, GrooveShadow);
                }
            }
        }
        centredText(canvas, barLeft, bottom + 4, DayText(days, i));
        centredText(canvas, barLeft, top - 16, MinutesText(days[std::size_t(i)].Duration));
    }
    canvas.restore();
}
