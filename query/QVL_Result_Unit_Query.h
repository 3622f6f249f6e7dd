#pragma once

#include "core/QVL_DateTime.h"
#include "core/QVL_XMLElement.h"

#include <QtGlobal>

class TQVL_XMLWriter;

// One stored query of one unit: when it ended, this unit's share of its time
// and answers, and whether the user judged the answers himself.
class TQVL_Result_Unit_Query
{
public:
    // Reads a `query` element; raises TQVL_Error when an element is missing or a value does not convert.
    void LoadFromXML(const TQVL_XMLElement& element);
    // Writes the children of an open `query` element.
    void WriteXML(TQVL_XMLWriter& writer) const;

    TQVL_DateTime datetime;
    qint32 right = 0;
    // Seconds.
    qint32 duration = 0;
    qint32 queried = 0;
    bool selfevaluation = false;
};
