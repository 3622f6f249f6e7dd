#include "statistics/QVL_Statistics_Forecast.h"

#include "query/QVL_Result_Unit.h"

#include <algorithm>

TQVL_DateTime TQVL_Statistics_Forecast::EndOfDay(TQVL_DateTime now, int offset)
{
    // One second before the next midnight: the due rule sees the whole day.
    return TQVL_DateTime(now.DateOf().Serial() + offset + 1 - 1.0 / 86400.0);
}

std::vector<int> TQVL_Statistics_Forecast::Compute(const TQVL_Result_Unit& storage, TQVL_DateTime now, int days)
{
    std::vector<int> forecast;
    if (days <= 0)
        return forecast;
    std::vector<TQVL_DateTime> dates{now};
    for (int day = 1; day < days; ++day)
        dates.push_back(EndOfDay(now, day));
    const std::vector<int> due = storage.CountDueAt(dates);
    forecast.reserve(due.size());
    int dueBefore = due.front();
    forecast.push_back(dueBefore);
    for (std::size_t day = 1; day < due.size(); ++day) {
        // A card once due stays due until answered; the difference is what is new that day.
        forecast.push_back(std::max(due[day] - dueBefore, 0));
        dueBefore = std::max(due[day], dueBefore);
    }
    return forecast;
}
