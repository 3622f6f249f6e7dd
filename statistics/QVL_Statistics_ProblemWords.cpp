#include "statistics/QVL_Statistics_ProblemWords.h"

#include "query/QVL_Result_Unit.h"

#include <algorithm>

bool TQVL_Statistics_ProblemWords::Qualifies(qint32 asked, qint32 right)
{
    return asked > 0 && right >= 0 && right <= asked && asked - right >= MinWrong;
}

bool TQVL_Statistics_ProblemWords::Before(const TEntry& a, const TEntry& b)
{
    // wrong/asked compared crosswise in 64 bits: no rounding makes 2/3 and 4/6 differ.
    const qint64 left = qint64(a.Wrong) * b.Asked;
    const qint64 right = qint64(b.Wrong) * a.Asked;
    if (left != right)
        return left > right;
    return a.Wrong > b.Wrong;
}

int TQVL_Statistics_ProblemWords::WrongPercent(const TEntry& entry)
{
    return entry.Asked > 0 ? int(qint64(entry.Wrong) * 100 / entry.Asked) : 0;
}

std::vector<TQVL_Statistics_ProblemWords::TEntry>
TQVL_Statistics_ProblemWords::Compute(const TQVL_Statistics_UnitResults& units, int limit)
{
    std::vector<TEntry> list;
    for (const TQVL_Result_Unit* unit : units) {
        for (int i = 0; i < unit->CardCount(); ++i) {
            const TQVL_Result_Card& card = unit->Card(i);
            // A uid recorded twice is one card: its last record is the one the engine uses.
            if (unit->FindCard(card.card_uid) != &card)
                continue;
            if (!Qualifies(card.all_queried, card.all_right))
                continue;
            list.push_back(TEntry{unit->unit_uid, unit->unit_lastknownfilename, card.card_uid, card.all_queried,
                                  card.all_queried - card.all_right});
        }
    }
    std::stable_sort(list.begin(), list.end(), Before);
    if (limit >= 0 && list.size() > std::size_t(limit))
        list.resize(std::size_t(limit));
    return list;
}
