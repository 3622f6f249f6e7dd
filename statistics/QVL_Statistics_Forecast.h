#pragma once

#include "core/QVL_DateTime.h"

#include <vector>

class TQVL_Result_Unit;

// The cards of a long-term storage that fall due on each of the coming days,
// counted with the storage's own due rule (TQVL_Result_Unit::CountDue), so
// stages and FSRS are forecast as the query will pick them.
class TQVL_Statistics_Forecast
{
public:
    static constexpr int DefaultDays = 30;

    // Entry 0: the cards due now, overdue ones included, as a query started
    // now would take them. Entry i > 0: the cards that become due after that
    // up to the end of day i (today being day 0), unless answered before.
    static std::vector<int> Compute(const TQVL_Result_Unit& storage, TQVL_DateTime now, int days = DefaultDays);
    // The last moment of the day `offset` days after that of `now`.
    static TQVL_DateTime EndOfDay(TQVL_DateTime now, int offset);
};
