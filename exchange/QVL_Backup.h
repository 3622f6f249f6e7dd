#pragma once

#include <QDateTime>
#include <QString>

// Copies of a long-term storage taken before an import or a merge writes into
// it, so that a wrong one can be undone by hand: "Backups" beside the file,
// named after it with the date and time, the newest five kept.
class TQVL_Backup
{
public:
    static constexpr int Kept = 5;

    // Copies `fileName` to "Backups/<name> <yyyy-MM-dd HH-mm-ss>.<ext>" beside
    // it (never over another copy), removes the oldest copies of that file
    // beyond Kept and returns the new copy's path. Raises a German error when
    // the copy cannot be made; then the caller must not write the file.
    static QString BackupFile(const QString& fileName, const QDateTime& now = QDateTime::currentDateTime());
    // The copies of `fileName`, oldest first.
    static QStringList BackupsOf(const QString& fileName);
};
