#include "content/QVL_Provider_Languages.h"

TQVL_Provider_Item_Language* TQVL_Provider_Languages::FindByLangCode(const QString& code) const
{
    for (TQVL_Provider_Item_Custom* item : Items) {
        auto* language = dynamic_cast<TQVL_Provider_Item_Language*>(item);
        if (language && language->IsFile && language->LangCode == code)
            return language;
    }
    return nullptr;
}
