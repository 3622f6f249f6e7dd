#pragma once

#include "core/QVL_DateTime.h"
#include "statistics/QVL_Statistics_DayQueries.h"
#include "statistics/QVL_Statistics_QueryArray.h"
#include "statistics/QVL_Statistics_UnitResults.h"

#include <functional>
#include <memory>

class TQVL_Result_User;
class TQVL_Statistics_LastQuery;
class TQVL_Statistics_QuerySuccessDiagram;

// Figures of the stored query results of the active user: result units, their
// queries filtered by date, query time per day. Keeps no results of its own:
// every call reads the results that ActiveResults hands out at that moment.
// Besides, it owns the record of the most recent query and the one success
// diagram that the result screens configure and draw with.
class TQVL_Statistics
{
public:
    TQVL_Statistics();
    ~TQVL_Statistics();
    TQVL_Statistics(const TQVL_Statistics&) = delete;
    TQVL_Statistics& operator=(const TQVL_Statistics&) = delete;

    // Set by the owner: the results of the logged-in user, nullptr when nobody
    // is logged in. Operations that read the user raise "no active User" then.
    std::function<TQVL_Result_User*()> ActiveResults;

    // One entry per calendar day from the day of (now - days) up to today.
    TQVL_Statistics_DayQueries GetDayQueries(int days) const;
    // One entry per calendar day from the day of `dateFrom` to the day of
    // `dateTo`, both included, oldest first; empty when `dateTo` lies on an
    // earlier day. A query counts wholly on the day it was stored.
    TQVL_Statistics_DayQueries FillDayQueries(TQVL_DateTime dateFrom, TQVL_DateTime dateTo) const;
    // All result units of the user, in stored order.
    TQVL_Statistics_UnitResults GetUnitResults() const;
    // The user's result unit of every unit the last query covered, in the
    // query's order; a unit without results gets a new empty record in the
    // user's results, so the list has one entry per unit.
    TQVL_Statistics_UnitResults GetLastQueryUnitResults() const;

    // The queries of the units, unit after unit, each in stored order.
    static TQVL_Statistics_QueryArray GetQueries(const TQVL_Statistics_UnitResults& units);
    // Keeps the queries with dateFrom <= datetime < dateTo, in their order.
    static void FilterQueries(TQVL_Statistics_QueryArray& list, TQVL_DateTime dateFrom, TQVL_DateTime dateTo);
    // Keeps the units that have a query with dateFrom <= datetime < dateTo, in their order.
    static void FilterUnitResults(TQVL_Statistics_UnitResults& list, TQVL_DateTime dateFrom, TQVL_DateTime dateTo);
    // The earliest query of the units, never later than now (now without queries).
    static TQVL_DateTime GetFirstQueryDate(const TQVL_Statistics_UnitResults& units);
    // The latest query of the units; empty (0) without queries.
    static TQVL_DateTime GetLastQueryDate(const TQVL_Statistics_UnitResults& units);
    // Newest first; queries of the same moment keep their order.
    static void SortQueriesByDate(TQVL_Statistics_QueryArray& list);

    const std::unique_ptr<TQVL_Statistics_LastQuery> LastQuery;
    const std::unique_ptr<TQVL_Statistics_QuerySuccessDiagram> Diagram;

private:
    TQVL_Result_User& activeResults() const;
};
