#include "core/QVL_SafeFile.h"

#include "core/QVL_Error.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <ctime>
#include <future>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray encoded(const QString& fileName)
{
    return QFile::encodeName(fileName);
}

// Takes the exclusive open-file-description lock on the whole file.
bool lockForWriting(int fd)
{
    struct flock lock
    {
    };
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// A file without any write permission bit counts as read-only, for root too.
bool isReadOnly(const struct stat& info)
{
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

[[noreturn]] void fail(const QString& context, const QString& fileName, int error)
{
    throw TQVL_Error(context.arg(fileName) + QLatin1Char('\r') + TQVL_SafeFile::ErrorText(error));
}

void writeAll(int fd, const QByteArray& data, const QString& fileName)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, p, std::size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail(QStringLiteral("Fehler beim Schreiben der Datei \"%1\"!"), fileName, errno);
        }
        p += written;
        left -= written;
    }
    if (::fsync(fd) != 0)
        fail(QStringLiteral("Fehler beim Schreiben der Datei \"%1\"!"), fileName, errno);
}

void syncFolder(const QString& fileName)
{
    const int dir = ::open(encoded(QFileInfo(fileName).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// A temporary file beside `fileName`, with the permissions the target has (or
// would get when created).
TQVL_FileHandle createTemporary(const QString& fileName, QByteArray& temporaryName)
{
    const QFileInfo info(fileName);
    temporaryName = encoded(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(temporaryName.data(), O_CLOEXEC);
    if (fd < 0)
        fail(QStringLiteral("Die Datei \"%1\" kann nicht gespeichert werden!"), fileName, errno);
    struct stat existing
    {
    };
    mode_t mode;
    if (::stat(encoded(fileName).constData(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    return TQVL_FileHandle(fd);
}

class TemporaryGuard
{
public:
    explicit TemporaryGuard(QByteArray name) : path(std::move(name)) {}
    ~TemporaryGuard()
    {
        if (!path.isEmpty())
            ::unlink(path.constData());
    }
    void Dismiss() { path.clear(); }

private:
    QByteArray path;
};

// The rename would put a file in place of a device, a pipe or a folder's name,
// or fail only after the whole write.
void refuseIrregular(const QString& fileName)
{
    struct stat existing
    {
    };
    if (::stat(encoded(fileName).constData(), &existing) == 0 && !S_ISREG(existing.st_mode))
        throw TQVL_Error(
            QStringLiteral("Die Datei \"%1\" wird nicht gespeichert, weil sie keine gewöhnliche Datei ist.")
                .arg(fileName));
}

void replace(const QString& fileName, const QByteArray& data, const QString* companionName,
             const std::function<QByteArray()>* makeCompanion, TQVL_FileHandle* lockedHandle)
{
    refuseIrregular(fileName);
    // Made while the data is written; the companion is only needed after that.
    std::future<QByteArray> companion;
    if (companionName)
        companion = std::async(std::launch::async, *makeCompanion);
    TQVL_SafeFile::RemoveStaleTemporaries(fileName);
    QByteArray temporaryName;
    TQVL_FileHandle temporary = createTemporary(fileName, temporaryName);
    TemporaryGuard removeTemporary(temporaryName);
    // A new inode: nobody else can hold a lock on it. The lock marks the
    // temporary as in use, so that cleaning up never takes a save in progress.
    lockForWriting(temporary.Descriptor());
    writeAll(temporary.Descriptor(), data, fileName);

    QByteArray pendingName;
    if (companionName)
        pendingName = encoded(TQVL_SafeFile::PendingCompanionName(*companionName));
    TemporaryGuard removePending(pendingName);
    if (companionName) {
        const int fd = ::open(pendingName.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0)
            fail(QStringLiteral("Die Datei \"%1\" kann nicht gespeichert werden!"), *companionName, errno);
        TQVL_FileHandle pending(fd);
        writeAll(fd, companion.get(), *companionName);
    }

    if (::rename(temporaryName.constData(), encoded(fileName).constData()) != 0)
        fail(QStringLiteral("Die Datei \"%1\" kann nicht gespeichert werden!"), fileName, errno);
    removeTemporary.Dismiss();
    removePending.Dismiss();
    if (lockedHandle)
        *lockedHandle = std::move(temporary);

    if (companionName && ::rename(pendingName.constData(), encoded(*companionName).constData()) != 0) {
        // Another instance opening the file may have completed the step already.
        if (errno != ENOENT)
            fail(QStringLiteral("Die Datei \"%1\" kann nicht gespeichert werden!"), *companionName, errno);
    }
    syncFolder(fileName);
}

} // namespace

TQVL_FileHandle& TQVL_FileHandle::operator=(TQVL_FileHandle&& other) noexcept
{
    if (this != &other) {
        Close();
        descriptor = other.Release();
    }
    return *this;
}

void TQVL_FileHandle::Close()
{
    if (descriptor >= 0)
        ::close(descriptor);
    descriptor = -1;
}

TQVL_FileHandle TQVL_FileHandle::OpenRead(const QString& fileName)
{
    const int fd = ::open(encoded(fileName).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        fail(QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden!"), fileName, errno);
    return TQVL_FileHandle(fd);
}

TQVL_FileHandle TQVL_FileHandle::TryOpenWrite(const QString& fileName)
{
    const QByteArray path = encoded(fileName);
    // A saving instance may replace the file between our open and our lock;
    // the lock only counts when it sits on the file the path names now.
    for (int attempt = 0; attempt < 3; ++attempt) {
        TQVL_FileHandle handle(::open(path.constData(), O_RDWR | O_CLOEXEC));
        struct stat opened
        {
        };
        if (!handle.IsValid() || ::fstat(handle.Descriptor(), &opened) != 0 || isReadOnly(opened))
            return {};
        if (!lockForWriting(handle.Descriptor()))
            return {};
        struct stat current
        {
        };
        if (::stat(path.constData(), &current) == 0 && current.st_ino == opened.st_ino &&
            current.st_dev == opened.st_dev)
            return handle;
    }
    return {};
}

QByteArray TQVL_FileHandle::ReadAll(const QString& fileNameForMessages) const
{
    QByteArray result;
    struct stat info
    {
    };
    if (::fstat(descriptor, &info) == 0 && info.st_size > 0)
        result.reserve(qsizetype(info.st_size));
    char buffer[65536];
    off_t offset = 0;
    for (;;) {
        const ssize_t got = ::pread(descriptor, buffer, sizeof buffer, offset);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            fail(QStringLiteral("Fehler beim Lesen der Datei \"%1\"!"), fileNameForMessages, errno);
        }
        if (got == 0)
            break;
        result.append(buffer, got);
        offset += got;
    }
    return result;
}

QByteArray TQVL_FileHandle::ReadWholeFile(const QString& fileName)
{
    return OpenRead(fileName).ReadAll(fileName);
}

QByteArray TQVL_FileHandle::ReadHead(const QString& fileName, int maxBytes)
{
    const int fd = ::open(encoded(fileName).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    TQVL_FileHandle handle(fd);
    QByteArray head(maxBytes, Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < maxBytes) {
        const ssize_t got = ::pread(fd, head.data() + filled, std::size_t(maxBytes - filled), off_t(filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return {};
        }
        if (got == 0)
            break;
        filled += got;
    }
    head.truncate(filled);
    return head;
}

namespace TQVL_SafeFile {

void Write(const QString& fileName, const QByteArray& data, TQVL_FileHandle* lockedHandle)
{
    replace(fileName, data, nullptr, nullptr, lockedHandle);
}

void WriteWithCompanion(const QString& fileName, const QByteArray& data, const QString& companionName,
                        const std::function<QByteArray()>& companionData, TQVL_FileHandle* lockedHandle)
{
    replace(fileName, data, &companionName, &companionData, lockedHandle);
}

void RemoveStaleTemporaries(const QString& fileName)
{
    const QFileInfo info(fileName);
    const QByteArray folder = encoded(info.absolutePath());
    const QByteArray prefix = "." + encoded(info.fileName()) + ".";
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir);
    constexpr time_t minimumAge = 10;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        // The names createTemporary makes: the prefix and six characters of mkostemp.
        if (name.size() != std::size_t(prefix.size()) + 6 || name.substr(0, std::size_t(prefix.size())) != prefix.constData())
            continue;
        if (!std::all_of(name.end() - 6, name.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
            continue;
        const int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        TQVL_FileHandle candidate(fd);
        struct stat status
        {
        };
        // A save in progress holds its write lock, so this read lock is refused;
        // the temporaries of a killed save are free. A save that has just
        // created its temporary may not have locked it yet: young ones stay.
        struct flock probe
        {
        };
        probe.l_type = F_RDLCK;
        probe.l_whence = SEEK_SET;
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_mtime < now - minimumAge &&
            ::fcntl(fd, F_OFD_SETLK, &probe) == 0)
            ::unlinkat(dirFd, entry->d_name, 0);
    }
    ::closedir(dir);
}

QString PendingCompanionName(const QString& companionName)
{
    return companionName + QStringLiteral(".new");
}

QString ErrorText(int error)
{
    switch (error) {
    case ENOSPC: return QStringLiteral("Auf dem Datenträger ist nicht genügend Speicherplatz vorhanden.");
    case EDQUOT: return QStringLiteral("Das Speicherkontingent ist erschöpft.");
    case EACCES:
    case EPERM: return QStringLiteral("Zugriff verweigert.");
    case EROFS: return QStringLiteral("Das Dateisystem ist schreibgeschützt.");
    case ENOENT: return QStringLiteral("Datei oder Verzeichnis nicht gefunden.");
    case EFBIG: return QStringLiteral("Die Datei ist zu groß.");
    case EIO: return QStringLiteral("Ein-/Ausgabefehler des Datenträgers.");
    case ENAMETOOLONG: return QStringLiteral("Der Dateiname ist zu lang.");
    case ENOTDIR: return QStringLiteral("Ein Teil des Pfades ist kein Verzeichnis.");
    case EISDIR: return QStringLiteral("Der Pfad ist ein Verzeichnis.");
    default: return QString::fromLocal8Bit(std::strerror(error));
    }
}

} // namespace TQVL_SafeFile
