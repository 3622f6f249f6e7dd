#pragma once

#include "content/QVL_Provider_Custom.h"
#include "content/QVL_Provider_Item_Language.h"

// Lists the language profiles.
class TQVL_Provider_Languages : public TQVL_Provider_Custom
{
public:
    TQVL_Provider_Languages() { Extensions = QStringLiteral(".qxl"); }

    std::unique_ptr<TQVL_Provider_Item_Custom> CreateItem() override { return std::make_unique<TQVL_Provider_Item_Language>(); }

    // The first language entry of the listing with `code`, or nullptr.
    TQVL_Provider_Item_Language* FindByLangCode(const QString& code) const;
};
