#include "query/QVL_Query_Turn_Options.h"

#include "core/QVL_XMLTag.h"

TQVL_Query_Turn_Options::TQVL_Query_Turn_Options() : step(std::make_unique<TQVL_Query_Step_Options>()) {}

TQVL_Query_Turn_Options::~TQVL_Query_Turn_Options() = default;

void TQVL_Query_Turn_Options::LoadFromXML(const TQVL_XMLTag& tag)
{
    reducecardlisttyp = quint8(tag.NeedChild(QStringLiteral("reducecardlisttyp")).AsInteger());
    reducecardlistby = tag.NeedChild(QStringLiteral("reducecardlistby")).AsInteger();
    mix = tag.NeedChild(QStringLiteral("mix")).AsBoolean();
    if (const TQVL_XMLTag* stepTag = tag.FindChild(QStringLiteral("step")))
        step->LoadFromXML(*stepTag);
}

void TQVL_Query_Turn_Options::SaveToXML(TQVL_XMLTag& tag) const
{
    tag.AddInteger(QStringLiteral("reducecardlisttyp"), reducecardlisttyp);
    tag.AddInteger(QStringLiteral("reducecardlistby"), reducecardlistby);
    tag.AddBoolean(QStringLiteral("mix"), mix);
    step->SaveToXML(*tag.AddChild(QStringLiteral("step")));
}
