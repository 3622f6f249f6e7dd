#include "query/QVL_Query_Card_ReduceList.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The ranking loop exactly as it is defined, on positions.
std::vector<int> literalOrder(const std::vector<qint64>& keys)
{
    std::vector<int> a(keys.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        a[i] = int(i);
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < a.size(); ++j)
            if (keys[std::size_t(a[i])] < keys[std::size_t(a[j])])
                std::swap(a[i], a[j]);
    return a;
}

struct Entry {
    char name;
    qint64 points;
    bool right;
};

std::string reduce(std::vector<Entry> entries, quint8 typ, int by, bool roundLevel)
{
    std::vector<Entry*> list;
    for (Entry& e : entries)
        list.push_back(&e);
    TQVL_Query_Card_ReduceList(typ, by, roundLevel)
        .Reduce<Entry>(list, [](const Entry& e) { return e.points; }, [](const Entry& e) { return e.right; });
    std::string names;
    for (const Entry* e : list)
        names += e->name;
    return names;
}

} // namespace

TEST(ReduceList, FastRankingEqualsTheLiteralLoop)
{
    std::mt19937 random(4711);
    for (int round = 0; round < 30000; ++round) {
        const int n = std::uniform_int_distribution<int>(0, 40)(random);
        const int distinct = std::uniform_int_distribution<int>(1, 6)(random); // many equal keys
        std::vector<qint64> keys(static_cast<std::size_t>(n));
        for (qint64& key : keys)
            key = std::uniform_int_distribution<int>(0, distinct)(random) * 5 - 10;
        ASSERT_EQ(ExchangeSortOrder(keys), literalOrder(keys)) << "round " << round;
    }
    for (int size : {200, 1000}) {
        std::vector<qint64> keys(static_cast<std::size_t>(size));
        for (qint64& key : keys)
            key = std::uniform_int_distribution<int>(0, 30)(random);
        EXPECT_EQ(ExchangeSortOrder(keys), literalOrder(keys)) << size;
    }
}

TEST(ReduceList, RemovesTheHighestKeys)
{
    struct Case {
        std::vector<Entry> entries;
        quint8 typ;
        int by;
        bool roundLevel;
        std::string kept;
    };
    const std::vector<Entry> three = {{'A', 5, false}, {'B', 5, true}, {'C', 3, false}};
    std::vector<Entry> ten;
    for (int i = 0; i < 10; ++i)
        ten.push_back({char('a' + i), i, false});
    const Case cases[] = {
        {three, 0, 25, false, "BC"},                  // 0 is raised to 1; of equal keys A goes
        {{{'A', 5, false}, {'B', 5, false}}, 1, 1, false, "A"}, // of two equal keys B goes
        {ten, 0, 25, false, "abcdefgh"},              // 10 * 25 div 100 = 2
        {three, 2, 0, true, "AC"},                    // the ones answered right
        {three, 1, 3, true, ""},                      // round level: not fewer than the list empties it
        {three, 1, 2, true, "C"},
        {three, 1, 5, false, ""},                     // more than there are: all go
        {three, 0, 150, false, ""},
        {three, 1, 0, false, "ABC"},
        {three, 7, 50, false, "ABC"},                 // unknown type
        {{}, 0, 25, false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reduce(c.entries, c.typ, c.by, c.roundLevel), c.kept)
            << int(c.typ) << "/" << c.by << "/" << c.roundLevel;
}
