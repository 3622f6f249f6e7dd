#include "exchange/QVL_Import_Text.h"

#include "core/QVL_Encoding.h"
#include "core/QVL_Error.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace {

// Far beyond any vocabulary list; keeps a wrongly chosen disk image out of memory.
constexpr qint64 maxFileSize = 256 * 1024 * 1024;

} // namespace

namespace TQVL_Import_Text {

QByteArray ReadFile(const QString& fileName)
{
    const QFileInfo info(fileName);
    if (!info.isFile())
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(fileName));
    if (info.size() > maxFileSize)
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" ist zu groß für einen Import.").arg(fileName));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden.").arg(fileName));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden.").arg(fileName));
    return bytes;
}

QString Decode(const QByteArray& bytes, const QString& fileName, QString* encoding)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    auto setEncoding = [encoding](const char* name) {
        if (encoding)
            *encoding = QString::fromLatin1(name);
    };
    if (size >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF))) {
        const bool little = p[0] == 0xFF;
        QString text;
        text.reserve((size - 2) / 2);
        for (qsizetype i = 2; i + 1 < size; i += 2)
            text.append(QChar(little ? char16_t(p[i] | (p[i + 1] << 8)) : char16_t((p[i] << 8) | p[i + 1])));
        setEncoding("UTF-16");
        // An odd last byte belongs to no character; it is not text we could show.
        if (size % 2 != 0)
            throw LineError(fileName, LineOf(text, text.size()), QStringLiteral("Die Datei endet mitten in einem Zeichen."));
        return text;
    }
    qsizetype start = 0;
    if (size >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        start = 3;
    if (const void* zero = std::memchr(bytes.constData() + start, 0, std::size_t(size - start))) {
        const qsizetype at = static_cast<const char*>(zero) - bytes.constData();
        const int line = int(std::count(bytes.constData(), bytes.constData() + at, '\n')) + 1;
        throw LineError(fileName, line,
                        QStringLiteral("Die Datei enthält Nullbytes. Sie ist keine Textdatei oder in UTF-16 ohne "
                                       "Byte-Order-Mark gespeichert."));
    }
    const char* data = bytes.constData() + start;
    if (TQVL_Encoding::IsValidUtf8(data, size - start)) {
        setEncoding("UTF-8");
        return QString::fromUtf8(data, size - start);
    }
    setEncoding("Windows-1252");
    return TQVL_Encoding::DecodeWindows1252(data, size - start);
}

QString CardText(QStringView field)
{
    const auto unfit = [&field](qsizetype i) {
        const char16_t c = field[i].unicode();
        if (c < 0x20)
            return c != u'\t' && c != u'\n';
        // U+FEFF inside text is a byte order mark left over from joined files.
        if (c == 0xFFFE || c == 0xFFFF || c == 0xFEFF)
            return true;
        if (QChar::isHighSurrogate(c))
            return i + 1 >= field.size() || !QChar::isLowSurrogate(field[i + 1].unicode());
        if (QChar::isLowSurrogate(c))
            return i == 0 || !QChar::isHighSurrogate(field[i - 1].unicode());
        return false;
    };
    qsizetype i = 0;
    while (i < field.size() && !unfit(i))
        ++i;
    if (i == field.size())
        return field.trimmed().toString();
    QString cleaned;
    cleaned.reserve(field.size());
    for (qsizetype j = 0; j < field.size(); ++j)
        if (!unfit(j))
            cleaned.append(field[j]);
    return cleaned.trimmed();
}

void RefuseXml(QStringView text, const QString& fileName)
{
    const QStringView start = text.trimmed();
    if (start.startsWith(QLatin1String("<?xml")) || start.startsWith(QLatin1String("<kvtml")))
        throw LineError(fileName, LineOf(text, text.indexOf(QLatin1Char('<'))),
                        QStringLiteral("Die Datei ist eine XML-Datei. Bitte wählen Sie den passenden Dateityp."));
}

TQVL_Error LineError(const QString& fileName, int line, const QString& text)
{
    return TQVL_Error::WithCause(QStringLiteral("Die Datei \"%1\" kann nicht importiert werden.").arg(fileName),
                                 QStringLiteral("Zeile %1: %2").arg(line).arg(text));
}

int LineOf(QStringView text, qsizetype offset)
{
    offset = std::clamp<qsizetype>(offset, 0, text.size());
    return int(text.left(offset).count(QLatin1Char('\n'))) + 1;
}

} // namespace TQVL_Import_Text
