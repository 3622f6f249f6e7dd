#include "statistics/QVL_Statistics_QuerySuccessDiagram.h"

#include "core/QVL_Math.h"
#include "query/QVL_Result_Unit.h"
#include "statistics/QVL_Statistics.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr QRgb white = 0xFFFFFFFF;
constexpr QRgb bandColour = 0xFFEEF2FC;
constexpr QRgb frameColour = 0xFFE3E8F5;
constexpr QRgb fontColour = 0xFF283E55;

int roundToInt(double value)
{
    return int(RoundHalfEven(value));
}

// Fills the pixels x1 <= x < x2, y1 <= y < y2.
void fillRegion(QPainter& canvas, int x1, int y1, int x2, int y2, QRgb colour)
{
    if (x2 > x1 && y2 > y1)
        canvas.fillRect(QRect(x1, y1, x2 - x1, y2 - y1), QColor::fromRgb(colour));
}

// The one-pixel border of the region x1 <= x < x2, y1 <= y < y2, drawn as
// fills so that it lands on the same pixels on every kind of canvas.
void outlineRegion(QPainter& canvas, int x1, int y1, int x2, int y2, QRgb colour)
{
    if (x2 <= x1 || y2 <= y1)
        return;
    fillRegion(canvas, x1, y1, x2, y1 + 1, colour);
    fillRegion(canvas, x1, y2 - 1, x2, y2, colour);
    fillRegion(canvas, x1, y1, x1 + 1, y2, colour);
    fillRegion(canvas, x2 - 1, y1, x2, y2, colour);
}

// Pixel access to the part of the canvas the lines are drawn on; `origin` is
// the canvas position of the image's top-left pixel. Pixels outside it are
// dropped.
class PixelLayer
{
public:
    PixelLayer(QImage& target, QPoint topLeft) : image(target), origin(topLeft) {}

    bool Contains(qint64 x, qint64 y) const
    {
        return x >= origin.x() && y >= origin.y() && x < qint64(origin.x()) + image.width() &&
               y < qint64(origin.y()) + image.height();
    }
    QRgb Pixel(qint64 x, qint64 y) const { return image.pixel(int(x - origin.x()), int(y - origin.y())); }
    void SetPixel(qint64 x, qint64 y, QRgb colour)
    {
        if (Contains(x, y))
            image.setPixel(int(x - origin.x()), int(y - origin.y()), colour);
    }
    // pen × weight + present colour × (1 − weight), channel by channel.
    void Blend(qint64 x, qint64 y, QRgb pen, double weight)
    {
        if (!Contains(x, y))
            return;
        const QRgb present = Pixel(x, y);
        const auto mix = [weight](int penChannel, int presentChannel) {
            return std::clamp(roundToInt(penChannel * weight + presentChannel * (1.0 - weight)), 0, 255);
        };
        SetPixel(
            x, y,
            qRgb(mix(qRed(pen), qRed(present)), mix(qGreen(pen), qGreen(present)), mix(qBlue(pen), qBlue(present))));
    }

private:
    QImage& image;
    QPoint origin;
};

// A line whose pixels on either side of the ideal line share the pen colour
// by their distance from it. The start pixel itself is left to the line that
// ends there.
void antiAliasedLine(PixelLayer& pixels, double x0, double y0, double x1, double y1, QRgb pen)
{
    if (x0 == x1 && y0 == y1)
        return;
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const bool xMajor = std::fabs(dx) >= std::fabs(dy);
    const double majorDiff = xMajor ? dx : dy;
    const double minorDiff = xMajor ? dy : dx;
    const double steps = std::trunc(std::fabs(majorDiff));
    if (steps < 1.0)
        return;
    const double direction = majorDiff < 0 ? -1.0 : 1.0;
    const double advance = minorDiff / steps;
    double major = xMajor ? x0 : y0;
    double minor = xMajor ? y0 : x0;
    const double fraction = major - std::floor(major);
    const double shift = direction < 0 ? fraction : 1.0 - fraction;
    major += direction * shift;
    minor += advance * shift;
    for (qint64 i = 0; i < qint64(steps); ++i) {
        const double whole = std::floor(minor);
        const double f = minor - whole;
        const qint64 m = qint64(whole);
        const qint64 at = RoundHalfEven(major);
        if (xMajor) {
            pixels.Blend(at, m, pen, 1.0 - f);
            pixels.Blend(at, m + 1, pen, f);
        } else {
            pixels.Blend(m, at, pen, 1.0 - f);
            pixels.Blend(m + 1, at, pen, f);
        }
        major += direction;
        minor += advance;
    }
}

void drawBands(QPainter& canvas, const TQVL_Statistics_QuerySuccessDiagram::Frame& frame)
{
    const int bandHeight = (frame.Bottom - frame.Top) / 10;
    for (int band = 0; band < 10; ++band) {
        const int top = frame.Top + band * bandHeight;
        fillRegion(canvas, frame.Left, top, frame.Right, top + bandHeight, band % 2 == 0 ? bandColour : white);
    }
}

void drawText(QPainter& canvas, int x, int y, const QString& text)
{
    canvas.drawText(QPoint(x, y + canvas.fontMetrics().ascent()), text);
}

} // namespace

QColor TQVL_Statistics_QuerySuccessDiagram::DiagramColor(int index)
{
    const int count = int(DiagramColors.size());
    return QColor::fromRgb(DiagramColors[std::size_t(((index % count) + count) % count)]);
}

QFont TQVL_Statistics_QuerySuccessDiagram::LabelFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

void TQVL_Statistics_QuerySuccessDiagram::Clear(QPaintDevice& image) const
{
    QPainter canvas(&image);
    if (canvas.isActive())
        canvas.fillRect(QRect(0, 0, image.width(), image.height()), Qt::white);
}

TQVL_Statistics_QuerySuccessDiagram::Frame TQVL_Statistics_QuerySuccessDiagram::FrameFor(int width, int height) const
{
    Frame frame;
    frame.Left = width / 2 - DiagramWidth / 2;
    frame.Right = width / 2 + DiagramWidth / 2;
    frame.Top = height / 2 - DiagramHeight / 2 - 5;
    frame.Bottom = height / 2 + DiagramHeight / 2 - 5;
    return frame;
}

void TQVL_Statistics_QuerySuccessDiagram::Draw(QPaintDevice& image, const TQVL_Statistics_UnitResults& units)
{
    // The frame is placed in the painter's coordinates, which a high-density
    // device scales by its pixel ratio.
    const double ratio = image.devicePixelRatioF() > 0 ? image.devicePixelRatioF() : 1.0;
    const Frame frame = FrameFor(int(image.width() / ratio), int(image.height() / ratio));
    QPainter canvas(&image);
    if (canvas.isActive())
        DrawOnCanvas(canvas, frame, units);
}

void TQVL_Statistics_QuerySuccessDiagram::DrawOnCanvas(QPainter& canvas, const Frame& frame,
                                                       const TQVL_Statistics_UnitResults& units)
{
    // Range.
    if (AutoRange) {
        DateFrom = TQVL_Statistics::GetFirstQueryDate(units);
        DateTo = TQVL_Statistics::GetLastQueryDate(units);
        if (DateFrom == DateTo) {
            DateFrom = TQVL_DateTime(DateFrom.Serial() - 0.5);
            DateTo = TQVL_DateTime(DateTo.Serial() + 0.5);
        }
    }

    // Background and lines. The lines mix their colour into the pixels below
    // them, which not every canvas can read back (a printer page cannot), so
    // they are drawn into an image of the frame and its border that is then
    // painted onto the canvas. The border rings are repainted by the frame below.
    QRect layerRect(QPoint(frame.Left - 3, frame.Top - 3), QPoint(frame.Right + 2, frame.Bottom + 2));
    // Only what can land on the device is kept, whatever size a caller gives
    // the frame; a recorded picture has no size yet.
    QPaintDevice* device = canvas.device();
    if (device && device->devType() != QInternal::Picture) {
        bool invertible = false;
        const QTransform toCanvas = canvas.deviceTransform().inverted(&invertible);
        if (invertible)
            layerRect &= toCanvas.mapRect(QRect(0, 0, device->width(), device->height()));
    }
    if (layerRect.isValid()) {
        QImage layer(layerRect.size(), QImage::Format_RGB32);
        layer.fill(white);
        {
            QPainter layerCanvas(&layer);
            layerCanvas.translate(-layerRect.topLeft());
            drawBands(layerCanvas, frame);
        }
        PixelLayer pixels(layer, layerRect.topLeft());

        const int plotLeft = frame.Left + 3;
        const int plotWidth = (frame.Right - 3) - plotLeft;
        const int height = frame.Bottom - frame.Top;
        const double span = DateTo.Serial() - DateFrom.Serial();
        int colourIndex = 0;
        for (const TQVL_Result_Unit* unit : units) {
            const QRgb pen = DiagramColors[std::size_t(colourIndex % int(DiagramColors.size()))];
            const auto inRange = [this](const TQVL_Result_Unit_Query& query) {
                return DateFrom <= query.datetime && query.datetime <= DateTo;
            };
            int count = 0;
            for (int i = 0; i < unit->QueryCount(); ++i)
                count += inRange(unit->Query(i)) ? 1 : 0;
            const bool markers = unit->QueryCount() == 1 || count == 1;

            int k = 0;
            QPoint previous;
            for (int i = 0; i < unit->QueryCount(); ++i) {
                const TQVL_Result_Unit_Query& query = unit->Query(i);
                if (!inRange(query))
                    continue;
                int x = 0;
                if (ScaleToDate) {
                    // A range of one moment has its points in the middle rather
                    // than at a division by zero.
                    x = plotLeft + (span > 0
                                        ? roundToInt((query.datetime.Serial() - DateFrom.Serial()) / span * plotWidth)
                                        : roundToInt(plotWidth * 0.5));
                } else if (count == 1) {
                    x = plotLeft + roundToInt(plotWidth * 0.5);
                } else {
                    x = plotLeft + roundToInt(double(plotWidth) * k / (count - 1));
                }
                // A profile whose counts contradict each other (more right
                // answers than answers) stays inside the frame.
                const int success =
                    query.queried != 0 ? std::clamp(roundToInt(query.right * 100.0 / query.queried), 0, 100) : 0;
                const int y = frame.Bottom - roundToInt(height * success / 100.0);
                if (k == 0)
                    previous = QPoint(x, y);
                antiAliasedLine(pixels, previous.x(), previous.y(), x, y, pen);
                if (markers)
                    for (int my = y - 2; my < y + 1; ++my)
                        for (int mx = x - 2; mx < x + 1; ++mx)
                            pixels.SetPixel(mx, my, pen);
                previous = QPoint(x, y);
                ++k;
            }
            if (count > 0)
                ++colourIndex;
        }
        canvas.drawImage(layerRect.topLeft(), layer);
    }

    // Frame; the two white rings wipe what the lines drew beyond it.
    outlineRegion(canvas, frame.Left - 1, frame.Top - 1, frame.Right + 1, frame.Bottom + 1, frameColour);
    outlineRegion(canvas, frame.Left - 2, frame.Top - 2, frame.Right + 2, frame.Bottom + 2, white);
    outlineRegion(canvas, frame.Left - 3, frame.Top - 3, frame.Right + 3, frame.Bottom + 3, white);

    // Labels.
    canvas.setFont(LabelFont());
    canvas.setPen(QColor::fromRgb(fontColour));
    const QFontMetrics metrics = canvas.fontMetrics();
    const int height = frame.Bottom - frame.Top;
    const int halfTextHeight = metrics.height() / 2;
    const struct
    {
        const char* text;
        double fraction;
    } percentLabels[] = {{"0 %", 1.0}, {"25 %", 0.75}, {"50 %", 0.5}, {"75 %", 0.25}, {"100 %", 0.0}};
    for (const auto& label : percentLabels)
        drawText(canvas, frame.Right + 5, frame.Top + roundToInt(height * label.fraction) - halfTextHeight - 1,
                 QString::fromLatin1(label.text));

    const int labelTop = frame.Bottom + 2;
    drawText(canvas, frame.Left, labelTop, ScaleToDate ? DateFrom.ShortDateText() : QStringLiteral("Erste Abfrage"));
    if (ScaleToDate) {
        const QString middle =
            TQVL_DateTime(DateFrom.Serial() + (DateTo.Serial() - DateFrom.Serial()) / 2).ShortDateText();
        drawText(canvas, frame.Left + (frame.Right - frame.Left) / 2 - metrics.horizontalAdvance(middle) / 2 - 2,
                 labelTop, middle);
    }
    const QString right = DateTo.ShortDateText() == TQVL_DateTime::Now().ShortDateText() ? QStringLiteral("Heute")
                                                                                         : DateTo.ShortDateText();
    drawText(canvas, frame.Right - metrics.horizontalAdvance(right) - 2, labelTop, right);
}
