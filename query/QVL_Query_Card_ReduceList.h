#pragma once

#include <QtGlobal>

#include <functional>
#include <vector>

// The ranking of a card list by the exchange sort "for i, for j: if key(i) <
// key(j) swap" as positions into `keys`: result[p] is the index of the entry
// that ends at position p. Equal keys end in exactly the order that loop
// leaves them in, but the order is computed in O(n log n).
std::vector<int> ExchangeSortOrder(const std::vector<qint64>& keys);

// Shrinks a card list between rounds (RoundLevel) or between exercise phases.
class TQVL_Query_Card_ReduceList
{
public:
    TQVL_Query_Card_ReduceList(quint8 typ, int by, bool roundLevel) : Typ(typ), By(by), RoundLevel(roundLevel) {}

    // Typ 0 removes By percent (at least one) of the entries with the highest
    // keys, Typ 1 By entries, Typ 2 the entries answered right last time; the
    // others keep their order. `key` and `lastAnswerRight` read an entry.
    template <typename Entry>
    void Reduce(std::vector<Entry*>& list, const std::function<qint64(const Entry&)>& key,
                const std::function<bool(const Entry&)>& lastAnswerRight) const
    {
        if (Typ == 2) {
            std::erase_if(list, [&](const Entry* e) { return lastAnswerRight(*e); });
            return;
        }
        std::vector<qint64> keys;
        keys.reserve(list.size());
        for (const Entry* e : list)
            keys.push_back(key(*e));
        const std::vector<bool> removed = RemovedPositions(keys);
        std::size_t kept = 0;
        for (std::size_t i = 0; i < list.size(); ++i)
            if (!removed[i])
                list[kept++] = list[i];
        list.resize(kept);
    }

    // Which entries of a list with these keys are removed (Typ 0 and 1).
    std::vector<bool> RemovedPositions(const std::vector<qint64>& keys) const;
    // How many entries of `n` are to go; 0 for an unknown type.
    qint64 RemoveCount(qint64 n) const;

    quint8 Typ;
    int By;
    bool RoundLevel;
};
