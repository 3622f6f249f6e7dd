#pragma once

#include "core/QVL_DateTime.h"

#include <QtGlobal>

#include <vector>

// The query time of one calendar day.
struct DayQuery
{
    // Midnight of the day.
    TQVL_DateTime Date;
    // Seconds.
    qint32 Duration = 0;
};

using TQVL_Statistics_DayQueries = std::vector<DayQuery>;
