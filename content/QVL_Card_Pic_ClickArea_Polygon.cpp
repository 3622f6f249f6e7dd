#include "content/QVL_Card_Pic_ClickArea_Polygon.h"

#include "core/QVL_Error.h"
#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLWriter.h"

#include <QPainter>
#include <QPolygon>

void TQVL_Card_Pic_ClickArea_Polygon::LoadFromXML(const TQVL_XMLElement& element)
{
    // Every child is a point, whatever its name; it is written back as "point".
    for (const TQVL_XMLElement point : element.Children()) {
        const qint32 x = point.NeedChild(QLatin1String("x")).AsInteger();
        const qint32 y = point.NeedChild(QLatin1String("y")).AsInteger();
        points.emplace_back(x, y);
    }
}

void TQVL_Card_Pic_ClickArea_Polygon::WriteXML(TQVL_XMLWriter& writer) const
{
    for (const QPoint& p : points) {
        writer.Begin(QLatin1String("point"));
        writer.Integer(QLatin1String("x"), p.x());
        writer.Integer(QLatin1String("y"), p.y());
        writer.End();
    }
}

bool TQVL_Card_Pic_ClickArea_Polygon::Contains(qint32 x, qint32 y) const
{
    bool inside = false;
    const std::size_t count = points.size();
    for (std::size_t i = 0; i < count; ++i) {
        const QPoint& a = points[i];
        const QPoint& b = points[i == 0 ? count - 1 : i - 1];
        if ((a.y() <= y && y < b.y()) || (b.y() <= y && y < a.y())) {
            const double crossing = a.x() + (double(b.x()) - a.x()) * (double(y) - a.y()) / (double(b.y()) - a.y());
            if (x < crossing)
                inside = !inside;
        }
    }
    return inside;
}

void TQVL_Card_Pic_ClickArea_Polygon::Draw(QPainter& canvas, double scaleX, double scaleY) const
{
    if (points.empty())
        return;
    QPolygon shown;
    shown.reserve(qsizetype(points.size()));
    // y by the vertical scale: a picture shown with another aspect ratio keeps
    // its outline on the area.
    for (const QPoint& p : points)
        shown.append(QPoint(Scaled(p.x(), scaleX), Scaled(p.y(), scaleY)));
    canvas.drawPolygon(shown);
}

std::unique_ptr<TQVL_Card_Pic_ClickArea> TQVL_Card_Pic_ClickArea_Polygon::Clone() const
{
    return std::make_unique<TQVL_Card_Pic_ClickArea_Polygon>(*this);
}

int TQVL_Card_Pic_ClickArea_Polygon::AddPoint(qint32 x, qint32 y)
{
    points.emplace_back(x, y);
    return int(points.size());
}
