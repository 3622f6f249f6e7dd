#include "statistics/QVL_Statistics_KeyFigures.h"

#include "core/QVL_Math.h"
#include "query/QVL_Result_Unit.h"
#include "statistics/QVL_Statistics.h"

#include <cmath>
#include <cstdlib>
#include <vector>

TQVL_Statistics_KeyFigures TQVL_Statistics_KeyFigures::Compute(const TQVL_Statistics_UnitResults& units,
                                                               TQVL_DateTime now)
{
    TQVL_Statistics_KeyFigures figures;
    figures.UnitCount = int(units.size());
    TQVL_Statistics_QueryArray queries = TQVL_Statistics::GetQueries(units);
    TQVL_Statistics::FilterQueries(queries, TQVL_DateTime(now.Serial() - PeriodDays), now);
    const int n = int(queries.size());
    figures.QueryCount = n;
    if (n == 0)
        return figures;

    for (const TQVL_Result_Unit_Query* query : queries)
        figures.CardsQueried += query->queried;
    figures.CardsPerQuery = double(figures.CardsQueried) / n;
    // The spread is the standard deviation: the root of the mean square
    // deviation. Without the division by the count it would grow with the
    // number of queries and soon dwarf the mean it stands beside.
    double squares = 0;
    for (const TQVL_Result_Unit_Query* query : queries)
        squares += std::pow(query->queried - figures.CardsPerQuery, 2);
    figures.CardsPerQuerySpread = std::sqrt(squares / n);

    if (n < 2)
        return figures;
    TQVL_Statistics::SortQueriesByDate(queries);
    std::vector<qint64> gapMinutes;
    gapMinutes.reserve(std::size_t(n - 1));
    qint64 totalMinutes = 0;
    for (int i = 0; i + 1 < n; ++i) {
        const double days = std::fabs(queries[std::size_t(i)]->datetime.Serial() -
                                      queries[std::size_t(i + 1)]->datetime.Serial());
        // Whole minutes, taken from whole milliseconds: the serial values carry
        // rounding noise that would otherwise cut 120 minutes to 119.
        const qint64 milliseconds = RoundHalfEven(days * 86400000.0);
        const qint64 minutes = milliseconds / 60000;
        gapMinutes.push_back(minutes);
        totalMinutes += minutes;
    }
    const int gaps = n - 1;
    figures.GapHours = double(totalMinutes) / 60.0 / gaps;
    squares = 0;
    for (const qint64 minutes : gapMinutes)
        squares += std::pow(double(minutes) / 60.0 - figures.GapHours, 2);
    figures.GapHoursSpread = std::sqrt(squares / gaps);
    return figures;
}
