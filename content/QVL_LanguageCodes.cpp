#include "content/QVL_LanguageCodes.h"

#include "core/QVL_Error.h"

#include <QFile>

QString TQVL_LanguageCodes::FileName(const QString& appDataFolder)
{
    // Lower case: the installed name, and file names are case-sensitive here.
    return appDataFolder + QStringLiteral("/Data/languagecodes.txt");
}

QStringList TQVL_LanguageCodes::Read(const QString& fileName)
{
    QFile file(fileName);
    // A code list is a few hundred bytes; anything far larger is no code list.
    if (!file.open(QIODevice::ReadOnly) || file.size() > 1024 * 1024)
        throw TQVL_Error(QStringLiteral("Die Liste der Sprachcodes \"%1\" konnte nicht gelesen werden!").arg(fileName));
    QStringList codes;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QString code = QString::fromUtf8(line).trimmed();
        if (!code.isEmpty())
            codes << code;
    }
    return codes;
}
