#include "statistics/QVL_Statistics_Today.h"

#include "core/QVL_Math.h"
#include "query/QVL_Result_Unit.h"

TQVL_Statistics_Today TQVL_Statistics_Today::Compute(const TQVL_Statistics_UnitResults& units, TQVL_DateTime now)
{
    TQVL_Statistics_Today today;
    const QDate date = now.Date();
    const TQVL_Statistics_Activity activity = TQVL_Statistics_Activity::Collect(units);
    const TQVL_Statistics_ActivityDay day = activity.Day(date);
    today.AnswersToday = day.Answers;
    today.MinutesToday = RoundHalfEven(double(day.Seconds) / 60.0);
    today.CurrentStreak = activity.CurrentStreak(date);
    today.LongestStreak = activity.LongestStreak(date);
    today.DaysStudied = activity.DaysStudied(date.addDays(1 - YearDays), date);

    const TQVL_Result_Unit_Query* last = nullptr;
    const TQVL_Result_Unit* lastUnit = nullptr;
    for (const TQVL_Result_Unit* unit : units) {
        if (unit->longtermstorage)
            continue;
        for (int i = 0; i < unit->QueryCount(); ++i) {
            const TQVL_Result_Unit_Query& query = unit->Query(i);
            // A query stored "in the future" (a clock set back since) is not the last one,
            // nor one left without an answer, which has no success to show.
            if (now < query.datetime || query.queried <= 0)
                continue;
            if (!last || last->datetime <= query.datetime) {
                last = &query;
                lastUnit = unit;
            }
        }
    }
    if (last) {
        today.LastLessonFileName = lastUnit->unit_lastknownfilename;
        today.LastLessonDate = last->datetime;
        today.LastLessonQueried = last->queried;
        today.LastLessonRight = last->right;
    }
    return today;
}

QString TQVL_Statistics_Today::TodayText() const
{
    return QStringLiteral("Heute: %1 %2 in %3 %4")
        .arg(AnswersToday)
        .arg(AnswersToday == 1 ? QStringLiteral("Vokabel") : QStringLiteral("Vokabeln"))
        .arg(MinutesToday)
        .arg(MinutesToday == 1 ? QStringLiteral("Minute") : QStringLiteral("Minuten"));
}

QString TQVL_Statistics_Today::StreakText() const
{
    if (CurrentStreak == 0)
        return QStringLiteral("Noch keine Tage in Folge");
    return QStringLiteral("%1 %2 in Folge")
        .arg(CurrentStreak)
        .arg(CurrentStreak == 1 ? QStringLiteral("Tag") : QStringLiteral("Tage"));
}

QString TQVL_Statistics_Today::DaysStudiedText() const
{
    return QStringLiteral("%1 von %2 Tagen").arg(DaysStudied).arg(YearDays);
}

int TQVL_Statistics_Today::LastLessonSuccessPercent() const
{
    if (LastLessonQueried <= 0)
        return 0;
    return int(qint64(LastLessonRight) * 100 / LastLessonQueried);
}
