#include "query/QVL_Result_Unit_Query.h"

#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLWriter.h"

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int nameCount = 5;
const QLatin1String names[nameCount] = {"datetime"_L1, "duration"_L1, "queried"_L1, "right"_L1,
                                        "selfevaluation"_L1};

} // namespace

void TQVL_Result_Unit_Query::LoadFromXML(const TQVL_XMLElement& element)
{
    TQVL_XMLElement found[nameCount];
    element.FindChildren(names, nameCount, found);
    datetime = element.Required(found[0], names[0]).AsDateTime();
    duration = element.Required(found[1], names[1]).AsInteger();
    queried = element.Required(found[2], names[2]).AsInteger();
    right = element.Required(found[3], names[3]).AsInteger();
    selfevaluation = element.Required(found[4], names[4]).AsBoolean();
}

void TQVL_Result_Unit_Query::WriteXML(TQVL_XMLWriter& writer) const
{
    writer.DateTime(names[0], datetime);
    writer.Integer(names[1], duration);
    writer.Integer(names[2], queried);
    writer.Integer(names[3], right);
    writer.Boolean(names[4], selfevaluation);
}
