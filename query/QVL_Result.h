#pragma once

#include <QtGlobal>

class TQVL_XMLTag;

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
    void LoadCountersFromXML(const TQVL_XMLTag& tag);
    void SaveCountersToXML(TQVL_XMLTag& tag) const;
};
