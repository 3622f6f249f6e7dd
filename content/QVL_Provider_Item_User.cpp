#include "content/QVL_Provider_Item_User.h"

#include "core/QVL_Error.h"
#include "core/QVL_SafeFile.h"
#include "core/QVL_XML.h"
#include "core/QVL_XMLTag.h"

#include <QStringList>

#include <limits>

namespace {

const QStringList& headerNames()
{
    static const QStringList names = {QStringLiteral("uid"),       QStringLiteral("name"),
                                      QStringLiteral("icon"),      QStringLiteral("lastlogin"),
                                      QStringLiteral("alltimequeryseconds"), QStringLiteral("password")};
    return names;
}

} // namespace

void TQVL_Provider_Item_User::Load()
{
    QStringList values;
    TQVL_XML::ReadHeaderValues(Path, &headerNames(), HeaderBytes::User, &values);
    apply(values);
}

bool TQVL_Provider_Item_User::ReloadWholeHeader()
{
    const QByteArray header = ReadWholeHeader(Path);
    QStringList values;
    if (!header.isEmpty())
        TQVL_XML::ReadHeaderValuesFromBytes(header.constData(), header.size(), headerNames(), values);
    return apply(values);
}

bool TQVL_Provider_Item_User::apply(const QStringList& values)
{
    try {
        if (values.size() < headerNames().size())
            throw TQVL_Error(QStringLiteral("unreadable header"));
        Uid = values.at(0);
        UserName = DecodeText(values.at(1));
        Icon = TQVL_XMLTag::ToInteger(values.at(2));
        LastLogin = TQVL_XMLTag(QString(), values.at(3)).AsDateTime();
        AllTimeQuerySeconds = TQVL_XMLTag::ToInt64(values.at(4));
        Password = values.at(5);
        return true;
    } catch (const TQVL_Error&) {
        UserName = QStringLiteral("[Ungültig]");
        return false;
    }
}

QByteArray TQVL_Provider_Item_User::ReadWholeHeader(const QString& fileName)
{
    static const QByteArray end = QByteArrayLiteral("</header>");
    // The header comes first; only a very long name or units folder needs more than the first read.
    int window = 4096;
    for (;;) {
        const QByteArray head = TQVL_FileHandle::ReadHead(fileName, window);
        const qsizetype at = head.indexOf(end);
        if (at >= 0)
            return head.left(at + end.size());
        if (head.size() < window || window > std::numeric_limits<int>::max() / 4)
            return {};
        window *= 4;
    }
}

QString TQVL_Provider_Item_User::DecodeText(const QString& text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    QString decoded;
    decoded.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        const qsizetype semicolon = c == QLatin1Char('&') ? text.indexOf(QLatin1Char(';'), i) : -1;
        if (semicolon < 0) {
            decoded.append(c);
            ++i;
            continue;
        }
        const QString entity = text.mid(i + 1, semicolon - i - 1);
        QString replacement;
        if (entity == QLatin1String("amp"))
            replacement = QStringLiteral("&");
        else if (entity == QLatin1String("lt"))
            replacement = QStringLiteral("<");
        else if (entity == QLatin1String("gt"))
            replacement = QStringLiteral(">");
        else if (entity == QLatin1String("quot"))
            replacement = QStringLiteral("\"");
        else if (entity == QLatin1String("apos"))
            replacement = QStringLiteral("'");
        else if (entity.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            const uint code = entity.startsWith(QLatin1String("#x")) ? entity.mid(2).toUInt(&ok, 16)
                                                                      : entity.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
                const char32_t point = char32_t(code);
                replacement = QString::fromUcs4(&point, 1);
            }
        }
        if (replacement.isNull()) {
            decoded.append(c);
            ++i;
            continue;
        }
        decoded.append(replacement);
        i = semicolon + 1;
    }
    return decoded;
}
