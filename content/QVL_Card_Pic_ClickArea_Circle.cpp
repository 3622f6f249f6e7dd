#include "content/QVL_Card_Pic_ClickArea_Circle.h"

#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLWriter.h"

#include <QPainter>

#include <cmath>

void TQVL_Card_Pic_ClickArea_Circle::LoadFromXML(const TQVL_XMLElement& element)
{
    if (const TQVL_XMLElement e = element.FindChild(QLatin1String("left")))
        left = e.AsInteger();
    if (const TQVL_XMLElement e = element.FindChild(QLatin1String("top")))
        top = e.AsInteger();
    if (const TQVL_XMLElement e = element.FindChild(QLatin1String("radius")))
        radius = e.AsInteger();
}

void TQVL_Card_Pic_ClickArea_Circle::WriteXML(TQVL_XMLWriter& writer) const
{
    writer.Integer(QLatin1String("left"), left);
    writer.Integer(QLatin1String("top"), top);
    writer.Integer(QLatin1String("radius"), radius);
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
