#include "users/QVL_PasswordHash.h"

#include "core/QVL_Error.h"

#include <QCryptographicHash>
#include <QRegularExpression>

#include <sodium.h>

namespace {

TQVL_PasswordHash::Cost& cost()
{
    static TQVL_PasswordHash::Cost current = TQVL_PasswordHash::ProgramCost();
    return current;
}

void initialise()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw TQVL_Error(QStringLiteral("Die Verschlüsselungsbibliothek konnte nicht gestartet werden."));
}

// A stored hash may come from an edited file: its own work factors must not
// make a check take minutes or gigabytes.
bool affordable(const QByteArray& stored)
{
    static const QRegularExpression factors(QStringLiteral("\\$m=(\\d{1,9}),t=(\\d{1,4}),p=(\\d{1,3})\\$"));
    const QRegularExpressionMatch match = factors.match(QString::fromLatin1(stored));
    if (!match.hasMatch())
        return false;
    const qint64 kibibytes = match.captured(1).toLongLong();
    const int passes = match.captured(2).toInt();
    const int lanes = match.captured(3).toInt();
    return kibibytes <= 1024 * 1024 && passes <= 16 && lanes <= 8;
}

} // namespace

namespace TQVL_PasswordHash {

Cost ProgramCost()
{
    return {crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE};
}

Cost CurrentCost()
{
    return cost();
}

void SetCost(Cost newCost)
{
    cost() = newCost;
}

QString Hash(const QString& password)
{
    initialise();
    const QByteArray utf8 = password.toUtf8();
    char stored[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(stored, utf8.constData(), static_cast<unsigned long long>(utf8.size()), cost().Operations,
                          cost().MemoryBytes) != 0)
        throw TQVL_Error(QStringLiteral("Das Passwort konnte nicht verschlüsselt werden (zu wenig Arbeitsspeicher)."));
    return QString::fromLatin1(stored);
}

bool Matches(const QString& stored, const QString& typed)
{
    if (IsLegacy(stored))
        return stored == LegacyDigest(typed);
    const QByteArray text = stored.toLatin1();
    if (text.size() >= crypto_pwhash_STRBYTES || !affordable(text))
        return false;
    initialise();
    const QByteArray utf8 = typed.toUtf8();
    return crypto_pwhash_str_verify(text.constData(), utf8.constData(), static_cast<unsigned long long>(utf8.size())) ==
           0;
}

bool IsLegacy(const QString& stored)
{
    return !stored.startsWith(QLatin1String(crypto_pwhash_argon2id_STRPREFIX));
}

QString LegacyDigest(const QString& password)
{
    return QString::fromLatin1(QCryptographicHash::hash(password.toLatin1(), QCryptographicHash::Md5).toHex());
}

} // namespace TQVL_PasswordHash
