#include "content/QVL_Provider_Item_CardArrangement.h"

#include "core/QVL_XML.h"

void TQVL_Provider_Item_CardArrangement::Load()
{
    static const QStringList names = {QStringLiteral("uid"), QStringLiteral("name")};
    QStringList values;
    TQVL_XML::ReadHeaderValues(Path, &names, HeaderBytes::CardArrangement, &values);
    if (values.size() < 2)
        return;
    Uid = values.at(0);
    ArrangementName = values.at(1);
}
