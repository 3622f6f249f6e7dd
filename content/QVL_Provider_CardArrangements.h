#pragma once

#include "content/QVL_Provider_Custom.h"
#include "content/QVL_Provider_Item_CardArrangement.h"

// Lists the card arrangements (grammar templates).
class TQVL_Provider_CardArrangements : public TQVL_Provider_Custom
{
public:
    TQVL_Provider_CardArrangements() { Extensions = QStringLiteral(".qxa"); }

    std::unique_ptr<TQVL_Provider_Item_Custom> CreateItem() override { return std::make_unique<TQVL_Provider_Item_CardArrangement>(); }

    // The first arrangement entry of the listing with `uid`, or nullptr.
    TQVL_Provider_Item_CardArrangement* FindByUid(const QString& uid) const;
};
