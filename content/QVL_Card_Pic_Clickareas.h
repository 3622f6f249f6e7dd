#pragma once

#include "content/QVL_Card_Pic_ClickArea.h"

#include <vector>

// The click areas of a picture card, in order; the list owns them.
class TQVL_Card_Pic_Clickareas
{
public:
    TQVL_Card_Pic_Clickareas();
    ~TQVL_Card_Pic_Clickareas();
    TQVL_Card_Pic_Clickareas(const TQVL_Card_Pic_Clickareas& other);
    TQVL_Card_Pic_Clickareas& operator=(const TQVL_Card_Pic_Clickareas&) = delete;

    int Count() const { return int(areas.size()); }
    TQVL_Card_Pic_ClickArea* Item(int index) const { return areas[std::size_t(index)].get(); }

    // Appends `area`; the list takes it over.
    TQVL_Card_Pic_ClickArea* Add(std::unique_ptr<TQVL_Card_Pic_ClickArea> area);
    // A new area of `areaType`, not added; nullptr for an unknown type.
    static std::unique_ptr<TQVL_Card_Pic_ClickArea> CreateArea(int areaType);
    // Creates, appends and returns an area of `areaType`; nullptr for an unknown type.
    TQVL_Card_Pic_ClickArea* AddNew(int areaType);
    // An area for "circle", "rectangle" or "polygon"; nullptr for any other name.
    static std::unique_ptr<TQVL_Card_Pic_ClickArea> CreateByName(QStringView name);

    void Delete(int index);
    // Deletes the first position holding `area`; nothing when it is not in the list.
    void Remove(const TQVL_Card_Pic_ClickArea* area);
    void Clear() { areas.clear(); }

    // Whether some area contains the picture pixel (x, y).
    bool Contains(qint32 x, qint32 y) const;

    // Appends the areas below a "clickareas" element; an element that names no
    // area kind raises.
    void LoadFromXML(const TQVL_XMLElement& element);
    // One element per area into the open "clickareas" element.
    void WriteXML(TQVL_XMLWriter& writer) const;

    // Draws every area in solid pure red with a transparent brush. `scaleX` and
    // `scaleY` are picture size / shown size.
    void Draw(QPainter& canvas, double scaleX, double scaleY) const;

private:
    std::vector<std::unique_ptr<TQVL_Card_Pic_ClickArea>> areas;
};
