#include "query/QVL_Query_Card_ReduceList.h"

#include <algorithm>

namespace {

// Counts per slot with prefix sums and "k-th free slot" search.
class Fenwick
{
public:
    explicit Fenwick(int size) : tree(std::size_t(size) + 1, 0) {}

    // Every slot holding 1, built in linear time.
    static Fenwick AllOnes(int size)
    {
        Fenwick result(size);
        for (int i = 1; i <= size; ++i)
            result.tree[std::size_t(i)] = i & -i;
        return result;
    }

    void Add(int index, int delta)
    {
        for (int i = index + 1; i < int(tree.size()); i += i & -i)
            tree[std::size_t(i)] += delta;
    }
    // Sum of the slots 0 .. index - 1.
    int Prefix(int index) const
    {
        int sum = 0;
        for (int i = index; i > 0; i -= i & -i)
            sum += tree[std::size_t(i)];
        return sum;
    }
    // The slot at which the prefix sum reaches `k` (1-based), for slots holding 0 or 1.
    int FindKth(int k) const
    {
        int position = 0;
        int step = 1;
        while (step * 2 < int(tree.size()))
            step *= 2;
        for (; step > 0; step /= 2) {
            const int next = position + step;
            if (next < int(tree.size()) && tree[std::size_t(next)] < k) {
                position = next;
                k -= tree[std::size_t(next)];
            }
        }
        return position;
    }

private:
    std::vector<int> tree;
};

// One run of equal keys while the sorted prefix grows: its entries are kept
// as a cyclic sequence of insertions and a front index.
struct Run {
    std::vector<std::pair<int, int>> inserts; // entry, insertion index at that time
    int length = 0;
    int front = 0;
    int smallerSeen = 0; // entries with smaller keys processed up to the last event
};

// Numbers the distinct keys 0, 1, ... in ascending order and gives each entry
// its key's number; returns how many distinct keys there are. Point values
// lie close together, so a table over the key range usually replaces sorting.
int rankKeys(const std::vector<qint64>& keys, std::vector<int>& rankOf)
{
    const auto [low, high] = std::minmax_element(keys.begin(), keys.end());
    const std::size_t n = keys.size();
    const quint64 range = quint64(*high) - quint64(*low);
    if (range < 4 * n + 1024) {
        std::vector<int> table(std::size_t(range) + 1, 0);
        for (qint64 key : keys)
            table[std::size_t(quint64(key) - quint64(*low))] = 1;
        int rank = 0;
        for (int& slot : table)
            slot = slot ? rank++ : 0;
        for (std::size_t i = 0; i < n; ++i)
            rankOf[i] = table[std::size_t(quint64(keys[i]) - quint64(*low))];
        return rank;
    }
    std::vector<std::pair<qint64, int>> sorted(n);
    for (std::size_t i = 0; i < n; ++i)
        sorted[i] = {keys[i], int(i)};
    std::sort(sorted.begin(), sorted.end());
    int rank = 0;
    for (std::size_t p = 0; p < n; ++p) {
        if (p > 0 && sorted[p].first != sorted[p - 1].first)
            ++rank;
        rankOf[std::size_t(sorted[p].second)] = rank;
    }
    return rank + 1;
}

} // namespace

// After the first outer pass, which only moves the running maxima, every later
// pass i inserts entry i behind the entries with keys up to its own and
// rotates each run of larger keys by one (its first entry moves to its end).
// The runs are followed as cyclic sequences whose rotations are counted, not
// performed; their final orders are rebuilt at the end.
std::vector<int> ExchangeSortOrder(const std::vector<qint64>& keys)
{
    const int n = int(keys.size());
    if (n == 0)
        return {};
    std::vector<int> a(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        a[std::size_t(i)] = i;
    for (int j = 1; j < n; ++j)
        if (keys[std::size_t(a[0])] < keys[std::size_t(a[std::size_t(j)])])
            std::swap(a[0], a[std::size_t(j)]);

    std::vector<int> rankOf(static_cast<std::size_t>(n));
    const int rankCount = rankKeys(keys, rankOf);

    std::vector<Run> runs(static_cast<std::size_t>(rankCount));
    Fenwick processed(rankCount);
    for (int i = 0; i < n; ++i) {
        const int entry = a[std::size_t(i)];
        const int rank = rankOf[std::size_t(entry)];
        Run& run = runs[std::size_t(rank)];
        const int smaller = processed.Prefix(rank);
        if (run.length > 0) {
            const int rotations = smaller - run.smallerSeen;
            run.front = int((run.front + rotations) % run.length);
            run.inserts.emplace_back(entry, run.front);
            run.front += 1;
        } else {
            run.inserts.emplace_back(entry, 0);
            run.front = 0;
        }
        run.length += 1;
        run.smallerSeen = smaller;
        processed.Add(rank, 1);
    }

    std::vector<int> order;
    order.reserve(std::size_t(n));
    for (std::size_t rank = 0; rank < runs.size(); ++rank) {
        Run& run = runs[rank];
        if (run.length == 0)
            continue;
        run.front = int((run.front + qint64(processed.Prefix(int(rank)) - run.smallerSeen)) % run.length);
        // Insertions at indices, replayed backwards onto free slots.
        std::vector<int> sequence(std::size_t(run.length));
        Fenwick free = Fenwick::AllOnes(run.length);
        for (auto it = run.inserts.rbegin(); it != run.inserts.rend(); ++it) {
            const int slot = free.FindKth(it->second + 1);
            sequence[std::size_t(slot)] = it->first;
            free.Add(slot, -1);
        }
        order.insert(order.end(), sequence.begin() + run.front, sequence.end());
        order.insert(order.end(), sequence.begin(), sequence.begin() + run.front);
    }
    return order;
}

qint64 TQVL_Query_Card_ReduceList::RemoveCount(qint64 n) const
{
    switch (Typ) {
    case 0: return std::max<qint64>(n * By / 100, 1);
    case 1: return By;
    default: return 0;
    }
}

std::vector<bool> TQVL_Query_Card_ReduceList::RemovedPositions(const std::vector<qint64>& keys) const
{
    const qint64 n = qint64(keys.size());
    std::vector<bool> removed(keys.size(), false);
    const qint64 k = RemoveCount(n);
    // Between phases, asking for more entries than there are removes them all too.
    if ((RoundLevel && n - k <= 0) || (k >= 1 && k >= n)) {
        std::fill(removed.begin(), removed.end(), true);
        return removed;
    }
    if (k < 1)
        return removed;
    const std::vector<int> order = ExchangeSortOrder(keys);
    for (qint64 p = n - k; p < n; ++p)
        removed[std::size_t(order[std::size_t(p)])] = true;
    return removed;
}
