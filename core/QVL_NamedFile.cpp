#include "core/QVL_NamedFile.h"

#include "core/QVL_Error.h"
#include "core/QVL_SafeFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Opens without blocking (a FIFO without writer would wait forever) and
// refuses everything but a regular file within the limit.
TQVL_FileHandle openChecked(const QString& fileName)
{
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        throw TQVL_Error::WithCause(QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden!").arg(fileName),
                                    TQVL_SafeFile::ErrorText(errno));
    TQVL_FileHandle handle(fd);
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        throw TQVL_Error(
            QStringLiteral("Die Datei \"%1\" wird nicht geöffnet, weil sie keine gewöhnliche Datei ist.").arg(fileName));
    if (info.st_size > TQVL_NamedFile::MaxSize)
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" wird nicht geöffnet, weil sie größer als %2 MB ist.")
                             .arg(fileName)
                             .arg(TQVL_NamedFile::MaxSize / (1024 * 1024)));
    return handle;
}

} // namespace

namespace TQVL_NamedFile {

QByteArray Read(const QString& fileName)
{
    const TQVL_FileHandle handle = openChecked(fileName);
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(handle.Descriptor(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw TQVL_Error::WithCause(QStringLiteral("Fehler beim Lesen der Datei \"%1\"!").arg(fileName),
                                        TQVL_SafeFile::ErrorText(errno));
        }
        if (got == 0)
            break;
        // A file that grows while we read is held to the same limit.
        if (bytes.size() + got > MaxSize)
            throw TQVL_Error(QStringLiteral("Die Datei \"%1\" wird nicht geöffnet, weil sie größer als %2 MB ist.")
                                 .arg(fileName)
                                 .arg(MaxSize / (1024 * 1024)));
        bytes.append(buffer, got);
    }
    return bytes;
}

void Check(const QString& fileName)
{
    openChecked(fileName);
}

} // namespace TQVL_NamedFile
