// Feeds arbitrary bytes to the two readers of what the update service sends:
// the update list, and a package's unpacker (the signature check in front of
// it is left out here). Unpacking must never leave anything but plain files
// and folders, and nothing outside its folder.
#include "core/QVL_Error.h"
#include "update/QVL_Update.h"
#include "update/QVL_UpdatePackage.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        TQVL_Update::ReadUpdateList(bytes);
    } catch (const TQVL_Error&) {
    }

    QTemporaryDir dir;
    const QString package = dir.filePath(QStringLiteral("p.tar.xz"));
    const QString target = dir.filePath(QStringLiteral("Updates"));
    QFile file(package);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return 0;
    file.close();
    try {
        TQVL_UpdatePackage::Unpack(package, target);
    } catch (const TQVL_Error&) {
    }
    QDirIterator inside(target, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
    while (inside.hasNext()) {
        const QFileInfo entry(inside.next());
        if (entry.isSymLink() || (!entry.isFile() && !entry.isDir()))
            std::abort();
    }
    // Only the package and the update folder may be beside each other.
    if (QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size() > 2)
        std::abort();
    return 0;
}
