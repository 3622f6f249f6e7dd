#pragma once

#include "statistics/QVL_Statistics_Activity.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <vector>

// The last year as a calendar: one entry per day, laid out in week columns
// (Monday on top), each day shaded by its answers relative to the busiest day
// of the year. Names of months and weekdays are German whatever the locale.
class TQVL_Statistics_Calendar
{
public:
    static constexpr int YearDays = 365;
    // Shades of a studied day; 0 is a day without answers.
    static constexpr int Levels = 4;

    struct TDay
    {
        TQVL_Statistics_ActivityDay Figures;
        int Level = 0;
        // Week column from the left, weekday row from the top (0 = Monday).
        int Column = 0;
        int Row = 0;
    };

    // The YearDays days up to and including `today`, oldest first.
    static TQVL_Statistics_Calendar Compute(const TQVL_Statistics_Activity& activity, QDate today);

    std::vector<TDay> Days;
    qint64 MostAnswers = 0;
    int LongestStreak = 0;
    int DaysStudied = 0;

    QDate First() const { return Days.empty() ? QDate() : Days.front().Figures.Date; }
    QDate Last() const { return Days.empty() ? QDate() : Days.back().Figures.Date; }
    int ColumnCount() const { return Days.empty() ? 0 : Days.back().Column + 1; }
    // The position of `date` in Days, -1 outside the year.
    int IndexOf(QDate date) const;

    // The shade of a day with `answers`, in quarters of `most`, rounded up: 1 to
    // Levels for a studied day, 0 without answers.
    static int Level(qint64 answers, qint64 most);

    // "Januar" … "Dezember" and "Jan" … "Dez"; "Montag" … "Sonntag" and
    // "Mo" … "So" (Qt's numbering: 1 = Monday).
    static QString MonthName(int month);
    static QString ShortMonthName(int month);
    static QString WeekdayName(int dayOfWeek);
    static QString ShortWeekdayName(int dayOfWeek);
    // "Mittwoch, 13. März 2024".
    static QString DateText(QDate date);
    // "42 Vokabeln, 35 richtig, 12 Minuten, 3 Abfragen"; "Keine Abfrage" for a
    // day without queries.
    static QString FiguresText(const TQVL_Statistics_ActivityDay& day);
    // "288 von 365 Tagen gelernt".
    QString DaysStudiedText() const;
    // "Längste Serie: 12 Tage in Folge".
    QString LongestStreakText() const;
};
