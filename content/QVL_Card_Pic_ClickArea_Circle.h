#pragma once

#include "content/QVL_Card_Pic_ClickArea.h"

// A circle around (`left`, `top`).
class TQVL_Card_Pic_ClickArea_Circle : public TQVL_Card_Pic_ClickArea
{
public:
    TQVL_Card_Pic_ClickArea_Circle() : TQVL_Card_Pic_ClickArea(catCircle) {}

    void LoadFromXML(const TQVL_XMLElement& element) override;
    void WriteXML(TQVL_XMLWriter& writer) const override;
    // Contained when the distance to the centre is at most `radius`.
    bool Contains(qint32 x, qint32 y) const override;
    void Draw(QPainter& canvas, double scaleX, double scaleY) const override;
    std::unique_ptr<TQVL_Card_Pic_ClickArea> Clone() const override;

    qint32 radius = 0;
    qint32 top = 0;
    qint32 left = 0;
};
