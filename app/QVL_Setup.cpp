#include "app/QVL_Setup.h"

#include "core/QVL_Error.h"
#include "core/QVL_FileObject.h"
#include "core/QVL_SafeFile.h"
#include "core/QVL_System.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

namespace {

// Where the installation goes.
struct Targets {
    QString appData;
    QString documents;
    QString program;
};

QString xmlEscaped(const QString& text)
{
    QString result = text.toHtmlEscaped();
    result.replace(QLatin1Char('\''), QStringLiteral("&apos;"));
    return result;
}

// Stored paths of the installed samples name these folders by placeholder.
bool carriesPlaceholders(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    return suffix == QLatin1String("qxu") || suffix == QLatin1String("qxs") || suffix == QLatin1String("qxl");
}

void makeFolder(const QString& folder)
{
    if (!QDir().mkpath(folder))
        throw TQVL_Error(QStringLiteral("Das Verzeichnis \"%1\" kann nicht angelegt werden!").arg(folder));
}

// Copies the tree below `from` into `to`; files that exist in `to` stay as they are.
void copyTree(const QString& from, const QString& to, const Targets& targets, QSet<QString>& copied)
{
    makeFolder(to);
    QDirIterator it(from, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        makeFolder(QFileInfo(target).absolutePath());
        // ".keep" only keeps an empty folder in the repository; existing files stay the learner's.
        if (it.fileName() == QLatin1String(".keep") || QFileInfo::exists(target))
            continue;
        QByteArray content = TQVL_FileHandle::ReadWholeFile(source);
        if (carriesPlaceholders(source)) {
            content.replace("%DOCUMENTS%", xmlEscaped(targets.documents).toUtf8());
            content.replace("%PROGRAM%", xmlEscaped(targets.program).toUtf8());
        }
        TQVL_SafeFile::Write(target, content);
        copied.insert(target);
    }
}

// Checksums only for files this installation wrote: a profile that was
// already there keeps its own companion, whatever its content.
void writeChecksums(const QString& source, const Targets& targets, const QSet<QString>& copied)
{
    QByteArray list;
    try {
        list = TQVL_FileHandle::ReadWholeFile(source + QStringLiteral("/checksums.txt"));
    } catch (const TQVL_Error&) {
        return;
    }
    for (const QByteArray& rawLine : list.split('\n')) {
        const QString line = QString::fromUtf8(rawLine.trimmed());
        QString target;
        // The list names files below the two installed folders; the folder's
        // own name is replaced, its slash kept.
        static const QLatin1String appDataPrefix("appdata/"), documentsPrefix("documents/");
        if (line.startsWith(appDataPrefix))
            target = targets.appData + line.mid(appDataPrefix.size() - 1);
        else if (line.startsWith(documentsPrefix))
            target = targets.documents + line.mid(documentsPrefix.size() - 1);
        else
            continue;
        if (!copied.contains(target))
            continue;
        const QByteArray content = TQVL_FileHandle::ReadWholeFile(target);
        TQVL_SafeFile::Write(TQVL_FileObject::ChecksumFileName(target), TQVL_FileObject::Checksum(content) + "\r\n");
    }
}

} // namespace

namespace TQVL_Setup {

QString SourceFolder(const TQVL_System& system)
{
    return system.ResourceFolder() + QStringLiteral("/setup");
}

bool InstallIfFresh(const TQVL_System& system)
{
    if (QFileInfo::exists(system.AppDataFolder) || !QFileInfo::exists(SourceFolder(system) + QStringLiteral("/appdata")))
        return false;
    Install(SourceFolder(system), system);
    return true;
}

void Install(const QString& source, const TQVL_System& system)
{
    // The application data goes to a sibling first and gets its name only when
    // complete, so an interrupted installation is repeated at the next start.
    const Targets staging{system.AppDataFolder + QStringLiteral(".setup"), system.DocumentsFolder,
                          system.ProgramFolder};
    QDir(staging.appData).removeRecursively();
    QSet<QString> copied;
    copyTree(source + QStringLiteral("/appdata"), staging.appData, staging, copied);
    if (QFileInfo::exists(source + QStringLiteral("/documents")))
        copyTree(source + QStringLiteral("/documents"), staging.documents, staging, copied);
    writeChecksums(source, staging, copied);
    if (!QDir().rename(staging.appData, system.AppDataFolder))
        throw TQVL_Error(QStringLiteral("Das Verzeichnis \"%1\" kann nicht angelegt werden!").arg(system.AppDataFolder));
}

} // namespace TQVL_Setup
