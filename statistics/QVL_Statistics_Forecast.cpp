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
    forecast.reserve(std::size_t(days));
    int dueBefore = 0;
    storage.CountDue(now, dueBefore);
    forecast.push_back(dueBefore);
    for (int day = 1; day < days; ++day) {
        int due = 0;
        storage.CountDue(EndOfDay(now, day), due);
        // A card once due stays due until answered; the difference is what is new that day.
        forecast.push_back(std::max(due - dueBefore, 0));
        dueBefore = std::max(due, dueBefore);
    }
    return forecast;
}
