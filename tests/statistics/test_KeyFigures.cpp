// The key figures of the statistics overview over the last 60 days.
#include "query/QVL_Result_Unit.h"
#include "statistics/QVL_Statistics_KeyFigures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

class KeyFiguresTest : public ::testing::Test
{
protected:
    TQVL_Result_Unit& addUnit()
    {
        units.push_back(std::make_unique<TQVL_Result_Unit>(QString::number(units.size())));
        return *units.back();
    }
    // A query stored `hoursAgo` before now with `queried` cards.
    void addQuery(TQVL_Result_Unit& unit, double hoursAgo, qint32 queried)
    {
        unit.AddQuery(60, queried, false, queried / 2, TQVL_DateTime(now.Serial() - hoursAgo / 24.0));
    }
    TQVL_Statistics_KeyFigures compute() const
    {
        TQVL_Statistics_UnitResults list;
        for (const auto& unit : units)
            list.push_back(unit.get());
        return TQVL_Statistics_KeyFigures::Compute(list, now);
    }

    const TQVL_DateTime now = TQVL_DateTime::FromParts(2024, 3, 10, 18, 0);
    std::vector<std::unique_ptr<TQVL_Result_Unit>> units;
};

TEST_F(KeyFiguresTest, WithoutQueriesEverythingIsZero)
{
    addUnit();
    addUnit();
    const TQVL_Statistics_KeyFigures figures = compute();
    EXPECT_EQ(figures.UnitCount, 2) << "units count whether they hold queries or not";
    EXPECT_EQ(figures.QueryCount, 0);
    EXPECT_EQ(figures.CardsQueried, 0);
    EXPECT_EQ(figures.CardsPerQuery, 0.0);
    EXPECT_EQ(figures.CardsPerQuerySpread, 0.0);
    EXPECT_EQ(figures.GapHours, 0.0);
    EXPECT_EQ(figures.GapHoursSpread, 0.0);
}

TEST_F(KeyFiguresTest, OneQueryInThePeriodHasItsSizeAsMeanAndNoSpreadOrGap)
{
    TQVL_Result_Unit& unit = addUnit();
    addQuery(unit, 61 * 24, 50); // too old
    addQuery(unit, 3, 12);
    addQuery(unit, -1, 40); // stored in the future (clock changed)
    const TQVL_Statistics_KeyFigures figures = compute();
    EXPECT_EQ(figures.QueryCount, 1);
    EXPECT_EQ(figures.CardsQueried, 12);
    EXPECT_DOUBLE_EQ(figures.CardsPerQuery, 12.0);
    EXPECT_EQ(figures.CardsPerQuerySpread, 0.0);
    EXPECT_EQ(figures.GapHours, 0.0);
    EXPECT_EQ(figures.GapHoursSpread, 0.0);
}

TEST_F(KeyFiguresTest, SeveralQueriesOfSeveralUnitsGiveMeansAndStandardDeviations)
{
    TQVL_Result_Unit& first = addUnit();
    TQVL_Result_Unit& second = addUnit();
    // Stored out of date order across the units: the gaps are taken between
    // neighbours in time, 2 h and 3 h (plus 30 s, cut to whole minutes).
    addQuery(first, 6 + 30.0 / 3600, 30);
    addQuery(second, 1, 10);
    addQuery(first, 3, 20);
    // Exactly at the period's start counts, exactly now does not.
    addQuery(second, 60 * 24, 20);
    addQuery(second, 0, 99);
    const TQVL_Statistics_KeyFigures figures = compute();
    EXPECT_EQ(figures.QueryCount, 4);
    EXPECT_EQ(figures.CardsQueried, 80);
    EXPECT_DOUBLE_EQ(figures.CardsPerQuery, 20.0);
    EXPECT_NEAR(figures.CardsPerQuerySpread, std::sqrt(200.0 / 4), 1e-9);
    // Gaps: 2 h, 3 h, and 60 days less 6 h 0 min 30 s cut to 86039 minutes.
    const double last = 86039.0 / 60;
    const double mean = (2.0 + 3.0 + last) / 3;
    EXPECT_NEAR(figures.GapHours, mean, 1e-9);
    const double squares = std::pow(2 - mean, 2) + std::pow(3 - mean, 2) + std::pow(last - mean, 2);
    EXPECT_NEAR(figures.GapHoursSpread, std::sqrt(squares / 3), 1e-9);
}

} // namespace
