#pragma once

#include "core/QVL_DateTime.h"
#include "statistics/QVL_Statistics_UnitResults.h"

#include <QColor>
#include <QFont>
#include <QRgb>

#include <array>

class QImage;
class QPaintDevice;
class QPainter;

// The success diagram: one line per unit through the success percentage of
// each stored query, over banded background, with percent and date labels.
// One shared instance serves the statistics screen and the query result
// screen; each sets every field before it draws.
class TQVL_Statistics_QuerySuccessDiagram
{
public:
    // The plot frame. Right and Bottom are exclusive, as in the rectangles
    // below: the frame covers Left <= x < Right, Top <= y < Bottom.
    struct Frame
    {
        int Left = 0;
        int Top = 0;
        int Right = 0;
        int Bottom = 0;
    };

    // Line colours, one per unit that has points; the legend of the
    // statistics screen uses the same order.
    static constexpr std::array<QRgb, 9> DiagramColors = {0xFFFF3300, 0xFFFFCC00, 0xFF996600, 0xFFFF794B, 0xFF0066CC,
                                                          0xFF99CCFF, 0xFF9999CC, 0xFF006600, 0xFF66CC33};
    // Colour number `index` mod 9.
    static QColor DiagramColor(int index);
    // The font of the labels.
    static QFont LabelFont();

    // Paints the whole device white.
    void Clear(QPaintDevice& image) const;
    // Draws the diagram of `units` centred on the device (the frame 5 pixels
    // above the centre, leaving room for the date labels). With AutoRange the
    // range is first taken from the units' queries and kept in DateFrom/DateTo.
    void Draw(QPaintDevice& image, const TQVL_Statistics_UnitResults& units);
    // The frame Draw uses on a device of `width` × `height` pixels.
    Frame FrameFor(int width, int height) const;
    // The drawing itself, onto any canvas and frame (a printer page, a widget).
    void DrawOnCanvas(QPainter& canvas, const Frame& frame, const TQVL_Statistics_UnitResults& units);

    // True: points lie on a time axis; false: each unit's points are spread evenly.
    bool ScaleToDate = true;
    // True: DateFrom and DateTo are taken from the data when drawing.
    bool AutoRange = false;
    TQVL_DateTime DateTo;
    TQVL_DateTime DateFrom;
    // Size of the plot frame in pixels.
    qint32 DiagramHeight = 150;
    qint32 DiagramWidth = 450;
};
