#include "content/QVL_Card_Pic_ClickArea_Circle.h"

#include "core/QVL_XMLTag.h"

#include <QPainter>

#include <cmath>

void TQVL_Card_Pic_ClickArea_Circle::LoadFromXML(const TQVL_XMLTag& tag)
{
    if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("left")))
        left = t->AsInteger();
    if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("top")))
        top = t->AsInteger();
    if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("radius")))
        radius = t->AsInteger();
}

void TQVL_Card_Pic_ClickArea_Circle::SaveToXML(TQVL_XMLTag& tag) const
{
    tag.AddInteger(QStringLiteral("left"), left);
    tag.AddInteger(QStringLiteral("top"), top);
    tag.AddInteger(QStringLiteral("radius"), radius);
}

bool TQVL_Card_Pic_ClickArea_Circle::Contains(qint32 x, qint32 y) const
{
    return std::hypot(double(x) - double(left), double(y) - double(top)) <= double(radius);
}

void TQVL_Card_Pic_ClickArea_Circle::Draw(QPainter& canvas, double scaleX, double scaleY) const
{
    // The outline is the border of what Contains accepts: `radius` is a radius.
    const int x1 = Scaled(qint64(left) - radius, scaleX);
    const int y1 = Scaled(qint64(top) - radius, scaleY);
    const int x2 = Scaled(qint64(left) + radius, scaleX);
    const int y2 = Scaled(qint64(top) + radius, scaleY);
    // A stroked ellipse in a QRect of width w touches x and x + w.
    canvas.drawEllipse(QRect(x1, y1, x2 - x1, y2 - y1));
}

std::unique_ptr<TQVL_Card_Pic_ClickArea> TQVL_Card_Pic_ClickArea_Circle::Clone() const
{
    return std::make_unique<TQVL_Card_Pic_ClickArea_Circle>(*this);
}
