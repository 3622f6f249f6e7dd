#pragma once

#include <QDir>
#include <QFile>
#include <QString>

#include <sys/mount.h>

// A small tmpfs of its own, for tests of a full disk; `mounted` is false where
// mounting is not allowed, and such tests are skipped.
class SmallFileSystem
{
public:
    SmallFileSystem(const QString& where, const char* options) : path(where)
    {
        QDir().mkpath(path);
        mounted = ::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0, options) == 0;
    }
    ~SmallFileSystem()
    {
        if (mounted)
            ::umount2(QFile::encodeName(path).constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    const QString path;
    bool mounted = false;
};
