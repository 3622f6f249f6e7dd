#pragma once

#include "query/QVL_Query_Step_Options.h"

// How a round runs and how its card list shrinks between rounds.
class TQVL_Query_Turn_Options
{
public:
    TQVL_Query_Turn_Options();
    ~TQVL_Query_Turn_Options();

    void LoadFromXML(const TQVL_XMLTag& tag);
    void SaveToXML(TQVL_XMLTag& tag) const;

    bool mix = false;
    std::unique_ptr<TQVL_Query_Step_Options> step;
    // 0 by percentage, 1 by count, 2 drop the cards answered right last time.
    quint8 reducecardlisttyp = 0;
    int reducecardlistby = 0;
};
