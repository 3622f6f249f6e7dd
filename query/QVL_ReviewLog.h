#pragma once

#include "query/QVL_ReviewLog_Entry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// The review log: every answer of a query, one text line each, appended by
// one device per file ("<profile>.<device>.reviews.csv" beside the profile),
// so that no file is ever written by two machines. The first line names the
// format and its version, the second the columns; then one comma-separated
// line per answer. The log is never rewritten: a writer killed mid-line
// leaves a torn last line, which reading drops.
namespace TQVL_ReviewLog {

constexpr int Version = 1;

// What reading one file or the logs of a profile gave.
struct Contents
{
    std::vector<TQVL_ReviewLog_Entry> Entries;
    // Complete lines that did not parse (damaged on disk); skipped.
    int DamagedLines = 0;
    // The last line had no line end: an answer whose writing was cut off.
    bool TornTail = false;
};

// The first two lines of every log file.
QByteArray Header();
// One entry as its line, line end included. A uid that holds a comma, quote,
// backslash or line break is quoted as CSV does, with its line breaks and
// backslashes escaped as \n, \r and \\, so that an answer is always one line.
void AppendLine(QByteArray& out, const TQVL_ReviewLog_Entry& entry);
// The line that takes back the answer `entry` (undo in the query window): the
// answer's line with the verdict "undo". Reading drops both; the log itself
// stays append-only.
void AppendUndoLine(QByteArray& out, const TQVL_ReviewLog_Entry& entry);

// Parses the bytes of a log file. An undo line removes the latest answer of
// the file with its time, unit and card; an undo line without one is damaged. Raises a German error naming `fileName`
// when the header is not a review log's, or is one of another version.
Contents Parse(const QByteArray& bytes, const QString& fileName);
// Reads one file; a missing file is an empty log. Raises as Parse, and when the file cannot be read.
Contents Read(const QString& fileName);

// A device id as the program settings keep it: 32 lower-case hexadecimal digits.
bool IsDeviceId(const QString& id);
// The log file of the profile `profileFileName` written on `deviceId`.
QString FileName(const QString& profileFileName, const QString& deviceId);
// The log files of every device beside the profile, sorted by name.
QStringList FilesOf(const QString& profileFileName);
// All answers of a profile from every device, in time order (answers of the
// same millisecond keep the order of their files). Damaged lines are counted
// over all files; TornTail is set when any file had one.
Contents ReadProfile(const QString& profileFileName);

} // namespace TQVL_ReviewLog
