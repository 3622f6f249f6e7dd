#include "statistics/QVL_Statistics_Activity.h"

#include "query/QVL_Result_Unit.h"

TQVL_Statistics_Activity TQVL_Statistics_Activity::Collect(const TQVL_Statistics_UnitResults& units)
{
    TQVL_Statistics_Activity activity;
    for (const TQVL_Result_Unit* unit : units) {
        for (int i = 0; i < unit->QueryCount(); ++i) {
            const TQVL_Result_Unit_Query& query = unit->Query(i);
            if (query.datetime.IsEmpty())
                continue;
            const QDate date = query.datetime.Date();
            if (!date.isValid())
                continue;
            TQVL_Statistics_ActivityDay& day = activity.days[date];
            day.Date = date;
            // Negative counts only come from damaged files; they must not cancel real answers.
            day.Answers += qMax(query.queried, 0);
            day.Right += qMax(query.right, 0);
            day.Seconds += qMax(query.duration, 0);
            ++day.Queries;
        }
    }
    return activity;
}

TQVL_Statistics_ActivityDay TQVL_Statistics_Activity::Day(QDate date) const
{
    const auto found = days.find(date);
    if (found != days.end())
        return found->second;
    TQVL_Statistics_ActivityDay empty;
    empty.Date = date;
    return empty;
}

std::vector<TQVL_Statistics_ActivityDay> TQVL_Statistics_Activity::Days(QDate from, QDate to) const
{
    std::vector<TQVL_Statistics_ActivityDay> list;
    if (!from.isValid() || !to.isValid() || to < from)
        return list;
    list.reserve(std::size_t(from.daysTo(to) + 1));
    for (QDate date = from; date <= to; date = date.addDays(1))
        list.push_back(Day(date));
    return list;
}

int TQVL_Statistics_Activity::CurrentStreak(QDate today) const
{
    QDate date = Day(today).Studied() ? today : today.addDays(-1);
    int streak = 0;
    while (Day(date).Studied()) {
        ++streak;
        date = date.addDays(-1);
    }
    return streak;
}

int TQVL_Statistics_Activity::LongestStreak(QDate today) const
{
    int longest = 0;
    int run = 0;
    QDate previous;
    for (const auto& [date, day] : days) {
        if (date > today)
            break;
        if (!day.Studied())
            continue;
        run = previous.isValid() && previous.daysTo(date) == 1 ? run + 1 : 1;
        previous = date;
        longest = qMax(longest, run);
    }
    return longest;
}

int TQVL_Statistics_Activity::DaysStudied(QDate from, QDate to) const
{
    int count = 0;
    for (auto it = days.lower_bound(from); it != days.end() && it->first <= to; ++it)
        if (it->second.Studied())
            ++count;
    return count;
}
