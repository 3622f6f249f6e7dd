#include "content/QVL_Card_Pic_ClickArea_Rectangle.h"

#include "core/QVL_XMLTag.h"

#include <QPainter>

void TQVL_Card_Pic_ClickArea_Rectangle::LoadFromXML(const TQVL_XMLTag& tag)
{
    if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("left")))
        left = t->AsInteger();
    if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("top")))
        top = t->AsInteger();
    if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("width")))
        width = t->AsInteger();
    if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("height")))
        height = t->AsInteger();
}

void TQVL_Card_Pic_ClickArea_Rectangle::SaveToXML(TQVL_XMLTag& tag) const
{
    tag.AddInteger(QStringLiteral("left"), left);
    tag.AddInteger(QStringLiteral("top"), top);
    tag.AddInteger(QStringLiteral("width"), width);
    tag.AddInteger(QStringLiteral("height"), height);
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
