#pragma once

#include <QByteArray>
#include <QString>

// What the sync makes of the names and states of files in the shared folder,
// where a sync client (not we) decides when a file changes.
namespace TQVL_Sync_Files {

// The name a conflict copy stands for ("lessons/a.sync-conflict-20240101-120000-ABCDEFG.qxu" ->
// "lessons/a.qxu", "reviews (conflicted copy 2024-01-01).csv", "reviews (Konfliktkopie …).csv",
// "reviews (Anna's conflicted copy 2024-01-01).csv"); empty when `fileName` is none.
QString ConflictOriginal(const QString& fileName);
// A name sync clients give a file while they are still writing it.
bool IsTemporary(const QString& fileName);

// A file's bytes when it has settled: not a temporary name, its size and
// modification time the same before and after reading it, and its
// modification time at least `quietMs` before `nowMs` (a client that writes
// in place keeps touching it) unless it lies ahead of `nowMs`. Empty and false otherwise, also when it
// cannot be read.
bool ReadSettled(const QString& fileName, qint64 quietMs, qint64 nowMs, QByteArray& bytes);

// The lines of `theirs` that `mine` lacks, appended to `mine` in their order:
// two versions of an append-only file of one device, neither of which may
// lose a line. The headers (the first `headerLines` lines) must agree; a torn
// last line of either is dropped. Returns `mine` unchanged when it holds
// every line already.
QByteArray UnionOfLines(const QByteArray& mine, const QByteArray& theirs, int headerLines);

} // namespace TQVL_Sync_Files
