#include "content/QVL_Provider_Item_LongTermStorage.h"

#include "core/QVL_Error.h"

void TQVL_Provider_Item_LongTermStorage::Load()
{
    static const QStringList names = {QStringLiteral("uid"), QStringLiteral("cardcount"),
                                      QStringLiteral("langcode_home"), QStringLiteral("langcode_foreign")};
    try {
        QStringList values;
        if (!readHeader(names, HeaderBytes::LongTermStorage, values))
            return;
        LangCodeHome = values.value(2);
        LangCodeForeign = values.value(3);
    } catch (const TQVL_Error&) {
        // The entry stays listed with what could be read.
    }
}
