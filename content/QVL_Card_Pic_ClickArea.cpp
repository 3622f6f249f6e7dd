#include "content/QVL_Card_Pic_ClickArea.h"

#include "core/QVL_Math.h"

#include <cmath>

TQVL_Card_Pic_ClickArea::~TQVL_Card_Pic_ClickArea() = default;

QString TQVL_Card_Pic_ClickArea::ElementName() const
{
    return QString(ElementNameLatin1());
}

QLatin1String TQVL_Card_Pic_ClickArea::ElementNameLatin1() const
{
    switch (AreaType) {
    case catCircle:
        return QLatin1String("circle");
    case catRectangle:
        return QLatin1String("rectangle");
    case catPolygon:
        return QLatin1String("polygon");
    }
    return {};
}

int TQVL_Card_Pic_ClickArea::Scaled(qint64 coordinate, double scale)
{
    const double shown = double(coordinate) / scale;
    // Far outside any paint device; also keeps the conversion defined.
    constexpr double limit = 1 << 24;
    if (!std::isfinite(shown))
        return 0;
    return int(RoundHalfEven(std::clamp(shown, -limit, limit)));
}
