#pragma once

#include "statistics/QVL_Statistics_UnitResults.h"

#include <QString>
#include <QtGlobal>

#include <vector>

// The cards the learner gets wrong most often. The rule: a card counts from
// MinWrong wrong answers on; the list is ordered by its share of wrong answers
// (wrong / asked), then by the number of wrong answers, both highest first;
// equal cards keep the order of their units and records.
class TQVL_Statistics_ProblemWords
{
public:
    static constexpr qint32 MinWrong = 4;

    struct TEntry
    {
        QString UnitUid;
        QString UnitFileName;
        qint32 CardUid = 0;
        qint32 Asked = 0;
        qint32 Wrong = 0;
    };

    // The problem words of the units' card records, at most `limit` (all for a limit below 0).
    static std::vector<TEntry> Compute(const TQVL_Statistics_UnitResults& units, int limit = -1);
    // Whether a card asked `asked` times with `right` right answers counts.
    static bool Qualifies(qint32 asked, qint32 right);
    // True when `a` comes before `b`.
    static bool Before(const TEntry& a, const TEntry& b);
    // The wrong share in whole percent (truncated).
    static int WrongPercent(const TEntry& entry);
};
