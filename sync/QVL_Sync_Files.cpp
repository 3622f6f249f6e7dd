#include "sync/QVL_Sync_Files.h"

#include "core/QVL_SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <sys/stat.h>

QString TQVL_Sync_Files::ConflictOriginal(const QString& fileName)
{
    const QFileInfo info(fileName);
    const QString folder = fileName.left(fileName.size() - info.fileName().size());
    const QString name = info.fileName();
    // Syncthing: "<stem>.sync-conflict-<date>-<time>-<device><.ext>".
    static const QRegularExpression syncthing(QStringLiteral("^(.+)\\.sync-conflict-\\d{8}-\\d{6}(-[A-Z0-9]+)?(\\..*)?$"));
    // Nextcloud, ownCloud and Dropbox: "<stem> (<who's >conflicted copy <…>)<.ext>", German clients "Konfliktkopie".
    static const QRegularExpression copy(
        QStringLiteral("^(.+?) \\((?:[^()]*\\s)?(?:conflicted copy|Konfliktkopie)(?:\\s[^()]*)?\\)(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    QRegularExpressionMatch match = syncthing.match(name);
    if (match.hasMatch())
        return folder + match.captured(1) + match.captured(3);
    match = copy.match(name);
    if (match.hasMatch())
        return folder + match.captured(1) + match.captured(2);
    return {};
}

bool TQVL_Sync_Files::IsTemporary(const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    static const QRegularExpression patterns(
        QStringLiteral("^(\\.syncthing\\..*\\.tmp|~syncthing~.*\\.tmp|\\.~.*|~\\$.*|\\..*\\.swp|.*\\.part|.*\\.partial|"
                       ".*\\.tmp|.*\\.crdownload|\\.dropbox.*|.*\\.~[0-9a-f]+)$"),
        QRegularExpression::CaseInsensitiveOption);
    return patterns.match(name).hasMatch();
}

namespace {

bool statOf(const QString& fileName, struct stat& info)
{
    return ::stat(QFile::encodeName(fileName).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

bool TQVL_Sync_Files::ReadSettled(const QString& fileName, qint64 quietMs, qint64 nowMs, QByteArray& bytes)
{
    bytes.clear();
    if (IsTemporary(fileName))
        return false;
    struct stat before = {};
    if (!statOf(fileName, before))
        return false;
    const qint64 modifiedMs = qint64(before.st_mtim.tv_sec) * 1000 + before.st_mtim.tv_nsec / 1000000;
    // A time ahead of ours comes from another machine's clock (clients keep the
    // sender's time); the size and time staying put while we read still count.
    if (modifiedMs <= nowMs && nowMs - modifiedMs < quietMs)
        return false;
    QByteArray read;
    try {
        read = TQVL_FileHandle::ReadWholeFile(fileName);
    } catch (...) {
        return false;
    }
    struct stat after = {};
    if (!statOf(fileName, after) || after.st_size != before.st_size || after.st_ino != before.st_ino ||
        after.st_mtim.tv_sec != before.st_mtim.tv_sec || after.st_mtim.tv_nsec != before.st_mtim.tv_nsec ||
        read.size() != before.st_size)
        return false;
    bytes = std::move(read);
    return true;
}

namespace {

// The complete lines of `bytes`; a last line without its line end is left out.
QList<QByteArray> wholeLines(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    // The piece after the last line end: empty, or a torn line.
    lines.removeLast();
    return lines;
}

} // namespace

QByteArray TQVL_Sync_Files::UnionOfLines(const QByteArray& mine, const QByteArray& theirs, int headerLines)
{
    const QList<QByteArray> ours = wholeLines(mine);
    const QList<QByteArray> other = wholeLines(theirs);
    if (other.size() <= headerLines)
        return mine;
    if (ours.size() < headerLines)
        return theirs.left(theirs.lastIndexOf('\n') + 1);
    for (int i = 0; i < headerLines; ++i) {
        if (ours[i] != other[i])
            return mine;
    }
    // Count each line: an answer given twice in the same millisecond is two lines, not one.
    QHash<QByteArray, int> have;
    for (int i = headerLines; i < ours.size(); ++i)
        ++have[ours[i]];
    QByteArray result = mine.left(mine.lastIndexOf('\n') + 1);
    const qsizetype unchanged = result.size();
    for (int i = headerLines; i < other.size(); ++i) {
        int& count = have[other[i]];
        if (count > 0) {
            --count;
            continue;
        }
        result.append(other[i]);
        result.append('\n');
    }
    return result.size() == unchanged && unchanged == mine.size() ? mine : result;
}
