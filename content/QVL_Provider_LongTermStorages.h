#pragma once

#include "content/QVL_Provider_Custom.h"
#include "content/QVL_Provider_Item_LongTermStorage.h"

// Lists the long-term storages folder.
class TQVL_Provider_LongTermStorages : public TQVL_Provider_Custom
{
public:
    TQVL_Provider_LongTermStorages() { Extensions = QStringLiteral(".qxs;"); }

    std::unique_ptr<TQVL_Provider_Item_Custom> CreateItem() override { return std::make_unique<TQVL_Provider_Item_LongTermStorage>(); }
};
