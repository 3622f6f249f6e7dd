#include "update/QVL_Update.h"

#include "core/QVL_Error.h"
#include "core/QVL_SafeFile.h"
#include "core/QVL_System.h"
#include "core/QVL_XML.h"
#include "update/QVL_Downloads.h"
#include "update/QVL_FileIdentity.h"
#include "update/QVL_PrivateFolder.h"
#include "update/QVL_UpdatePackage.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <functional>
#include <set>

namespace {

const QString wrongVersion = QStringLiteral("Falsche Version!");
const QString instructionsName = QStringLiteral("Updateinstructions.xml");

// A detached Ed25519 signature is 64 bytes; an answer much larger is not one.
constexpr qint64 maxSignatureBytes = 1024;

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

// What a step does; the script names it in `cmd`.
enum class TAction
{
    Unknown,
    ReplaceCopy,
    Run,
    Delete,
    CreateDir,
};

TAction actionOf(const QString& cmd)
{
    if (cmd == QLatin1String("REPLACECOPY"))
        return TAction::ReplaceCopy;
    if (cmd == QLatin1String("RUN"))
        return TAction::Run;
    if (cmd == QLatin1String("DELETE"))
        return TAction::Delete;
    if (cmd == QLatin1String("CREATEDIR"))
        return TAction::CreateDir;
    return TAction::Unknown;
}

struct Command
{
    // The script's text of the action, for messages.
    QString cmd, src, dst, md5;
    TAction action = TAction::Unknown;
    // Where it comes from: its place in its package's script (from 1) and the package.
    int step = 0;
    QString package;
    // The private folder the package was unpacked into, canonical.
    QString root;
    // Resolved during the check: the file in that folder and the target, and
    // whose rights the step acts with (the owner of the folder it changes).
    QString source, target;
    TQVL_FileIdentity::TOwner owner;
};

// The commands of the script in `folder` (an unpacked package), in order.
std::vector<Command> readInstructions(const QString& folder, const QString& package)
{
    TQVL_XML xml;
    const TQVL_XMLTag* files = nullptr;
    try {
        xml.LoadFromBytes(TQVL_FileHandle::ReadWholeFile(folder + QLatin1Char('/') + instructionsName));
        if (xml.Version != 1)
            throw TQVL_Error(wrongVersion);
        files = xml.Root->FindChild(QStringLiteral("files"));
        if (!files)
            throw TQVL_Error(QStringLiteral("Das Element \"files\" fehlt!"));
    } catch (const TQVL_Error& error) {
        throw TQVL_Error::WithCause(
            QStringLiteral("Fehler beim Lesen der Datei \"%1\" im Update-Paket \"%2\"!").arg(instructionsName, package),
            error.Message());
    }
    std::vector<Command> commands;
    for (int i = 0; i < files->ChildCount(); ++i) {
        const TQVL_XMLTag& tag = *files->Child(i);
        Command command;
        command.cmd = childValue(tag, "cmd");
        command.action = actionOf(command.cmd);
        command.src = childValue(tag, "src");
        command.dst = childValue(tag, "dst");
        command.md5 = childValue(tag, "md5");
        command.step = i + 1;
        command.package = package;
        command.root = canonicalOf(folder);
        commands.push_back(std::move(command));
    }
    return commands;
}

// The line that names a failed step, its package and the file concerned.
QString stepFailed(const Command& command)
{
    return QStringLiteral("Schritt %1 des Update-Pakets \"%2\" (%3 \"%4\") ist fehlgeschlagen!")
        .arg(QString::number(command.step), command.package, command.cmd,
             command.dst.isEmpty() ? command.src : command.dst);
}

// What the executed steps changed, so that a failing step can put it back.
// Every undo acts with the identity of the folder's owner, as the step did.
class Journal
{
public:
    using TOwner = TQVL_FileIdentity::TOwner;
    ~Journal()
    {
        if (!committed)
            rollback();
    }
    void onUndo(TOwner owner, std::function<void()> step)
    {
        undo.push_back([owner, step = std::move(step)] {
            // Best effort: an undo that cannot act leaves the rest to run.
            try {
                const TQVL_FileIdentity identity(owner);
                step();
            } catch (const TQVL_Error&) {
            }
        });
    }
    // A file moved aside for the undo; removed once everything succeeded.
    QString putAside(const QString& path, TOwner owner)
    {
        const QFileInfo info(path);
        const QString aside = TQVL_System::UniqueFileName(info.path(), info.fileName() + QStringLiteral(".alt"));
        move(path, aside);
        discard.push_back({aside, owner});
        onUndo(owner, [path, aside] { QFile::rename(aside, path); });
        return aside;
    }
    void commit()
    {
        committed = true;
        for (const auto& [file, owner] : discard) {
            try {
                const TQVL_FileIdentity identity(owner);
                QFile::remove(file);
            } catch (const TQVL_Error&) {
            }
        }
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
    std::vector<std::pair<QString, TOwner>> discard;
    bool committed = false;
};

// Copies the opened `source` into the new file `target` (which must not
// exist: no link there is followed) with the source's permissions.
void copyInto(QFile& source, const QString& target)
{
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw TQVL_Error(QStringLiteral("Die Datei konnte nicht angelegt werden."));
    QByteArray piece(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 got = source.read(piece.data(), piece.size());
        if (got < 0)
            throw TQVL_Error(QStringLiteral("Die Update-Datei konnte nicht gelesen werden."));
        if (got == 0)
            break;
        if (out.write(piece.constData(), got) != got)
            throw TQVL_Error(QStringLiteral("Die Datei konnte nicht geschrieben werden."));
    }
    if (!out.flush() || !out.setPermissions(source.permissions()))
        throw TQVL_Error(QStringLiteral("Die Datei konnte nicht geschrieben werden."));
}

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

QString TQVL_Update::PackageName(int number)
{
    return QString::number(number) + QStringLiteral(".tar.xz");
}

void TQVL_Update::throwIfCancelled() const
{
    if (cancelled)
        throw TQVL_Error(QStringLiteral("Der Vorgang wurde abgebrochen."));
}

QString TQVL_Update::download(const QString& address, qint64 maxBytes, int deadlineMs)
{
    throwIfCancelled();
    TQVL_Downloads client;
    client.TimeoutMs = TimeoutMs;
    client.MaxBytes = maxBytes;
    client.DeadlineMs = deadlineMs;
    client.IsCancelled = [this] { return cancelled.load(); };
    const QString fileName = client.DownloadToTempFile(address);
    DownloadedFiles << fileName;
    return fileName;
}

bool TQVL_Update::SearchUpdates(QStringList* list)
{
    // The version is appended as it is: the service expects the plain dotted text.
    const QString address = VersionInfoLink + QStringLiteral("?version=") + ProgramVersion;
    const QString fileName = download(address, TQVL_Downloads::MaxListBytes, ListDeadlineMs);
    Items.clear();
    try {
        Items = ReadUpdateList(TQVL_FileHandle::ReadWholeFile(fileName));
    } catch (const TQVL_Error& error) {
        // Named by its address: the temporary file it was kept in means nothing to the learner.
        throw TQVL_Error::WithCause(QStringLiteral("Fehler beim Lesen der Update-Liste von \"%1\"!").arg(address),
                                    error.Message());
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
    // replaced only once every package is checked.
    const QString staging = DataFolder + QStringLiteral("/Updates.neu");
    QDir(staging).removeRecursively();
    try {
        if (!QDir().mkpath(staging))
            throw TQVL_Error(QStringLiteral("Der Ordner \"%1\" konnte nicht angelegt werden!").arg(staging));
        const int total = int(indexes.size());
        for (int n = 0; n < total; ++n) {
            if (OnProgress)
                OnProgress(n, total);
            const TQVL_UpdateItem& item = GetItem(indexes[std::size_t(n)]);
            const QString name = QStringLiteral("Version %1 (%2)").arg(item.Version, item.Download);
            const QString package = download(item.Download, TQVL_Downloads::MaxPackageBytes, PackageDeadlineMs);
            const QString signatureFile =
                download(item.Download + QStringLiteral(".sig"), maxSignatureBytes, ListDeadlineMs);
            const QByteArray signature = TQVL_FileHandle::ReadWholeFile(signatureFile);
            TQVL_UpdatePackage::Verify(package, signature, PublicKey, name);
            throwIfCancelled();
            // Unpacked once now, so that a package that could not be applied is
            // refused while the learner watches; the apply step unpacks it
            // again from its own checked copy.
            {
                const TQVL_PrivateFolder check;
                TQVL_UpdatePackage::Unpack(package, check.Path() + QStringLiteral("/p"));
                readInstructions(check.Path() + QStringLiteral("/p"), name);
            }
            throwIfCancelled();
            const QString kept = staging + QLatin1Char('/') + PackageName(n + 1);
            if (!QFile::copy(package, kept))
                throw TQVL_Error(QStringLiteral("Die Datei \"%1\" konnte nicht angelegt werden!").arg(kept));
            TQVL_SafeFile::Write(kept + QStringLiteral(".sig"), signature);
        }
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
    // Every error names the package, step and file it concerns.
    try {
        applyUpdate();
    } catch (const TQVL_Error& error) {
        if (OnError)
            OnError(error.Message());
        throw;
    }
    if (OnInformation)
        OnInformation(QStringLiteral("Das Update wurde erfolgreich eingespielt! Bitte starten Sie das Programm nun neu!"));
}

void TQVL_Update::applyUpdate()
{
    // Anyone's program may write into the update folder: what is applied is
    // only what a package holds whose signature verifies, on the very bytes of
    // a private copy, unpacked where nobody else can change it.
    const QString folder = UpdateFolder();
    TQVL_PrivateFolder work;
    std::vector<Command> commands;
    int packages = 0;
    for (int n = 1;; ++n) {
        const QString package = folder + QLatin1Char('/') + PackageName(n);
        if (!QFileInfo::exists(package) && !QFileInfo(package).isSymLink())
            break;
        packages = n;
        const QString copy = work.CopyIn(package, PackageName(n), TQVL_Downloads::MaxPackageBytes);
        const QString signature =
            work.CopyIn(package + QStringLiteral(".sig"), PackageName(n) + QStringLiteral(".sig"), maxSignatureBytes);
        TQVL_UpdatePackage::Verify(copy, TQVL_FileHandle::ReadWholeFile(signature), PublicKey, package);
        const QString unpacked = work.Path() + QLatin1Char('/') + QString::number(n);
        try {
            TQVL_UpdatePackage::Unpack(copy, unpacked);
        } catch (const TQVL_Error& error) {
            throw TQVL_Error::WithCause(
                QStringLiteral("Das Update-Paket \"%1\" kann nicht entpackt werden!").arg(package), error.Message());
        }
        std::vector<Command> part = readInstructions(unpacked, package);
        std::move(part.begin(), part.end(), std::back_inserter(commands));
    }
    if (packages == 0)
        throw TQVL_Error::WithCause(
            QStringLiteral("Im Ordner \"%1\" liegt kein Update-Paket!").arg(folder),
            QStringLiteral("Anweisungen ohne signiertes Update-Paket werden nicht ausgeführt."));
    // Check pass: nothing is touched unless every command passes.
    const QStringList roots = confinedRoots();
    for (Command& command : commands) {
        try {
            const QString source = command.root + QLatin1Char('/') + command.src;
            const bool copies = command.action == TAction::ReplaceCopy;
            const bool runs = command.action == TAction::Run;
            const bool creates = command.action == TAction::CreateDir;
            if (command.action == TAction::Unknown)
                throw TQVL_Error(QStringLiteral("Befehl \"%1\" unbekannt!").arg(command.cmd));
            // Nothing outside the package is read, let alone copied or started.
            command.source = canonicalOf(source);
            if (!isWithin(command.source, command.root) || ((copies || runs) && command.source == command.root))
                throw TQVL_Error(
                    QStringLiteral("Update-Datei \"%1\" liegt außerhalb des Update-Ordners!").arg(command.src));
            if (copies && !QFileInfo(command.source).isFile())
                throw TQVL_Error(QStringLiteral("Update-Datei \"%1\" nicht gefunden!").arg(command.src));
            if (md5Of(command.source) != command.md5)
                throw TQVL_Error(QStringLiteral("Update-Datei \"%1\" ist korrupt!").arg(command.src));
            if (runs)
                continue;
            const QString expanded = ExpandPlaceholders(command.dst);
            command.target = QDir::isAbsolutePath(expanded) ? canonicalOf(expanded) : QString();
            // The innermost folder holding the target decides whose rights the step uses.
            QString within;
            for (const QString& root : roots)
                if (isWithin(command.target, root) && (creates || command.target != root) &&
                    root.size() > within.size())
                    within = root;
            command.owner = TQVL_FileIdentity::OwnerOf(within);
            if (within.isEmpty())
                throw TQVL_Error(QStringLiteral("Das Ziel \"%1\" liegt außerhalb der Ordner des Programms, der Daten "
                                                "und der Dokumente und wird nicht verändert!")
                                     .arg(command.dst));
            if (!creates && QFileInfo(command.target).isDir())
                throw TQVL_Error(QStringLiteral("Das Ziel \"%1\" ist ein Ordner!").arg(command.dst));
        } catch (const TQVL_Error& error) {
            throw TQVL_Error::WithCause(stepFailed(command), error.Message());
        }
    }
    if (OnChecked)
        OnChecked();

    // Execute pass; the journal restores what the steps before a failure changed.
    Journal journal;
    // Targets replaced so far: a file replaced twice keeps its first backup,
    // the learner's version, not the update's intermediate one.
    std::set<QString> replaced;
    for (const Command& command : commands) {
        try {
            const QString& target = command.target;
            const TQVL_FileIdentity::TOwner owner = command.owner;
            // Read from the private folder with the rights of this run; the
            // target is changed with those of its folder's owner.
            QFile source(command.source);
            if (command.action == TAction::ReplaceCopy && !source.open(QIODevice::ReadOnly))
                throw TQVL_Error(QStringLiteral("Update-Datei \"%1\" kann nicht gelesen werden!").arg(command.src));
            const TQVL_FileIdentity identity(owner);
            if (command.action == TAction::ReplaceCopy) {
                const bool present = QFileInfo::exists(target) || QFileInfo(target).isSymLink();
                if (replaced.count(target)) {
                    // Made by an earlier step of this update; the undo of that step restores the original.
                    if (present && !QFile::remove(target))
                        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" konnte nicht ersetzt werden!").arg(target));
                } else if (present) {
                    // A companion that exists already (the learner's own, or an
                    // earlier update's) stays; the backup takes a free name beside it.
                    QString backup = backupName(target);
                    if (QFileInfo::exists(backup) || QFileInfo(backup).isSymLink())
                        backup = TQVL_System::UniqueFileName(QFileInfo(backup).path(), QFileInfo(backup).fileName());
                    Journal::move(target, backup);
                    journal.onUndo(owner, [target, backup] {
                        QFile::remove(target);
                        QFile::rename(backup, target);
                    });
                } else {
                    journal.onUndo(owner, [target] { QFile::remove(target); });
                }
                replaced.insert(target);
                try {
                    copyInto(source, target);
                } catch (const TQVL_Error& error) {
                    const QFileInfo folderInfo(QFileInfo(target).path());
                    const QString cause = !folderInfo.isDir() ? QStringLiteral("Der Zielordner existiert nicht.")
                                          : !folderInfo.isWritable()
                                              ? QStringLiteral("Der Zielordner ist schreibgeschützt.")
                                              : error.Message();
                    throw TQVL_Error::WithCause(
                        QStringLiteral("Fehler beim Kopieren der Update-Datei \"%1\" nach \"%2\"!")
                            .arg(command.src, target),
                        cause);
                }
            } else if (command.action == TAction::Run) {
                // Started directly with an argument list: no shell sees the name.
                if (!QProcess::startDetached(command.source, {}, command.root))
                    throw TQVL_Error(
                        QStringLiteral("Das Programm \"%1\" konnte nicht gestartet werden!").arg(command.src));
                // The program may still need its files when this run ends.
                work.Keep();
            } else if (command.action == TAction::Delete) {
                if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
                    journal.putAside(target, owner);
            } else if (command.action == TAction::CreateDir) {
                QStringList created;
                for (QString path = target; !QFileInfo::exists(path); path = QFileInfo(path).path())
                    created << path;
                if (!QDir().mkpath(target))
                    throw TQVL_Error(QStringLiteral("Der Ordner \"%1\" konnte nicht angelegt werden!").arg(target));
                journal.onUndo(owner, [created] {
                    for (const QString& path : created)
                        QDir().rmdir(path);
                });
            }
        } catch (const TQVL_Error& error) {
            throw TQVL_Error::WithCause(stepFailed(command), error.Message());
        }
    }
    {
        const TQVL_FileIdentity identity(TQVL_FileIdentity::OwnerOf(DataFolder));
        SetUpdateNextStart(false);
    }
    journal.commit();
}
