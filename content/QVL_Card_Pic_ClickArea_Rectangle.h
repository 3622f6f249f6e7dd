#pragma once

#include "content/QVL_Card_Pic_ClickArea.h"

// A rectangle with its upper left corner at (`left`, `top`).
class TQVL_Card_Pic_ClickArea_Rectangle : public TQVL_Card_Pic_ClickArea
{
public:
    TQVL_Card_Pic_ClickArea_Rectangle() : TQVL_Card_Pic_ClickArea(catRectangle) {}

    void LoadFromXML(const TQVL_XMLElement& element) override;
    void WriteXML(TQVL_XMLWriter& writer) const override;
    // The right and bottom edges lie outside.
    bool Contains(qint32 x, qint32 y) const override;
    void Draw(QPainter& canvas, double scaleX, double scaleY) const override;
    std::unique_ptr<TQVL_Card_Pic_ClickArea> Clone() const override;

    qint32 width = 0;
    qint32 top = 0;
    qint32 height = 0;
    qint32 left = 0;
};
