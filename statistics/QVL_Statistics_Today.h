#pragma once

#include "core/QVL_DateTime.h"
#include "statistics/QVL_Statistics_Activity.h"
#include "statistics/QVL_Statistics_UnitResults.h"

#include <QString>
#include <QtGlobal>

// The learner's day at a glance: today's answers and minutes, the rows of
// studied days, the days studied in the last year and the lesson queried last.
class TQVL_Statistics_Today
{
public:
    static constexpr int YearDays = 365;

    static TQVL_Statistics_Today Compute(const TQVL_Statistics_UnitResults& units, TQVL_DateTime now);

    qint64 AnswersToday = 0;
    // Whole minutes, rounded.
    qint64 MinutesToday = 0;
    int CurrentStreak = 0;
    int LongestStreak = 0;
    // Studied days among the last 365, today included.
    int DaysStudied = 0;

    // The latest stored query with answers of a lesson (not a long-term storage); empty
    // LastLessonFileName when there is none.
    QString LastLessonFileName;
    TQVL_DateTime LastLessonDate;
    qint32 LastLessonQueried = 0;
    qint32 LastLessonRight = 0;

    // "Heute: 42 Vokabeln in 12 Minuten".
    QString TodayText() const;
    // "5 Tage in Folge", "1 Tag in Folge"; "Noch keine Tage in Folge" without a row.
    QString StreakText() const;
    // "288 von 365 Tagen".
    QString DaysStudiedText() const;
    // Right answers of the last lesson in whole percent (truncated); 0 without answers.
    int LastLessonSuccessPercent() const;
};
