#pragma once

#include "core/QVL_XMLElement.h"

#include <QLatin1String>
#include <QtGlobal>

class TQVL_XMLWriter;

// The answer counters that units and cards both keep.
class TQVL_Result
{
public:
    qint32 all_queried = 0;
    qint32 all_right = 0;
    qint32 last_right = 0;
    qint32 last_queried = 0;

protected:
    // The four counters in their stored order: last_queried, last_right, all_queried, all_right.
    static constexpr int counterCount = 4;
    static const QLatin1String counterNames[counterCount];
    void LoadCountersFromXML(const TQVL_XMLElement& element);
    // The same from the counters' children of `element`, found in counterNames order.
    void readCounters(const TQVL_XMLElement& element, const TQVL_XMLElement* found);
    void WriteCountersXML(TQVL_XMLWriter& writer) const;
};
