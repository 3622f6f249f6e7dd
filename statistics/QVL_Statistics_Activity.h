#pragma once

#include "statistics/QVL_Statistics_UnitResults.h"

#include <QDate>
#include <QtGlobal>

#include <map>
#include <vector>

// What the learner did on one calendar day.
struct TQVL_Statistics_ActivityDay
{
    QDate Date;
    // Cards asked and answered right in the queries stored that day.
    qint64 Answers = 0;
    qint64 Right = 0;
    // Seconds of those queries.
    qint64 Seconds = 0;
    int Queries = 0;

    bool Studied() const { return Answers > 0; }
};

// The stored queries of the user summed per calendar day. The stored times are
// the learner's local wall-clock times, so a query counts on the day its
// clock showed; a day "studied" is one with at least one answer.
class TQVL_Statistics_Activity
{
public:
    static TQVL_Statistics_Activity Collect(const TQVL_Statistics_UnitResults& units);

    // The figures of `date`; all 0 for a day without queries.
    TQVL_Statistics_ActivityDay Day(QDate date) const;
    // One entry per day from `from` to `to`, both included, oldest first.
    std::vector<TQVL_Statistics_ActivityDay> Days(QDate from, QDate to) const;
    // Days studied in a row up to `today`. A day not yet studied today does
    // not break the row: it then ends yesterday.
    int CurrentStreak(QDate today) const;
    // The longest row of studied days up to `today`; later days (a clock set
    // back) are left out.
    int LongestStreak(QDate today) const;
    // Studied days from `from` to `to`, both included.
    int DaysStudied(QDate from, QDate to) const;

private:
    std::map<QDate, TQVL_Statistics_ActivityDay> days;
};
