#include "query/QVL_Query_Step_Options.h"

#include "core/QVL_Error.h"
#include "core/QVL_XMLTag.h"

TQVL_Query_Step_Options::TQVL_Query_Step_Options() : evaluation(std::make_unique<TQVL_Query_Evaluation_Options>()) {}

TQVL_Query_Step_Options::~TQVL_Query_Step_Options() = default;

void TQVL_Query_Step_Options::LoadFromXML(const TQVL_XMLTag& tag)
{
    // A direction the query cannot ask would only fail once a card is on screen.
    const int storedDirection = tag.NeedChild(QStringLiteral("direction")).AsInteger();
    if (storedDirection < 0 || storedDirection > 2)
        throw TQVL_Error(QStringLiteral("Die Abfragerichtung %1 ist ungültig (erlaubt sind 0, 1 und 2).").arg(storedDirection));
    direction = quint8(storedDirection);
    questiondisplaytime = tag.NeedChild(QStringLiteral("questiondisplaytime")).AsBoolean();
    questiondisplaytimeintervall = tag.NeedChild(QStringLiteral("questiondisplaytimeintervall")).AsInteger();
    answerdisplaytime = tag.NeedChild(QStringLiteral("answerdisplaytime")).AsBoolean();
    answerdisplaytimeintervall = tag.NeedChild(QStringLiteral("answerdisplaytimeintervall")).AsInteger();
    sounds = tag.NeedChild(QStringLiteral("sounds")).AsBoolean();
    evaluation->LoadFromXML(tag.NeedChild(QStringLiteral("evaluation")));
}

void TQVL_Query_Step_Options::SaveToXML(TQVL_XMLTag& tag) const
{
    tag.AddInteger(QStringLiteral("direction"), direction);
    tag.AddBoolean(QStringLiteral("questiondisplaytime"), questiondisplaytime);
    tag.AddInteger(QStringLiteral("questiondisplaytimeintervall"), questiondisplaytimeintervall);
    tag.AddBoolean(QStringLiteral("answerdisplaytime"), answerdisplaytime);
    tag.AddInteger(QStringLiteral("answerdisplaytimeintervall"), answerdisplaytimeintervall);
    tag.AddBoolean(QStringLiteral("sounds"), sounds);
    evaluation->SaveToXML(*tag.AddChild(QStringLiteral("evaluation")));
}
