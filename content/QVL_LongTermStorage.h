#pragma once

#include "content/QVL_Unit.h"

// A long-term storage: a unit of kind tLongTermStorage for one pair of
// languages, kept as "<foreign language>.qxs" in the storages folder.
class TQVL_LongTermStorage : public TQVL_Unit
{
public:
    TQVL_LongTermStorage() = default;
    ~TQVL_LongTermStorage() override = default;
};
