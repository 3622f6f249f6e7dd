#pragma once

#include "query/QVL_ReviewLog_Entry.h"

#include <QString>

#include <functional>

// Appends answers to one review log file. Each answer reaches the file with
// its own write as it is given, so a killed program loses at most the line
// being written; the file is flushed to disk when asked (at the end of a
// query) and by itself once SyncIntervalMs have passed since the last flush.
// The writer holds an exclusive lock on the file while open, so a second
// program on the same profile cannot interleave its lines.
class TQVL_ReviewLog_Writer
{
public:
    TQVL_ReviewLog_Writer();
    // Flushes and closes; a failure there is not raised.
    ~TQVL_ReviewLog_Writer();
    TQVL_ReviewLog_Writer(const TQVL_ReviewLog_Writer&) = delete;
    TQVL_ReviewLog_Writer& operator=(const TQVL_ReviewLog_Writer&) = delete;

    // Opens `fileName` for appending, creating it with its header. A torn last
    // line left by a killed writer is cut off first, so the next line starts
    // on a line of its own. Raises a German error naming the file when it
    // cannot be opened or locked, or is not a review log of this version.
    void Open(const QString& fileName);
    // Writes one answer. On a failed write the file is cut back to the end of
    // the last whole line and the error raised.
    void Append(const TQVL_ReviewLog_Entry& entry);
    // Writes the line that takes back the answer `entry`, as Append does.
    void AppendUndo(const TQVL_ReviewLog_Entry& entry);
    // Flushes what was written to the disk; nothing when all is flushed.
    void Flush();
    // Flushes and closes; nothing when closed.
    void Close();
    bool IsOpen() const { return descriptor >= 0; }

    QString FileName;
    int SyncIntervalMs = 3000;
    // Milliseconds of a monotonic clock; the steady clock by default. For tests.
    std::function<qint64()> Clock;

private:
    [[noreturn]] void fail(const QString& text, int error);
    void writeAll(const char* data, qint64 size);
    void appendLine(const QByteArray& line);
    void sync();

    int descriptor = -1;
    qint64 end = 0;
    qint64 lastSync = 0;
    bool dirty = false;
};
