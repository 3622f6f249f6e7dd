#include "update/QVL_PrivateFolder.h"

#include "core/QVL_Error.h"
#include "core/QVL_System.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a descriptor when the scope ends.
class Descriptor
{
public:
    explicit Descriptor(int descriptor) : fd(descriptor) {}
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd; }

private:
    int fd;
};

// One piece of a copy.
constexpr qint64 copyPieceBytes = 64 * 1024;

} // namespace

TQVL_PrivateFolder::TQVL_PrivateFolder()
{
    QByteArray pattern = QFile::encodeName(TQVL_System::TempFolder() + QStringLiteral("/Quorvel_Update_XXXXXX"));
    if (!::mkdtemp(pattern.data()))
        throw TQVL_Error(QStringLiteral("Im Ordner \"%1\" kann kein Arbeitsordner für das Update angelegt werden!")
                             .arg(TQVL_System::TempFolder()));
    path = QFile::decodeName(pattern);
    // mkdtemp makes it 0700 for its owner; a umask cannot widen that, but say so where it matters.
    struct stat info = {};
    if (::lstat(pattern.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() ||
        (info.st_mode & 077) != 0) {
        QDir(path).removeRecursively();
        throw TQVL_Error(QStringLiteral("Der Arbeitsordner \"%1\" für das Update ist nicht privat!").arg(path));
    }
}

TQVL_PrivateFolder::~TQVL_PrivateFolder()
{
    if (!keep)
        QDir(path).removeRecursively();
}

QString TQVL_PrivateFolder::CopyIn(const QString& source, const QString& name, qint64 maxBytes) const
{
    const auto failed = [&source](const QString& cause) {
        return TQVL_Error::WithCause(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden!").arg(source), cause);
    };
    // No link is followed and a pipe cannot block the open; what is checked is what is read.
    const Descriptor in(::open(QFile::encodeName(source).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (in.get() < 0)
        throw failed(errno == ENOENT ? QStringLiteral("Die Datei fehlt.")
                                     : QStringLiteral("Sie ist keine gewöhnliche Datei oder nicht lesbar."));
    struct stat info = {};
    if (::fstat(in.get(), &info) != 0 || !S_ISREG(info.st_mode))
        throw failed(QStringLiteral("Sie ist keine gewöhnliche Datei."));
    const QString target = path + QLatin1Char('/') + name;
    const Descriptor out(
        ::open(QFile::encodeName(target).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (out.get() < 0)
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" konnte nicht angelegt werden!").arg(target));
    QByteArray piece(copyPieceBytes, Qt::Uninitialized);
    qint64 copied = 0;
    for (;;) {
        const ssize_t got = ::read(in.get(), piece.data(), std::size_t(piece.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw failed(QStringLiteral("Lesefehler."));
        if (got == 0)
            break;
        // Counted as it is read: the file may grow while it is copied.
        copied += got;
        if (copied > maxBytes)
            throw failed(QStringLiteral("Sie ist zu groß."));
        for (ssize_t written = 0; written < got;) {
            const ssize_t put = ::write(out.get(), piece.constData() + written, std::size_t(got - written));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                throw TQVL_Error(QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden!").arg(target));
            written += put;
        }
    }
    return target;
}
