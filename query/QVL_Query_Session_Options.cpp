#include "query/QVL_Query_Session_Options.h"

#include "core/QVL_XMLTag.h"

TQVL_Query_Session_Options::TQVL_Query_Session_Options() : turn(std::make_unique<TQVL_Query_Turn_Options>()) {}

TQVL_Query_Session_Options::~TQVL_Query_Session_Options() = default;

void TQVL_Query_Session_Options::LoadFromXML(const TQVL_XMLTag& tag)
{
    if (const TQVL_XMLTag* turnTag = tag.FindChild(QStringLiteral("turn")))
        turn->LoadFromXML(*turnTag);
}

void TQVL_Query_Session_Options::SaveToXML(TQVL_XMLTag& tag) const
{
    turn->SaveToXML(*tag.AddChild(QStringLiteral("turn")));
}
