#include "exchange/QVL_Import_Text.h"

#include "core/QVL_Encoding.h"
#include "core/QVL_Error.h"
#include "core/QVL_SafeFile.h"
#include "exchange/QVL_Import_Pace.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Far beyond any vocabulary list; keeps a wrongly chosen disk image out of memory.
constexpr qint64 maxFileSize = 256 * 1024 * 1024;

// Bytes asked of the file at a time: large enough that reading costs no
// more than one read of the whole, small enough to report progress often.
constexpr qint64 readChunk = 1024 * 1024;

// What a file system entry is when it is not a regular file, for a message
// that says why it is not read.
QString notRegular(const QString& fileName, mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("\"%1\" ist ein Ordner und keine Datei.").arg(fileName);
    const QString what = S_ISFIFO(mode)                   ? QStringLiteral("eine benannte Pipe (FIFO)")
                         : S_ISCHR(mode) || S_ISBLK(mode) ? QStringLiteral("ein Gerät")
                         : S_ISSOCK(mode)                 ? QStringLiteral("ein Socket")
                                                          : QStringLiteral("ein besonderer Eintrag");
    return QStringLiteral("\"%1\" ist keine gewöhnliche Datei, sondern %2. Importiert werden nur gewöhnliche Dateien.")
        .arg(fileName, what);
}

TQVL_Error cannotRead(const QString& fileName, int error)
{
    return TQVL_Error::WithCause(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden.").arg(fileName),
                                 TQVL_SafeFile::ErrorText(error));
}

TQVL_Error tooLarge(const QString& fileName)
{
    return TQVL_Error(QStringLiteral("Die Datei \"%1\" ist zu groß für einen Import.").arg(fileName));
}

} // namespace

namespace TQVL_Import_Text {

QByteArray ReadFile(const QString& fileName, const TQVL_Import_Progress& progress)
{
    const QByteArray path = QFile::encodeName(fileName);
    // Looked at before opening: opening a device can have effects of its own.
    struct stat info
    {
    };
    if (::stat(path.constData(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw TQVL_Error(QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(fileName));
        throw cannotRead(fileName, errno);
    }
    if (!S_ISREG(info.st_mode))
        throw TQVL_Error(notRegular(fileName, info.st_mode));
    if (info.st_size > maxFileSize)
        throw tooLarge(fileName);
    // Without blocking and checked again on the descriptor: the entry may have
    // been replaced by a FIFO since.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        throw cannotRead(fileName, errno);
    const TQVL_FileHandle handle(fd);
    if (::fstat(fd, &info) != 0)
        throw cannotRead(fileName, errno);
    if (!S_ISREG(info.st_mode))
        throw TQVL_Error(notRegular(fileName, info.st_mode));
    if (info.st_size > maxFileSize)
        throw tooLarge(fileName);
    TQVL_Import_Pace pace(progress, info.st_size);
    QByteArray bytes;
    // Room for the chunk that finds the end, so the bytes are never moved.
    bytes.reserve(qsizetype(info.st_size + readChunk));
    for (;;) {
        // A file that grows while it is read is held to the same limit.
        const qint64 room = maxFileSize + 1 - bytes.size();
        const qsizetype at = bytes.size();
        bytes.resize(at + qsizetype(std::min(readChunk, room)));
        const ssize_t got = ::read(fd, bytes.data() + at, std::size_t(bytes.size() - at));
        if (got < 0) {
            if (errno == EINTR) {
                bytes.resize(at);
                continue;
            }
            throw cannotRead(fileName, errno);
        }
        bytes.resize(at + got);
        if (got == 0)
            break;
        if (bytes.size() > maxFileSize)
            throw tooLarge(fileName);
        pace.At(bytes.size());
    }
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

TQVL_Error FieldTooLong(const QString& fileName, int line)
{
    return LineError(fileName, line,
                     QStringLiteral("Ein Feld ist länger als %1 Zeichen; so viel Text nimmt keine Karte auf. Bitte "
                                    "prüfen Sie den Dateityp und das Trennzeichen.")
                         .arg(MaxFieldLength));
}

int LineOf(QStringView text, qsizetype offset)
{
    offset = std::clamp<qsizetype>(offset, 0, text.size());
    return int(text.left(offset).count(QLatin1Char('\n'))) + 1;
}

} // namespace TQVL_Import_Text
