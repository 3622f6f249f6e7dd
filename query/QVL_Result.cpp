#include "query/QVL_Result.h"

#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLWriter.h"

using namespace Qt::Literals::StringLiterals;

const QLatin1String TQVL_Result::counterNames[counterCount] = {"last_queried"_L1, "last_right"_L1,
                                                               "all_queried"_L1, "all_right"_L1};

void TQVL_Result::LoadCountersFromXML(const TQVL_XMLElement& element)
{
    TQVL_XMLElement found[counterCount];
    element.FindChildren(counterNames, counterCount, found);
    readCounters(element, found);
}

void TQVL_Result::readCounters(const TQVL_XMLElement& element, const TQVL_XMLElement* found)
{
    qint32* counters[counterCount] = {&last_queried, &last_right, &all_queried, &all_right};
    for (int i = 0; i < counterCount; ++i)
        *counters[i] = element.Required(found[i], counterNames[i]).AsInteger();
}

void TQVL_Result::WriteCountersXML(TQVL_XMLWriter& writer) const
{
    writer.Integer(counterNames[0], last_queried);
    writer.Integer(counterNames[1], last_right);
    writer.Integer(counterNames[2], all_queried);
    writer.Integer(counterNames[3], all_right);
}
