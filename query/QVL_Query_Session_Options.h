#pragma once

#include "query/QVL_Query_Turn_Options.h"

// The exercise-phase level of the query options; it only holds the round level.
class TQVL_Query_Session_Options
{
public:
    TQVL_Query_Session_Options();
    ~TQVL_Query_Session_Options();

    void LoadFromXML(const TQVL_XMLTag& tag);
    void SaveToXML(TQVL_XMLTag& tag) const;

    std::unique_ptr<TQVL_Query_Turn_Options> turn;
};
