#pragma once

#include "content/QVL_Provider_Item_Unit.h"

// A long-term storage file: a unit entry with the language pair, without result figures.
class TQVL_Provider_Item_LongTermStorage : public TQVL_Provider_Item_Unit
{
public:
    void Load() override;

    QString LangCodeHome;
    QString LangCodeForeign;
};
