#pragma once

#include "core/QVL_DateTime.h"
#include "statistics/QVL_Statistics_UnitResults.h"

#include <QtGlobal>

// The key figures of the statistics overview, over the queries of the last 60
// days up to `now`. Means and spreads are 0 where there is nothing to average.
class TQVL_Statistics_KeyFigures
{
public:
    static constexpr double PeriodDays = 60.0;

    static TQVL_Statistics_KeyFigures Compute(const TQVL_Statistics_UnitResults& units, TQVL_DateTime now);

    // Result units ever stored, whatever their age.
    int UnitCount = 0;
    // Queries with now - 60 days <= datetime < now.
    int QueryCount = 0;
    // Cards queried in those queries.
    qint64 CardsQueried = 0;
    // Cards per query and their standard deviation.
    double CardsPerQuery = 0;
    double CardsPerQuerySpread = 0;
    // Hours between neighbouring queries (whole minutes each) and their standard deviation.
    double GapHours = 0;
    double GapHoursSpread = 0;
};
