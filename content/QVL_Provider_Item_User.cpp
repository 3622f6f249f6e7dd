#include "content/QVL_Provider_Item_User.h"

#include "core/QVL_Error.h"
#include "core/QVL_XML.h"
#include "core/QVL_XMLTag.h"

void TQVL_Provider_Item_User::Load()
{
    static const QStringList names = {QStringLiteral("uid"),      QStringLiteral("name"),
                                      QStringLiteral("icon"),     QStringLiteral("lastlogin"),
                                      QStringLiteral("alltimequeryseconds"), QStringLiteral("password")};
    try {
        QStringList values;
        TQVL_XML::ReadHeaderValues(Path, &names, 350, &values);
        if (values.size() < names.size())
            throw TQVL_Error(QStringLiteral("unreadable header"));
        Uid = values.at(0);
        UserName = values.at(1);
        Icon = TQVL_XMLTag::ToInteger(values.at(2));
        TQVL_XMLTag lastLogin(QString(), values.at(3));
        LastLogin = lastLogin.AsDateTime();
        AllTimeQuerySeconds = TQVL_XMLTag::ToInt64(values.at(4));
        Password = values.at(5);
    } catch (const TQVL_Error&) {
        UserName = QStringLiteral("[Ungültig]");
    }
}
