#include "content/QVL_Card_Pic_Clickareas.h"

#include "content/QVL_Card_Pic_ClickArea_Circle.h"
#include "content/QVL_Card_Pic_ClickArea_Polygon.h"
#include "content/QVL_Card_Pic_ClickArea_Rectangle.h"
#include "core/QVL_Error.h"
#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLWriter.h"

#include <QPainter>

TQVL_Card_Pic_Clickareas::TQVL_Card_Pic_Clickareas() = default;

TQVL_Card_Pic_Clickareas::~TQVL_Card_Pic_Clickareas() = default;

TQVL_Card_Pic_Clickareas::TQVL_Card_Pic_Clickareas(const TQVL_Card_Pic_Clickareas& other)
{
    areas.reserve(other.areas.size());
    for (const auto& area : other.areas)
        areas.push_back(area->Clone());
}

TQVL_Card_Pic_ClickArea* TQVL_Card_Pic_Clickareas::Add(std::unique_ptr<TQVL_Card_Pic_ClickArea> area)
{
    areas.push_back(std::move(area));
    return areas.back().get();
}

std::unique_ptr<TQVL_Card_Pic_ClickArea> TQVL_Card_Pic_Clickareas::CreateArea(int areaType)
{
    switch (areaType) {
    case catCircle:
        return std::make_unique<TQVL_Card_Pic_ClickArea_Circle>();
    case catRectangle:
        return std::make_unique<TQVL_Card_Pic_ClickArea_Rectangle>();
    case catPolygon:
        return std::make_unique<TQVL_Card_Pic_ClickArea_Polygon>();
    default:
        return nullptr;
    }
}

TQVL_Card_Pic_ClickArea* TQVL_Card_Pic_Clickareas::AddNew(int areaType)
{
    std::unique_ptr<TQVL_Card_Pic_ClickArea> area = CreateArea(areaType);
    return area ? Add(std::move(area)) : nullptr;
}

std::unique_ptr<TQVL_Card_Pic_ClickArea> TQVL_Card_Pic_Clickareas::CreateByName(QStringView name)
{
    if (name == QLatin1String("circle"))
        return CreateArea(catCircle);
    if (name == QLatin1String("rectangle"))
        return CreateArea(catRectangle);
    if (name == QLatin1String("polygon"))
        return CreateArea(catPolygon);
    return nullptr;
}

void TQVL_Card_Pic_Clickareas::Delete(int index)
{
    areas.erase(areas.begin() + index);
}

void TQVL_Card_Pic_Clickareas::Remove(const TQVL_Card_Pic_ClickArea* area)
{
    for (auto it = areas.begin(); it != areas.end(); ++it) {
        if (it->get() == area) {
            areas.erase(it);
            return;
        }
    }
}

bool TQVL_Card_Pic_Clickareas::Contains(qint32 x, qint32 y) const
{
    for (const auto& area : areas)
        if (area->Contains(x, y))
            return true;
    return false;
}

void TQVL_Card_Pic_Clickareas::LoadFromXML(const TQVL_XMLElement& element)
{
    for (const TQVL_XMLElement child : element.Children()) {
        const QString name = child.Name();
        std::unique_ptr<TQVL_Card_Pic_ClickArea> area = CreateByName(name);
        if (!area)
            throw TQVL_Error(QStringLiteral("Unbekannte Klickfläche \"%1\"").arg(name));
        area->LoadFromXML(child);
        areas.push_back(std::move(area));
    }
}

void TQVL_Card_Pic_Clickareas::WriteXML(TQVL_XMLWriter& writer) const
{
    for (const auto& area : areas) {
        writer.Begin(area->ElementNameLatin1());
        area->WriteXML(writer);
        writer.End();
    }
}

void TQVL_Card_Pic_Clickareas::Draw(QPainter& canvas, double scaleX, double scaleY) const
{
    canvas.setPen(QPen(QColor(255, 0, 0), 1, Qt::SolidLine));
    canvas.setBrush(Qt::NoBrush);
    // Copy mode: the red replaces what is below, with no blending at the edges.
    canvas.setCompositionMode(QPainter::CompositionMode_Source);
    canvas.setRenderHint(QPainter::Antialiasing, false);
    for (const auto& area : areas)
        area->Draw(canvas, scaleX, scaleY);
}
