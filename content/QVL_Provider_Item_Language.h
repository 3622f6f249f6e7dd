#pragma once

#include "content/QVL_Provider_Item_Custom.h"

// A language profile file. `Name` of the base is the file name; the
// language's own name is `LanguageName`.
class TQVL_Provider_Item_Language : public TQVL_Provider_Item_Custom
{
public:
    void Load() override;

    QString LanguageName;
    QString LangCode;
    QString Uid;
};
