#include "query/QVL_Result_Unit_Query.h"

#include "core/QVL_XMLTag.h"

void TQVL_Result_Unit_Query::LoadFromXML(const TQVL_XMLTag& tag)
{
    datetime = tag.NeedChild(QStringLiteral("datetime")).AsDateTime();
    duration = tag.NeedChild(QStringLiteral("duration")).AsInteger();
    queried = tag.NeedChild(QStringLiteral("queried")).AsInteger();
    right = tag.NeedChild(QStringLiteral("right")).AsInteger();
    selfevaluation = tag.NeedChild(QStringLiteral("selfevaluation")).AsBoolean();
}

void TQVL_Result_Unit_Query::SaveToXML(TQVL_XMLTag& tag) const
{
    tag.AddChild(QStringLiteral("datetime"))->SetDateTime(datetime);
    tag.AddInteger(QStringLiteral("duration"), duration);
    tag.AddInteger(QStringLiteral("queried"), queried);
    tag.AddInteger(QStringLiteral("right"), right);
    tag.AddBoolean(QStringLiteral("selfevaluation"), selfevaluation);
}
