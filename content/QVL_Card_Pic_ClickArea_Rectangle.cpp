#include "content/QVL_Card_Pic_ClickArea_Rectangle.h"

#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLWriter.h"

#include <QPainter>

void TQVL_Card_Pic_ClickArea_Rectangle::LoadFromXML(const TQVL_XMLElement& element)
{
    if (const TQVL_XMLElement e = element.FindChild(QLatin1String("left")))
        left = e.AsInteger();
    if (const TQVL_XMLElement e = element.FindChild(QLatin1String("top")))
        top = e.AsInteger();
    if (const TQVL_XMLElement e = element.FindChild(QLatin1String("width")))
        width = e.AsInteger();
    if (const TQVL_XMLElement e = element.FindChild(QLatin1String("height")))
        height = e.AsInteger();
}

void TQVL_Card_Pic_ClickArea_Rectangle::WriteXML(TQVL_XMLWriter& writer) const
{
    writer.Integer(QLatin1String("left"), left);
    writer.Integer(QLatin1String("top"), top);
    writer.Integer(QLatin1String("width"), width);
    writer.Integer(QLatin1String("height"), height);
}

bool TQVL_Card_Pic_ClickArea_Rectangle::Contains(qint32 x, qint32 y) const
{
    // In 64 bits: left + width may lie beyond the 32-bit range.
    return left <= x && qint64(x) < qint64(left) + width && top <= y && qint64(y) < qint64(top) + height;
}

void TQVL_Card_Pic_ClickArea_Rectangle::Draw(QPainter& canvas, double scaleX, double scaleY) const
{
    const int x1 = Scaled(left, scaleX);
    const int y1 = Scaled(top, scaleY);
    const int x2 = Scaled(qint64(left) + width, scaleX);
    const int y2 = Scaled(qint64(top) + height, scaleY);
    // A stroked QRect covers width + 1 pixels; the outline runs on the last
    // pixels inside, as the right and bottom edges are outside for Contains.
    canvas.drawRect(QRect(x1, y1, x2 - 1 - x1, y2 - 1 - y1));
}

std::unique_ptr<TQVL_Card_Pic_ClickArea> TQVL_Card_Pic_ClickArea_Rectangle::Clone() const
{
    return std::make_unique<TQVL_Card_Pic_ClickArea_Rectangle>(*this);
}
