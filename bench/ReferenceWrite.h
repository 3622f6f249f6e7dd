#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

// The reference every save is measured against: the same bytes written into a
// file with plain POSIX calls and fsync'ed. A failure aborts the benchmark.
inline void ReferenceWrite(const QString& path, const QByteArray& bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        std::abort();
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (written <= 0)
            std::abort();
        done += written;
    }
    if (::fsync(fd) != 0)
        std::abort();
    ::close(fd);
}
