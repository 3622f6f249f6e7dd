#pragma once

#include <vector>

class TQVL_Result_Unit_Query;

// Stored queries by reference; the result units own them.
using TQVL_Statistics_QueryArray = std::vector<TQVL_Result_Unit_Query*>;
