#include "query/QVL_Result.h"

#include "core/QVL_XMLTag.h"

void TQVL_Result::LoadCountersFromXML(const TQVL_XMLTag& tag)
{
    last_queried = tag.NeedChild(QStringLiteral("last_queried")).AsInteger();
    last_right = tag.NeedChild(QStringLiteral("last_right")).AsInteger();
    all_queried = tag.NeedChild(QStringLiteral("all_queried")).AsInteger();
    all_right = tag.NeedChild(QStringLiteral("all_right")).AsInteger();
}

void TQVL_Result::SaveCountersToXML(TQVL_XMLTag& tag) const
{
    tag.AddInteger(QStringLiteral("last_queried"), last_queried);
    tag.AddInteger(QStringLiteral("last_right"), last_right);
    tag.AddInteger(QStringLiteral("all_queried"), all_queried);
    tag.AddInteger(QStringLiteral("all_right"), all_right);
}
