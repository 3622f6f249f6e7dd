#include "query/QVL_Query_Step_Options.h"

#include "core/QVL_XMLTag.h"

TQVL_Query_Step_Options::TQVL_Query_Step_Options() : evaluation(std::make_unique<TQVL_Query_Evaluation_Options>()) {}

TQVL_Query_Step_Options::~TQVL_Query_Step_Options() = default;

void TQVL_Query_Step_Options::LoadFromXML(const TQVL_XMLTag& tag)
{
    direction = quint8(tag.NeedChild(QStringLiteral("direction")).AsInteger());
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
