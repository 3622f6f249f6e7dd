#pragma once

#include <QByteArray>
#include <QString>

// Files that a document names (the sounds and pictures of a lesson). The name
// comes from a file anybody may have written, so only regular files are read
// (never a FIFO, a device or a folder, which could block or never end) and
// only up to a size limit.
namespace TQVL_NamedFile {

constexpr qint64 MaxSize = qint64(64) * 1024 * 1024;

// The whole file; raises a German error naming it when it is not a regular
// file, is larger than MaxSize or cannot be read.
QByteArray Read(const QString& fileName);
// The same checks without reading; raises the same errors.
void Check(const QString& fileName);

} // namespace TQVL_NamedFile
