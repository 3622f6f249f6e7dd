#pragma once

#include "core/QVL_XMLElement.h"

#include <QString>

#include <memory>

class QPainter;
class TQVL_XMLWriter;

enum TQVL_ClickAreaType : quint8
{
    catCircle = 0,
    catRectangle = 1,
    catPolygon = 2,
};

// A place in the picture of a picture card that counts as a right click.
// Coordinates are pixels of the picture as stored; drawing maps them to the
// size the picture is shown at.
class TQVL_Card_Pic_ClickArea
{
public:
    virtual ~TQVL_Card_Pic_ClickArea();
    TQVL_Card_Pic_ClickArea& operator=(const TQVL_Card_Pic_ClickArea&) = delete;

    // Reads the children of the area's element; a value that is not a number raises.
    virtual void LoadFromXML(const TQVL_XMLElement& element) = 0;
    // Writes the children of the area's open element.
    virtual void WriteXML(TQVL_XMLWriter& writer) const = 0;
    // Whether the picture pixel (x, y) lies in the area.
    virtual bool Contains(qint32 x, qint32 y) const = 0;
    // Draws the outline with the painter's pen and brush. `scaleX` and `scaleY`
    // are picture size / shown size; every coordinate is divided by its scale.
    virtual void Draw(QPainter& canvas, double scaleX, double scaleY) const = 0;
    virtual std::unique_ptr<TQVL_Card_Pic_ClickArea> Clone() const = 0;

    // "circle", "rectangle" or "polygon".
    QString ElementName() const;
    QLatin1String ElementNameLatin1() const;

    const TQVL_ClickAreaType AreaType;

protected:
    explicit TQVL_Card_Pic_ClickArea(TQVL_ClickAreaType areaType) : AreaType(areaType) {}
    TQVL_Card_Pic_ClickArea(const TQVL_Card_Pic_ClickArea&) = default;

    // A picture coordinate at the shown size: divided by `scale`, rounded half
    // to even. Degenerate scales (a picture or display of size 0) give 0.
    static int Scaled(qint64 coordinate, double scale);
};
