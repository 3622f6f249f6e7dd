#include "query/QVL_Result_Unit.h"
#include "statistics/QVL_Statistics_QuerySuccessDiagram.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <memory>

namespace {

using Diagram = TQVL_Statistics_QuerySuccessDiagram;

constexpr QRgb white = 0xFFFFFFFF;
constexpr QRgb band = 0xFFEEF2FC;
constexpr QRgb frameLine = 0xFFE3E8F5;
constexpr QRgb red = Diagram::DiagramColors[0];
constexpr QRgb yellow = Diagram::DiagramColors[1];

// A 450 × 150 frame on a 500 × 200 image: Left 25, Top 20, Right 475, Bottom
// 170; the points lie between x 28 and 472, bands are 15 pixels high. With the
// range set to 444 days from `day0`, a query `n` days after it lies at x 28 + n.
class DiagramTest : public ::testing::Test
{
protected:
    static constexpr int Left = 25, Top = 20, Right = 475, Bottom = 170, PlotLeft = 28, PlotRight = 472;

    void SetUp() override
    {
        TQVL_DateTime::SetClock([] { return QDateTime(QDate(2024, 3, 10), QTime(12, 0)); });
        diagram.DiagramWidth = 450;
        diagram.DiagramHeight = 150;
        diagram.AutoRange = false;
        diagram.ScaleToDate = true;
        diagram.DateFrom = day0;
        diagram.DateTo = TQVL_DateTime(day0.Serial() + 444);
    }
    void TearDown() override { TQVL_DateTime::SetClock({}); }

    TQVL_Result_Unit& addUnit()
    {
        units.push_back(std::make_unique<TQVL_Result_Unit>(QString::number(units.size())));
        return *units.back();
    }
    // A query `days` after day0 with `right` of 10 answers right.
    void addQuery(TQVL_Result_Unit& unit, double days, qint32 right, qint32 queried = 10)
    {
        unit.AddQuery(60, queried, false, right, TQVL_DateTime(day0.Serial() + days));
    }
    QImage draw(QSize size = QSize(500, 200))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::red);
        diagram.Clear(image);
        TQVL_Statistics_UnitResults list;
        for (const auto& unit : units)
            list.push_back(unit.get());
        diagram.Draw(image, list);
        return image;
    }

    const TQVL_DateTime day0 = TQVL_DateTime::FromParts(2024, 1, 1);
    Diagram diagram;
    std::vector<std::unique_ptr<TQVL_Result_Unit>> units;
};

// The smallest rectangle around the non-white pixels of `area`, or an empty one.
QRect ink(const QImage& image, const QRect& area)
{
    QRect found;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (image.pixel(x, y) != white)
                found |= QRect(x, y, 1, 1);
    return found;
}

std::string rgb(QRgb colour)
{
    return QColor::fromRgb(colour).name().toStdString();
}

#define EXPECT_PIXEL(image, x, y, colour) EXPECT_EQ(rgb((image).pixel(x, y)), rgb(colour)) << "at " << x << "," << y

TEST_F(DiagramTest, FrameSitsAboveTheCentreWithTenBandsAndAFrameLine)
{
    const struct
    {
        QSize image, frame;
        int left, top, right, bottom;
    } cases[] = {
        {{500, 200}, {450, 150}, 25, 20, 475, 170}, {{521, 171}, {461, 111}, 30, 25, 490, 135}, // odd sizes divide down
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.left);
        diagram.DiagramWidth = c.frame.width();
        diagram.DiagramHeight = c.frame.height();
        const QImage image = draw(c.image);
        const int bandHeight = (c.bottom - c.top) / 10;

        EXPECT_PIXEL(image, 0, 0, white);
        EXPECT_PIXEL(image, c.left, c.top, band);
        EXPECT_PIXEL(image, c.right - 1, c.top + bandHeight - 1, band);
        EXPECT_PIXEL(image, c.left + 10, c.top + bandHeight, white);
        EXPECT_PIXEL(image, c.left + 10, c.top + 8 * bandHeight + 1, band);
        EXPECT_PIXEL(image, c.left + 10, c.top + 9 * bandHeight + 1, white);

        for (const QPoint& edge : {QPoint(c.left - 1, c.top + 30), QPoint(c.right, c.top + 30),
                                   QPoint(c.left + 30, c.top - 1), QPoint(c.left + 30, c.bottom)})
            EXPECT_PIXEL(image, edge.x(), edge.y(), frameLine);
        for (const QPoint& outside : {QPoint(c.left - 2, c.top + 30), QPoint(c.right + 1, c.top + 30),
                                      QPoint(c.left + 30, c.top - 2), QPoint(c.left + 30, c.bottom + 1)})
            EXPECT_PIXEL(image, outside.x(), outside.y(), white);
    }
}

TEST_F(DiagramTest, LinesShareTheirColourWithTheTwoNearestPixels)
{
    // 50 % to 100 %, 150 pixels to the right: half a pixel up per step.
    TQVL_Result_Unit& flat = addUnit();
    addQuery(flat, 0, 5);
    addQuery(flat, 150, 10);
    // 0 % to 100 %, 75 pixels to the right: the walk runs along y.
    TQVL_Result_Unit& steep = addUnit();
    addQuery(steep, 200, 0);
    addQuery(steep, 275, 10);

    const QImage image = draw();

    // (29, 94.5) halves over a band row and a white row, halves rounded to even.
    EXPECT_PIXEL(image, 29, 94, qRgb(246, 146, 126));
    EXPECT_PIXEL(image, 29, 95, qRgb(255, 153, 128));
    EXPECT_PIXEL(image, 30, 94, red);
    EXPECT_PIXEL(image, 30, 95, white);
    EXPECT_PIXEL(image, 178, 20, red);
    EXPECT_PIXEL(image, 179, 20, band);

    // The second unit takes the second colour; (228.5, 169) halves sideways.
    EXPECT_PIXEL(image, 228, 169, qRgb(255, 230, 128));
    EXPECT_PIXEL(image, 229, 169, qRgb(255, 230, 128));
    EXPECT_PIXEL(image, 229, 168, yellow);
    EXPECT_PIXEL(image, 230, 168, white);
    EXPECT_PIXEL(image, 265, 96, yellow); // 74 rows up, 37 pixels to the right
    // Walking up from a whole row starts on that row, so the end row stays untouched.
    EXPECT_PIXEL(image, 303, 20, band);
}

TEST_F(DiagramTest, SinglePointOfARangeTakenFromTheDataIsMarkedInTheMiddle)
{
    diagram.AutoRange = true;
    diagram.DateFrom = diagram.DateTo = TQVL_DateTime();
    const TQVL_DateTime when = TQVL_DateTime::FromParts(2024, 3, 5, 10);
    addUnit().AddQuery(60, 10, false, 6, when);

    const QImage image = draw();

    EXPECT_EQ(diagram.DateFrom, TQVL_DateTime(when.Serial() - 0.5));
    EXPECT_EQ(diagram.DateTo, TQVL_DateTime(when.Serial() + 0.5));
    // Middle x 28 + 222 = 250; 60 % of 150 above the bottom: y 80.
    for (int y = 78; y <= 80; ++y)
        for (int x = 248; x <= 250; ++x)
            EXPECT_PIXEL(image, x, y, red);
    EXPECT_PIXEL(image, 251, 80, band);
    EXPECT_PIXEL(image, 250, 81, band);
}

TEST_F(DiagramTest, EvenlySpreadPointsReachBothEndsAndOnlyLonePointsAreMarked)
{
    diagram.ScaleToDate = false;
    TQVL_Result_Unit& spread = addUnit();
    addQuery(spread, -1, 2); // before the range
    addQuery(spread, 10, 5);
    addQuery(spread, 444, 5); // the end of the range is drawn
    TQVL_Result_Unit& lone = addUnit();
    addQuery(lone, 300, 8);
    addQuery(lone, 500, 9);

    const QImage image = draw();

    EXPECT_PIXEL(image, PlotLeft, 95, white); // the start pixel is left to a line ending there
    EXPECT_PIXEL(image, PlotLeft + 1, 95, red);
    EXPECT_PIXEL(image, PlotRight, 95, red);
    EXPECT_PIXEL(image, PlotRight + 1, 95, white);
    EXPECT_PIXEL(image, PlotLeft, 94, band); // no marker
    // One of two queries in range: a marker in the middle at 80 %, y 50.
    EXPECT_PIXEL(image, 248, 48, yellow);
    EXPECT_PIXEL(image, 250, 50, yellow);
}

TEST_F(DiagramTest, TenthUnitWithPointsStartsThePaletteAgain)
{
    diagram.ScaleToDate = false;
    addQuery(addUnit(), 600, 5); // no point in range: takes no colour
    for (int k = 1; k <= 10; ++k)
        addQuery(addUnit(), 100, 8 * k, 100);

    const QImage image = draw();

    for (int k = 1; k <= 10; ++k) {
        SCOPED_TRACE(k);
        const int y = Bottom - 150 * 8 * k / 100;
        EXPECT_PIXEL(image, 249, y - 1, Diagram::DiagramColors[std::size_t((k - 1) % 9)]);
    }
}

TEST_F(DiagramTest, QueryWithoutAnswersLiesOnTheBottomLine)
{
    diagram.ScaleToDate = false;
    TQVL_Result_Unit& unit = addUnit();
    addQuery(unit, 1, 0, 0);
    addQuery(unit, 2, 10);

    const QImage image = draw();

    // From (28, 170) to (472, 20); one step in: y 169.66, mostly on row 170,
    // which the frame line covers, a third on row 169.
    EXPECT_NE(image.pixel(29, 169), white);
    EXPECT_PIXEL(image, 29, Bottom, frameLine);
}

TEST_F(DiagramTest, SoundDataStaysInsideTheFrame)
{
    // A range of one moment: the points in the middle, not at a division by zero.
    diagram.DateTo = diagram.DateFrom;
    // More right answers than answers: drawn at 100 %, not above the frame.
    addQuery(addUnit(), 0, 15);
    addQuery(addUnit(), 0, 5);

    const QImage image = draw();

    EXPECT_PIXEL(image, 250, Top, red);
    EXPECT_PIXEL(image, 250, Top - 2, white);
    EXPECT_PIXEL(image, 250, 95, yellow);
    EXPECT_PIXEL(image, 248, 93, yellow);
}

TEST_F(DiagramTest, FrameLargerThanTheImageIsCutOff)
{
    TQVL_Result_Unit& unit = addUnit();
    addQuery(unit, 0, 0);
    addQuery(unit, 444, 10);
    // Left -175, Top -50: the rows from 10 on are the fifth band.
    const QImage image = draw(QSize(100, 60));
    EXPECT_PIXEL(image, 0, 10, band);
    EXPECT_PIXEL(image, 50, 25, red);
}

TEST_F(DiagramTest, PercentLabelsStandBesideTheirGridLines)
{
    const QImage image = draw();

    // Rows with ink right of the frame, grouped into runs.
    std::vector<std::pair<int, int>> runs;
    for (int y = 0; y < image.height(); ++y) {
        if (ink(image, QRect(Right + 5, y, image.width(), 1)).isEmpty())
            continue;
        if (!runs.empty() && runs.back().second == y - 1)
            runs.back().second = y;
        else
            runs.emplace_back(y, y);
    }
    const int grid[] = {Top, Top + 38, Top + 75, Top + 112, Bottom}; // 100 %, 75 %, 50 %, 25 %, 0 %
    ASSERT_EQ(runs.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR((runs[i].first + runs[i].second) / 2.0, grid[i], 4.0);
    }
    EXPECT_GE(ink(image, QRect(Right + 3, 0, image.width(), image.height())).left(), Right + 5);
}

TEST_F(DiagramTest, RightLabelSaysTodayForAnyTimeOfToday)
{
    const QRect rightLabel(Right - 100, Bottom + 2, 103, 25); // short of the "0 %" beside the frame
    const auto labelWidth = [&](TQVL_DateTime dateTo) {
        diagram.DateTo = dateTo;
        const QRect found = ink(draw(), rightLabel);
        EXPECT_FALSE(found.isEmpty());
        EXPECT_LE(found.right(), Right - 2);
        EXPECT_GE(found.right(), Right - 6);
        return found.width();
    };
    const int today = labelWidth(TQVL_DateTime::FromParts(2024, 3, 10, 0, 0, 1));
    EXPECT_EQ(labelWidth(TQVL_DateTime::FromParts(2024, 3, 10, 23, 59, 59)), today);
    const int yesterday = labelWidth(TQVL_DateTime::FromParts(2024, 3, 9, 23, 59, 59));
    EXPECT_LT(today + 8, yesterday);
}

TEST_F(DiagramTest, MiddleDateLabelOnlyOnATimeAxis)
{
    const QRect middle(Left + 150, Bottom + 2, 150, 25);
    const QRect left(Left - 3, Bottom + 2, 120, 25);

    const QImage timeAxis = draw();
    EXPECT_FALSE(ink(timeAxis, middle).isEmpty());
    EXPECT_NEAR(ink(timeAxis, left).left(), Left, 2);

    diagram.ScaleToDate = false;
    const QImage spread = draw();
    EXPECT_TRUE(ink(spread, middle).isEmpty());
    EXPECT_NEAR(ink(spread, left).left(), Left, 2);
    // "Erste Abfrage" is wider than a date.
    EXPECT_GT(ink(spread, left).width(), ink(timeAxis, left).width() + 5);
}

TEST_F(DiagramTest, DrawsOnAScaledCanvasAsOnAPrinterPage)
{
    TQVL_Result_Unit& unit = addUnit();
    addQuery(unit, 0, 5);
    addQuery(unit, 150, 10);
    const QImage plain = draw();

    QImage page(1000, 400, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter canvas(&page);
        canvas.scale(2, 2);
        diagram.DrawOnCanvas(canvas, diagram.FrameFor(500, 200), {&unit});
    }
    for (const QPoint& at : {QPoint(30, 94), QPoint(29, 95), QPoint(Left + 5, Top + 1), QPoint(Left - 1, 80)}) {
        SCOPED_TRACE(at.x());
        EXPECT_PIXEL(page, 2 * at.x(), 2 * at.y(), plain.pixel(at));
        EXPECT_PIXEL(page, 2 * at.x() + 1, 2 * at.y() + 1, plain.pixel(at));
    }
}

} // namespace
