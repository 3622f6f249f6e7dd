#pragma once

#include <vector>

class TQVL_Result_Unit;

// Result units of the active user, by reference: the user's results own them,
// so a list stays valid only while those results are not cleared or reloaded.
using TQVL_Statistics_UnitResults = std::vector<TQVL_Result_Unit*>;
