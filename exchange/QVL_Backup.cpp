#include "exchange/QVL_Backup.h"

#include "core/QVL_Error.h"
#include "core/QVL_System.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

QString backupFolder(const QString& fileName)
{
    return QFileInfo(fileName).absolutePath() + QStringLiteral("/Backups");
}

} // namespace

QStringList TQVL_Backup::BackupsOf(const QString& fileName)
{
    const QFileInfo info(fileName);
    const QRegularExpression pattern(QStringLiteral("^%1 \\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d(_(\\d+))?%2$")
                                         .arg(QRegularExpression::escape(info.completeBaseName()),
                                              QRegularExpression::escape(info.suffix().isEmpty()
                                                                             ? QString()
                                                                             : QLatin1Char('.') + info.suffix())));
    struct Copy
    {
        QString stamp;
        int number;
        QString path;
    };
    std::vector<Copy> copies;
    const QDir folder(backupFolder(fileName));
    for (const QString& name : folder.entryList(QDir::Files)) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (match.hasMatch())
            copies.push_back({name.mid(info.completeBaseName().size() + 1, 19), match.captured(2).toInt(),
                              folder.filePath(name)});
    }
    std::sort(copies.begin(), copies.end(),
              [](const Copy& a, const Copy& b) { return std::tie(a.stamp, a.number) < std::tie(b.stamp, b.number); });
    QStringList paths;
    for (const Copy& copy : copies)
        paths.append(copy.path);
    return paths;
}

QString TQVL_Backup::BackupFile(const QString& fileName, const QDateTime& now)
{
    const QFileInfo info(fileName);
    const QString folder = backupFolder(fileName);
    const QString failed = QStringLiteral("Die Sicherungskopie von \"%1\" kann nicht angelegt werden. Die Datei "
                                          "wurde nicht verändert.")
                               .arg(fileName);
    if (!QDir().mkpath(folder))
        throw TQVL_Error::WithCause(failed, QStringLiteral("Verzeichnis \"%1\" kann nicht erstellt werden.").arg(folder));
    const QString name = info.completeBaseName() + QLatin1Char(' ') +
                         now.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")) +
                         (info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix());
    const QString copy = TQVL_System::UniqueFileName(folder, name);
    QFile source(fileName);
    if (!source.copy(copy))
        throw TQVL_Error::WithCause(failed, source.errorString());
    const QStringList copies = BackupsOf(fileName);
    for (qsizetype i = 0; i + Kept < copies.size(); ++i)
        QFile::remove(copies[i]);
    return copy;
}
