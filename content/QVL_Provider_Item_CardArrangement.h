#pragma once

#include "content/QVL_Provider_Item_Custom.h"

// A card arrangement file. `Name` of the base is the file name; the
// arrangement's own name is `ArrangementName`.
class TQVL_Provider_Item_CardArrangement : public TQVL_Provider_Item_Custom
{
public:
    void Load() override;

    QString ArrangementName;
    QString Uid;
};
