#include "update/QVL_Update.h"

#include "core/QVL_Error.h"
#include "core/QVL_SafeFile.h"
#include "core/QVL_System.h"
#include "core/QVL_XML.h"
#include "update/QVL_Downloads.h"
#include "update/QVL_UpdatePackage.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <functional>

namespace {

const QString wrongVersion = QStringLiteral("Falsche Version!");

QString readError(const QString& fileName)
{
    return QStringLiteral("Fehler beim Lesen der Datei \"%1\"!").arg(fileName);
}

// Loads an XML document of version 1; errors name the file.
void loadVersion1(TQVL_XML& xml, const QString& fileName)
{
    try {
        xml.LoadFromBytes(TQVL_FileHandle::ReadWholeFile(fileName));
        if (xml.Version != 1)
            throw TQVL_Error(wrongVersion);
    } catch (const TQVL_Error& error) {
        throw TQVL_Error::WithCause(readError(fileName), error.Message());
    }
}

QString childValue(const TQVL_XMLTag& tag, const char* name)
{
    const TQVL_XMLTag* child = tag.FindChild(QLatin1String(name));
    return child ? child->Value : QString();
}

// The path with every symbolic link and "." / ".." resolved, also for a path
// whose last parts do not exist yet; empty when it runs through a dangling link.
QString canonicalOf(const QString& path)
{
    QString current = QDir::cleanPath(path);
    QStringList missing;
    for (;;) {
        const QFileInfo info(current);
        if (info.exists())
            break;
        if (info.isSymLink())
            return {};
        const QString parent = info.path();
        if (parent == current)
            return {};
        missing.prepend(info.fileName());
        current = parent;
    }
    const QString base = QFileInfo(current).canonicalFilePath();
    if (base.isEmpty())
        return {};
    return missing.isEmpty() ? base : QDir::cleanPath(base + QLatin1Char('/') + missing.join(QLatin1Char('/')));
}

bool isWithin(const QString& path, const QString& root)
{
    return !path.isEmpty() && !root.isEmpty() &&
           (path == root || path.startsWith(root == QLatin1String("/") ? root : root + QLatin1Char('/')));
}

// The companion a replaced file is kept as: its extension becomes ".bak".
QString backupName(const QString& target)
{
    const QFileInfo info(target);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    return info.path() + QLatin1Char('/') + base + QStringLiteral(".bak");
}

QString md5Of(const QString& fileName)
{
    // A missing file (or a folder) counts as no bytes.
    QByteArray bytes;
    if (QFileInfo(fileName).isFile())
        bytes = TQVL_FileHandle::ReadWholeFile(fileName);
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

struct Command
{
    QString cmd, src, dst, md5;
    // Resolved during the check: the file in the update folder and the target.
    QString source, target;
};

// What the executed steps changed, so that a failing step can put it back.
class Journal
{
public:
    ~Journal()
    {
        if (!committed)
            rollback();
    }
    void onUndo(std::function<void()> step) { undo.push_back(std::move(step)); }
    // A file moved aside for the undo; removed once everything succeeded.
    QString putAside(const QString& path)
    {
        const QFileInfo info(path);
        const QString aside = TQVL_System::UniqueFileName(info.path(), info.fileName() + QStringLiteral(".alt"));
        move(path, aside);
        discard << aside;
        onUndo([path, aside] { QFile::rename(aside, path); });
        return aside;
    }
    void commit()
    {
        committed = true;
        for (const QString& file : std::as_const(discard))
            QFile::remove(file);
    }
    static void move(const QString& from, const QString& to)
    {
        if (!QFile::rename(from, to))
            throw TQVL_Error(
                QStringLiteral("Die Datei \"%1\" konnte nicht nach \"%2\" verschoben werden!").arg(from, to));
    }

private:
    void rollback()
    {
        for (auto step = undo.rbegin(); step != undo.rend(); ++step)
            (*step)();
    }

    std::vector<std::function<void()>> undo;
    QStringList discard;
    bool committed = false;
};

} // namespace

TQVL_Update::TQVL_Update(QString programVersion, QString dataFolder)
    : ProgramVersion(std::move(programVersion)), DataFolder(std::move(dataFolder)),
      PublicKey(TQVL_UpdatePackage::ReleaseKey())
{
    readSettings();
}

TQVL_Update::~TQVL_Update()
{
    for (const QString& file : std::as_const(DownloadedFiles))
        QFile::remove(file);
}

void TQVL_Update::readSettings()
{
    TQVL_XML xml;
    loadVersion1(xml, SettingsFile());
    VersionInfoLink = childValue(*xml.Root, "link_getversioninfo");
    const TQVL_XMLTag* next = xml.Root->FindChild(QStringLiteral("updatenextstart"));
    UpdateNextStart = next && next->AsBoolean();
}

void TQVL_Update::SetUpdateNextStart(bool value)
{
    TQVL_XML xml;
    loadVersion1(xml, SettingsFile());
    TQVL_XMLTag* next = xml.Root->FindChild(QStringLiteral("updatenextstart"));
    if (!next)
        next = xml.Root->AddChild(QStringLiteral("updatenextstart"));
    next->SetBoolean(value);
    xml.SaveToFile(SettingsFile());
    UpdateNextStart = value;
}

QString TQVL_Update::download(const QString& address)
{
    TQVL_Downloads client;
    client.TimeoutMs = TimeoutMs;
    const QString fileName = client.DownloadToTempFile(address);
    DownloadedFiles << fileName;
    return fileName;
}

bool TQVL_Update::SearchUpdates(QStringList* list)
{
    // The version is appended as it is: the service expects the plain dotted text.
    const QString fileName = download(VersionInfoLink + QStringLiteral("?version=") + ProgramVersion);
    Items.clear();
    try {
        Items = ReadUpdateList(TQVL_FileHandle::ReadWholeFile(fileName));
    } catch (const TQVL_Error& error) {
        throw TQVL_Error::WithCause(readError(fileName), error.Message());
    }
    if (list) {
        list->clear();
        if (Items.empty())
            *list << QStringLiteral("Keine Updates verfügbar!");
        for (const auto& item : Items) {
            *list << QStringLiteral("[") + item->Version + QStringLiteral("]: ") + item->Date;
            QString text = item->Text;
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            *list << text.split(QLatin1Char('\n'));
            *list << QString();
        }
    }
    if (OnProgress)
        OnProgress(100, 100);
    return !Items.empty();
}

std::vector<std::unique_ptr<TQVL_UpdateItem>> TQVL_Update::ReadUpdateList(QByteArray bytes)
{
    TQVL_XML xml;
    xml.LoadFromBytes(std::move(bytes));
    if (xml.Version != 1)
        throw TQVL_Error(wrongVersion);
    std::vector<std::unique_ptr<TQVL_UpdateItem>> items;
    const TQVL_XMLTag& updates = xml.Root->NeedChild(QStringLiteral("updates"));
    for (int i = 0; i < updates.ChildCount(); ++i) {
        const TQVL_XMLTag& tag = *updates.Child(i);
        if (tag.Name != QLatin1String("update"))
            throw TQVL_Error(QStringLiteral("invalid Update-XML-Tag"));
        auto item = std::make_unique<TQVL_UpdateItem>();
        item->Version = childValue(tag, "version");
        item->Date = childValue(tag, "date");
        item->FullUpdate = childValue(tag, "fullupdate") == QLatin1String("true");
        item->Text = childValue(tag, "text");
        item->Download = childValue(tag, "download");
        items.push_back(std::move(item));
    }
    return items;
}

void TQVL_Update::InstallUpdates(const std::vector<int>& indexes)
{
    if (indexes.empty())
        throw TQVL_Error(QStringLiteral("Es ist kein Update ausgewählt!"));
    // Everything lands in a folder of its own first; the update folder is
    // replaced only once every package is checked and unpacked.
    const QString staging = DataFolder + QStringLiteral("/Updates.neu");
    QDir(staging).removeRecursively();
    try {
        TQVL_XML script;
        script.Version = 1;
        script.Root = std::make_unique<TQVL_XMLTag>();
        TQVL_XMLTag* files = script.Root->AddChild(QStringLiteral("files"));
        const int total = int(indexes.size());
        for (int n = 0; n < total; ++n) {
            if (OnProgress)
                OnProgress(n, total);
            const TQVL_UpdateItem& item = GetItem(indexes[std::size_t(n)]);
            const QString package = download(item.Download);
            const QString signature = download(item.Download + QStringLiteral(".sig"));
            TQVL_UpdatePackage::Verify(package, TQVL_FileHandle::ReadWholeFile(signature), PublicKey);
            // Each package keeps its own folder; the script names its files there.
            const QString part = QString::number(n + 1);
            TQVL_UpdatePackage::Unpack(package, staging + QLatin1Char('/') + part);
            TQVL_XML instructions;
            const QString instructionsFile = staging + QLatin1Char('/') + part + QStringLiteral("/Updateinstructions.xml");
            loadVersion1(instructions, instructionsFile);
            const TQVL_XMLTag* commands = instructions.Root->FindChild(QStringLiteral("files"));
            if (!commands)
                throw TQVL_Error::WithCause(readError(instructionsFile),
                                            QStringLiteral("Das Element \"files\" fehlt!"));
            for (int i = 0; i < commands->ChildCount(); ++i) {
                const TQVL_XMLTag& command = *commands->Child(i);
                TQVL_XMLTag* copy = files->AddChild(command.Name);
                const QString src = childValue(command, "src");
                copy->AddChild(QStringLiteral("cmd"), childValue(command, "cmd"));
                copy->AddChild(QStringLiteral("src"), src.isEmpty() ? src : part + QLatin1Char('/') + src);
                copy->AddChild(QStringLiteral("dst"), childValue(command, "dst"));
                copy->AddChild(QStringLiteral("md5"), childValue(command, "md5"));
            }
        }
        script.SaveToFile(staging + QStringLiteral("/Updateinstructions.xml"));
        if (QFileInfo::exists(UpdateFolder()) && !QDir(UpdateFolder()).removeRecursively())
            throw TQVL_Error(QStringLiteral("Der Ordner \"%1\" konnte nicht geleert werden!").arg(UpdateFolder()));
        if (!QDir().rename(staging, UpdateFolder()))
            throw TQVL_Error(QStringLiteral("Der Ordner \"%1\" konnte nicht angelegt werden!").arg(UpdateFolder()));
    } catch (...) {
        QDir(staging).removeRecursively();
        throw;
    }
    SetUpdateNextStart(true);
    if (OnProgress)
        OnProgress(100, 100);
}

QString TQVL_Update::ExpandPlaceholders(QString path) const
{
    const auto replaceFirst = [&path](const QString& placeholder, const QString& value) {
        const qsizetype at = path.indexOf(placeholder);
        if (at >= 0)
            path.replace(at, placeholder.size(), value);
    };
    replaceFirst(QStringLiteral("%APPDATA%"), DataFolder);
    replaceFirst(QStringLiteral("%USERDATA%"), DocumentsFolder);
    replaceFirst(QStringLiteral("%PROGRAMDATA%"), ProgramFolder);
    return path;
}

QStringList TQVL_Update::confinedRoots() const
{
    QStringList roots;
    for (const QString& folder : {DataFolder, DocumentsFolder, ProgramFolder})
        if (!folder.isEmpty() && QDir::isAbsolutePath(folder))
            roots << canonicalOf(folder);
    roots.removeAll(QString());
    return roots;
}

void TQVL_Update::ApplyAtStart()
{
    if (!UpdateNextStart)
        return;
    if (OnInformation)
        OnInformation(QStringLiteral("Das Update wird nun eingespielt!"));
    ApplyUpdate();
}

void TQVL_Update::ApplyUpdate()
{
    try {
        applyUpdate();
    } catch (const TQVL_Error& error) {
        const TQVL_Error failure = TQVL_Error::WithCause(
            readError(UpdateFolder() + QStringLiteral("/Updateinstructions.xml")), error.Message());
        if (OnError)
            OnError(failure.Message());
        throw failure;
    }
    if (OnInformation)
        OnInformation(QStringLiteral("Das Update wurde erfolgreich eingespielt! Bitte starten Sie das Programm nun neu!"));
}

void TQVL_Update::applyUpdate()
{
    const QString folder = UpdateFolder();
    TQVL_XML xml;
    try {
        xml.LoadFromBytes(TQVL_FileHandle::ReadWholeFile(folder + QStringLiteral("/Updateinstructions.xml")));
    } catch (const TQVL_Error& error) {
        // The caller names the file.
        throw TQVL_Error(error.Message());
    }
    if (xml.Version != 1)
        throw TQVL_Error(wrongVersion);
    std::vector<Command> commands;
    if (const TQVL_XMLTag* files = xml.Root->FindChild(QStringLiteral("files")))
        for (int i = 0; i < files->ChildCount(); ++i) {
            const TQVL_XMLTag& tag = *files->Child(i);
            commands.push_back({childValue(tag, "cmd"), childValue(tag, "src"), childValue(tag, "dst"),
                                childValue(tag, "md5"), {}, {}});
        }

    // Check pass: nothing is touched unless every command passes.
    const QString updateRoot = canonicalOf(folder);
    const QStringList roots = confinedRoots();
    for (Command& command : commands) {
        const QString source = folder + QLatin1Char('/') + command.src;
        const bool copies = command.cmd == QLatin1String("REPLACECOPY");
        const bool runs = command.cmd == QLatin1String("RUN");
        const bool deletes = command.cmd == QLatin1String("DELETE");
        const bool creates = command.cmd == QLatin1String("CREATEDIR");
        if (copies && !QFileInfo(source).isFile())
            throw TQVL_Error(QStringLiteral("Update-Datei \"%1\" nicht gefunden!").arg(command.src));
        if (md5Of(source) != command.md5)
            throw TQVL_Error(QStringLiteral("Update-Datei \"%1\" ist korrupt!").arg(command.src));
        if (!copies && !runs && !deletes && !creates)
            throw TQVL_Error(QStringLiteral("Befehl \"%1\" unbekannt!").arg(command.cmd));
        command.source = canonicalOf(source);
        if ((copies || runs) && (!isWithin(command.source, updateRoot) || command.source == updateRoot))
            throw TQVL_Error(QStringLiteral("Update-Datei \"%1\" liegt außerhalb des Update-Ordners!").arg(command.src));
        if (runs)
            continue;
        const QString expanded = ExpandPlaceholders(command.dst);
        command.target = QDir::isAbsolutePath(expanded) ? canonicalOf(expanded) : QString();
        const bool inside = std::any_of(roots.begin(), roots.end(), [&](const QString& root) {
            return isWithin(command.target, root) && (creates || command.target != root);
        });
        if (!inside)
            throw TQVL_Error(QStringLiteral("Das Ziel \"%1\" liegt außerhalb der Ordner des Programms, der Daten und "
                                            "der Dokumente und wird nicht verändert!")
                                 .arg(command.dst));
        if (!creates && QFileInfo(command.target).isDir())
            throw TQVL_Error(QStringLiteral("Das Ziel \"%1\" ist ein Ordner!").arg(command.dst));
    }

    // Execute pass; the journal restores what the steps before a failure changed.
    Journal journal;
    for (const Command& command : commands) {
        const QString& target = command.target;
        if (command.cmd == QLatin1String("REPLACECOPY")) {
            const QString backup = backupName(target);
            if (QFileInfo::exists(backup) || QFileInfo(backup).isSymLink())
                journal.putAside(backup);
            if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
                Journal::move(target, backup);
                journal.onUndo([target, backup] {
                    QFile::remove(target);
                    QFile::rename(backup, target);
                });
            } else {
                journal.onUndo([target] { QFile::remove(target); });
            }
            QFile source(command.source);
            if (!source.copy(target)) {
                const QFileInfo folderInfo(QFileInfo(target).path());
                const QString cause = !folderInfo.isDir() ? QStringLiteral("Der Zielordner existiert nicht.")
                                      : !folderInfo.isWritable()
                                          ? QStringLiteral("Der Zielordner ist schreibgeschützt.")
                                          : QStringLiteral("Die Datei konnte nicht geschrieben werden.");
                throw TQVL_Error::WithCause(QStringLiteral("Fehler beim Kopieren einer Datei von \"%1\" nach \"%2\"!")
                                                .arg(command.source, target),
                                            cause);
            }
        } else if (command.cmd == QLatin1String("RUN")) {
            // Started directly with an argument list: no shell sees the name.
            if (!QProcess::startDetached(command.source, {}, folder))
                throw TQVL_Error(QStringLiteral("Das Programm \"%1\" konnte nicht gestartet werden!").arg(command.src));
        } else if (command.cmd == QLatin1String("DELETE")) {
            if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
                journal.putAside(target);
        } else if (command.cmd == QLatin1String("CREATEDIR")) {
            QStringList created;
            for (QString path = target; !QFileInfo::exists(path); path = QFileInfo(path).path())
                created << path;
            if (!QDir().mkpath(target))
                throw TQVL_Error(QStringLiteral("Der Ordner \"%1\" konnte nicht angelegt werden!").arg(target));
            journal.onUndo([created] {
                for (const QString& path : created)
                    QDir().rmdir(path);
            });
        }
    }
    SetUpdateNextStart(false);
    journal.commit();
}
