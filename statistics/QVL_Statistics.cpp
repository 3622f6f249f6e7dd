#include "statistics/QVL_Statistics.h"

#include "core/QVL_Error.h"
#include "query/QVL_Result_User.h"
#include "query/QVL_Statistics_LastQuery.h"
#include "statistics/QVL_Statistics_QuerySuccessDiagram.h"

#include <algorithm>
#include <cmath>
#include <limits>

TQVL_Statistics::TQVL_Statistics()
    : LastQuery(std::make_unique<TQVL_Statistics_LastQuery>()),
      Diagram(std::make_unique<TQVL_Statistics_QuerySuccessDiagram>())
{
}

TQVL_Statistics::~TQVL_Statistics()
{
    LastQuery->Clear();
}

TQVL_Result_User& TQVL_Statistics::activeResults() const
{
    TQVL_Result_User* results = ActiveResults ? ActiveResults() : nullptr;
    if (!results)
        throw TQVL_Error(QStringLiteral("no active User"));
    return *results;
}

TQVL_Statistics_DayQueries TQVL_Statistics::GetDayQueries(int days) const
{
    const TQVL_DateTime now = TQVL_DateTime::Now();
    return FillDayQueries(TQVL_DateTime(now.Serial() - days).DateOf(), now);
}

TQVL_Statistics_DayQueries TQVL_Statistics::FillDayQueries(TQVL_DateTime dateFrom, TQVL_DateTime dateTo) const
{
    const TQVL_Result_User& results = activeResults();
    TQVL_Statistics_DayQueries list;
    const double firstDay = std::trunc(dateFrom.Serial());
    const double lastDay = std::trunc(dateTo.Serial());
    if (!std::isfinite(firstDay) || !std::isfinite(lastDay) || lastDay < firstDay)
        return list;
    list.reserve(std::size_t(lastDay - firstDay) + 1);
    for (double day = firstDay; day <= lastDay; day += 1.0) {
        const qint64 seconds = results.DurationOnDay(TQVL_DateTime(day));
        // The day total is a 32-bit figure; a sum beyond it sticks at the limit
        // instead of wrapping into a negative time.
        const qint64 clamped =
            std::clamp<qint64>(seconds, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
        list.push_back(DayQuery{TQVL_DateTime(day), qint32(clamped)});
    }
    return list;
}

TQVL_Statistics_UnitResults TQVL_Statistics::GetUnitResults() const
{
    const TQVL_Result_User& results = activeResults();
    TQVL_Statistics_UnitResults list;
    list.reserve(std::size_t(results.UnitCount()));
    for (int i = 0; i < results.UnitCount(); ++i)
        list.push_back(&results.Unit(i));
    return list;
}

TQVL_Statistics_UnitResults TQVL_Statistics::GetLastQueryUnitResults() const
{
    TQVL_Result_User& results = activeResults();
    TQVL_Statistics_UnitResults list;
    list.reserve(std::size_t(LastQuery->Count()));
    for (int i = 0; i < LastQuery->Count(); ++i)
        list.push_back(&results.GetOrCreateUnit(LastQuery->Get(i)));
    return list;
}

TQVL_Statistics_QueryArray TQVL_Statistics::GetQueries(const TQVL_Statistics_UnitResults& units)
{
    TQVL_Statistics_QueryArray list;
    for (const TQVL_Result_Unit* unit : units)
        for (int i = 0; i < unit->QueryCount(); ++i)
            list.push_back(&unit->Query(i));
    return list;
}

namespace {

bool inHalfOpenRange(const TQVL_Result_Unit_Query& query, TQVL_DateTime dateFrom, TQVL_DateTime dateTo)
{
    return dateFrom <= query.datetime && query.datetime < dateTo;
}

} // namespace

void TQVL_Statistics::FilterQueries(TQVL_Statistics_QueryArray& list, TQVL_DateTime dateFrom, TQVL_DateTime dateTo)
{
    std::erase_if(list,
                  [&](const TQVL_Result_Unit_Query* query) { return !inHalfOpenRange(*query, dateFrom, dateTo); });
}

void TQVL_Statistics::FilterUnitResults(TQVL_Statistics_UnitResults& list, TQVL_DateTime dateFrom, TQVL_DateTime dateTo)
{
    std::erase_if(list, [&](const TQVL_Result_Unit* unit) {
        for (int i = 0; i < unit->QueryCount(); ++i)
            if (inHalfOpenRange(unit->Query(i), dateFrom, dateTo))
                return false;
        return true;
    });
}

TQVL_DateTime TQVL_Statistics::GetFirstQueryDate(const TQVL_Statistics_UnitResults& units)
{
    TQVL_DateTime first = TQVL_DateTime::Now();
    for (const TQVL_Result_Unit* unit : units)
        for (int i = 0; i < unit->QueryCount(); ++i)
            first = std::min(first, unit->Query(i).datetime);
    return first;
}

TQVL_DateTime TQVL_Statistics::GetLastQueryDate(const TQVL_Statistics_UnitResults& units)
{
    TQVL_DateTime last;
    for (const TQVL_Result_Unit* unit : units)
        for (int i = 0; i < unit->QueryCount(); ++i)
            last = std::max(last, unit->Query(i).datetime);
    return last;
}

void TQVL_Statistics::SortQueriesByDate(TQVL_Statistics_QueryArray& list)
{
    std::stable_sort(list.begin(), list.end(), [](const TQVL_Result_Unit_Query* a, const TQVL_Result_Unit_Query* b) {
        return b->datetime < a->datetime;
    });
}
