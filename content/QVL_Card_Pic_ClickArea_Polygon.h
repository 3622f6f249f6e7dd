#pragma once

#include "content/QVL_Card_Pic_ClickArea.h"

#include <QPoint>

#include <vector>

// A closed polygon through its points, in order.
class TQVL_Card_Pic_ClickArea_Polygon : public TQVL_Card_Pic_ClickArea
{
public:
    TQVL_Card_Pic_ClickArea_Polygon() : TQVL_Card_Pic_ClickArea(catPolygon) {}

    // Every "point" needs both "x" and "y"; a point without them raises.
    void LoadFromXML(const TQVL_XMLElement& element) override;
    void WriteXML(TQVL_XMLWriter& writer) const override;
    // Even-odd rule; a polygon without points contains nothing.
    bool Contains(qint32 x, qint32 y) const override;
    void Draw(QPainter& canvas, double scaleX, double scaleY) const override;
    std::unique_ptr<TQVL_Card_Pic_ClickArea> Clone() const override;

    // Appends a point; returns the new number of points.
    int AddPoint(qint32 x, qint32 y);
    int PointCount() const { return int(points.size()); }
    QPoint Point(int index) const { return points[std::size_t(index)]; }
    void ClearPoints() { points.clear(); }

private:
    std::vector<QPoint> points;
};
