#pragma once

#include "content/QVL_Provider_Custom.h"
#include "content/QVL_Provider_Item_Unit.h"

// Lists a folder of units ("Lektionen").
class TQVL_Provider_Units : public TQVL_Provider_Custom
{
public:
    TQVL_Provider_Units() { Extensions = QStringLiteral(".qxu;.qxuz;"); }

    std::unique_ptr<TQVL_Provider_Item_Custom> CreateItem() override { return std::make_unique<TQVL_Provider_Item_Unit>(&ResultLookup); }

    // The active user's results, for the success figures of the entries.
    TQVL_UnitResultLookup ResultLookup;
};
