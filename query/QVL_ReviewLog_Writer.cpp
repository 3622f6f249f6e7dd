#include "query/QVL_ReviewLog_Writer.h"

#include "core/QVL_Error.h"
#include "core/QVL_SafeFile.h"
#include "query/QVL_ReviewLog.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <unistd.h>

namespace {

qint64 steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void syncFolderOf(const QString& fileName)
{
    const int folder =
        ::open(QFile::encodeName(QFileInfo(fileName).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

} // namespace

TQVL_ReviewLog_Writer::TQVL_ReviewLog_Writer() = default;

TQVL_ReviewLog_Writer::~TQVL_ReviewLog_Writer()
{
    try {
        Close();
    } catch (const TQVL_Error&) {
        // Every line already reached the file; only its flush failed.
    }
}

void TQVL_ReviewLog_Writer::fail(const QString& text, int error)
{
    throw TQVL_Error::WithCause(text.arg(FileName), TQVL_SafeFile::ErrorText(error));
}

void TQVL_ReviewLog_Writer::Open(const QString& fileName)
{
    Close();
    FileName = fileName;
    const QString cannotOpen = QStringLiteral("Das Antwortprotokoll \"%1\" kann nicht geöffnet werden!");
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        fail(cannotOpen, errno);
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EAGAIN || error == EACCES)
            throw TQVL_Error(QStringLiteral("Das Antwortprotokoll \"%1\" wird gerade von einem anderen Programm "
                                            "geschrieben.")
                                 .arg(fileName));
        fail(cannotOpen, error);
    }
    descriptor = fd;
    try {
        const QByteArray header = TQVL_ReviewLog::Header();
        const qint64 size = ::lseek(fd, 0, SEEK_END);
        if (size < 0)
            fail(cannotOpen, errno);
        QByteArray head(qsizetype(std::min<qint64>(size, header.size())), '\0');
        if (!head.isEmpty() && ::pread(fd, head.data(), std::size_t(head.size()), 0) != head.size())
            fail(cannotOpen, errno);
        if (size < header.size() && header.startsWith(head)) {
            // New, or its creation was cut off.
            if (::ftruncate(fd, 0) != 0)
                fail(cannotOpen, errno);
            end = 0;
            writeAll(header.constData(), header.size());
            sync();
            syncFolderOf(fileName);
        } else {
            // Reads the two header lines the way a reader does: another format or version is refused.
            QByteArray start(qsizetype(std::min<qint64>(size, 4096)), '\0');
            if (::pread(fd, start.data(), std::size_t(start.size()), 0) != start.size())
                fail(cannotOpen, errno);
            const qsizetype first = start.indexOf('\n');
            const qsizetype second = first < 0 ? -1 : start.indexOf('\n', first + 1);
            TQVL_ReviewLog::Parse(second < 0 ? start : start.left(second + 1), fileName);
            if (second < 0)
                throw TQVL_Error(QStringLiteral("Die Datei \"%1\" ist kein gültiges Antwortprotokoll!").arg(fileName));
            // Cut a torn last line back to the end of the last whole one.
            qint64 keep = size;
            char buffer[4096];
            while (keep > second + 1) {
                const qint64 from = std::max<qint64>(second + 1, keep - qint64(sizeof buffer));
                const qint64 count = keep - from;
                if (::pread(fd, buffer, std::size_t(count), from) != count)
                    fail(cannotOpen, errno);
                qint64 i = count;
                while (i > 0 && buffer[i - 1] != '\n')
                    --i;
                if (i > 0) {
                    keep = from + i;
                    break;
                }
                keep = from;
            }
            if (keep != size) {
                if (::ftruncate(fd, keep) != 0)
                    fail(cannotOpen, errno);
                dirty = true;
                sync();
            }
            end = keep;
        }
    } catch (...) {
        ::close(descriptor);
        descriptor = -1;
        throw;
    }
    lastSync = Clock ? Clock() : steadyMs();
}

void TQVL_ReviewLog_Writer::writeAll(const char* data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(descriptor, data + done, std::size_t(size - done), end + done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            // A part of a line would glue the next answer onto it.
            if (done > 0 && ::ftruncate(descriptor, end) != 0) {
                // The reader still drops it when it stays the last line.
            }
            fail(QStringLiteral("Das Antwortprotokoll \"%1\" konnte nicht geschrieben werden!"), error);
        }
        done += n;
    }
    end += size;
    dirty = true;
}

void TQVL_ReviewLog_Writer::Append(const TQVL_ReviewLog_Entry& entry)
{
    QByteArray line;
    line.reserve(128);
    TQVL_ReviewLog::AppendLine(line, entry);
    appendLine(line);
}

void TQVL_ReviewLog_Writer::AppendUndo(const TQVL_ReviewLog_Entry& entry)
{
    QByteArray line;
    line.reserve(128);
    TQVL_ReviewLog::AppendUndoLine(line, entry);
    appendLine(line);
}

void TQVL_ReviewLog_Writer::appendLine(const QByteArray& line)
{
    if (descriptor < 0)
        throw TQVL_Error(QStringLiteral("Review log not open"));
    writeAll(line.constData(), line.size());
    const qint64 now = Clock ? Clock() : steadyMs();
    if (now - lastSync >= SyncIntervalMs)
        sync();
}

void TQVL_ReviewLog_Writer::sync()
{
    if (!dirty)
        return;
    if (::fdatasync(descriptor) != 0)
        fail(QStringLiteral("Das Antwortprotokoll \"%1\" konnte nicht geschrieben werden!"), errno);
    dirty = false;
    lastSync = Clock ? Clock() : steadyMs();
}

void TQVL_ReviewLog_Writer::Flush()
{
    if (descriptor >= 0)
        sync();
}

void TQVL_ReviewLog_Writer::Close()
{
    if (descriptor < 0)
        return;
    const int fd = descriptor;
    try {
        sync();
    } catch (...) {
        descriptor = -1;
        ::close(fd);
        throw;
    }
    descriptor = -1;
    ::close(fd);
}
