#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// An open operating-system file descriptor. A write handle holds an exclusive
// open-file-description lock, so other instances may read the file but not
// gain write access to it.
class TQVL_FileHandle
{
public:
    TQVL_FileHandle() = default;
    explicit TQVL_FileHandle(int fd) : descriptor(fd) {}
    ~TQVL_FileHandle() { Close(); }
    TQVL_FileHandle(TQVL_FileHandle&& other) noexcept : descriptor(other.Release()) {}
    TQVL_FileHandle& operator=(TQVL_FileHandle&& other) noexcept;
    TQVL_FileHandle(const TQVL_FileHandle&) = delete;
    TQVL_FileHandle& operator=(const TQVL_FileHandle&) = delete;

    // Opens for reading, no lock. Raises an error when the file cannot be opened.
    static TQVL_FileHandle OpenRead(const QString& fileName);
    // Opens for reading and writing with the write lock; an empty handle when
    // the file is read-only, missing or locked by another writer.
    static TQVL_FileHandle TryOpenWrite(const QString& fileName);

    // The whole file, read through a fresh descriptor; raises on error.
    static QByteArray ReadWholeFile(const QString& fileName);
    // At most `maxBytes` from the start; empty on any error.
    static QByteArray ReadHead(const QString& fileName, int maxBytes);

    bool IsValid() const { return descriptor >= 0; }
    int Descriptor() const { return descriptor; }
    // Reads the whole file from its start; raises on error.
    QByteArray ReadAll(const QString& fileNameForMessages) const;
    void Close();
    int Release()
    {
        const int fd = descriptor;
        descriptor = -1;
        return fd;
    }

private:
    int descriptor = -1;
};

// Crash-safe replacement of a file: the new content goes to a temporary file in
// the same folder, is flushed to disk and renamed over the target, and the
// folder is flushed. A failure at any point leaves the old file as it was.
// Only a regular file (or a name not taken yet) is replaced: a folder, a
// device or a pipe of that name is refused with an error naming it.
namespace TQVL_SafeFile {

// Writes `data` to `fileName`. When `lockedHandle` is given, it receives a
// locked write handle on the new file; the lock is taken before the rename,
// so no other writer can slip in between.
void Write(const QString& fileName, const QByteArray& data, TQVL_FileHandle* lockedHandle = nullptr);

// As Write, and replaces the companion file `companionName` with
// `companionData` in step: the companion's new content is first written to
// PendingCompanionName(companionName), the data file is renamed, then the
// companion. A crash in between leaves a pending companion that matches the
// new data file, which the next guarded open completes. `companionData` runs
// on another thread while the data is written (a checksum of a large file
// costs as much as writing it).
void WriteWithCompanion(const QString& fileName, const QByteArray& data, const QString& companionName,
                        const std::function<QByteArray()>& companionData, TQVL_FileHandle* lockedHandle = nullptr);

QString PendingCompanionName(const QString& companionName);

// Removes the temporary files that interrupted saves of `fileName` left
// beside it. A save in progress holds a lock on its temporary, so only the
// leftovers of a killed process go (once they are a few seconds old). Silent: nothing to report when a
// leftover cannot be removed (a read-only folder).
void RemoveStaleTemporaries(const QString& fileName);

// The readable German text of an errno value.
QString ErrorText(int error);

} // namespace TQVL_SafeFile
