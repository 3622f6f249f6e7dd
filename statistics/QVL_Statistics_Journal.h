#pragma once

#include "core/QVL_DateTime.h"
#include "statistics/QVL_Statistics_UnitResults.h"

#include <QString>
#include <QtGlobal>

#include <vector>

// The journal of stored queries: one entry per query with the values it
// shows, copied, so that a list keeps no reference into the user's results.
class TQVL_Statistics_Journal
{
public:
    enum TColumn
    {
        colDate,
        colTime,
        colUnit,
        colDuration,
        colSuccess,
        ColumnCount
    };

    struct TEntry
    {
        TQVL_DateTime DateTime;
        // The unit's full last known file name.
        QString UnitFileName;
        qint32 Duration = 0;
        qint32 Queried = 0;
        qint32 Right = 0;
    };

    // Every query of the units stored from 0 up to (not including) `now`, unit
    // by unit, each unit's queries in stored order.
    static std::vector<TEntry> Entries(const TQVL_Statistics_UnitResults& units, TQVL_DateTime now);

    // The order of two entries for `column`: < 0 when `a` comes first in an
    // ascending list. Dates compare newest first, to a thousandth of a day;
    // times of day compare earliest first.
    static int Compare(const TEntry& a, const TEntry& b, int column);
    // Sorts stably by `column`; a descending order reverses the comparison.
    static void Sort(std::vector<TEntry>& entries, int column, Qt::SortOrder order);
    // The positions of `entries` in that order.
    static std::vector<int> SortedOrder(const std::vector<TEntry>& entries, int column, Qt::SortOrder direction);

    // Right answers in whole percent (truncated); 0 without answers.
    static int SuccessPercent(const TEntry& entry);
    // The text of a cell.
    static QString Text(const TEntry& entry, int column);
    // "hh:mm:ss", hours above 99 in full.
    static QString DurationText(qint32 seconds);
};
