#pragma once

#include "content/QVL_Provider_Custom.h"
#include "content/QVL_Provider_Item_User.h"

// Lists the user profiles.
class TQVL_Provider_Users : public TQVL_Provider_Custom
{
public:
    TQVL_Provider_Users() { Extensions = QStringLiteral(".qxn"); }

    std::unique_ptr<TQVL_Provider_Item_Custom> CreateItem() override { return std::make_unique<TQVL_Provider_Item_User>(); }
};
