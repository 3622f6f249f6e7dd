#include "content/QVL_Provider_Item_Language.h"

#include "core/QVL_XML.h"

void TQVL_Provider_Item_Language::Load()
{
    static const QStringList names = {QStringLiteral("uid"), QStringLiteral("name"), QStringLiteral("langcode")};
    QStringList values;
    TQVL_XML::ReadHeaderValues(Path, &names, HeaderBytes::Language, &values);
    if (values.size() < 3)
        return;
    Uid = values.at(0);
    LanguageName = values.at(1);
    LangCode = values.at(2);
}
