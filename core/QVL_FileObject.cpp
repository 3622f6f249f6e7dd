#include "core/QVL_FileObject.h"

#include "core/QVL_Error.h"
#include "core/QVL_ErrorDisplay.h"
#include "core/QVL_Notices.h"
#include "core/QVL_System.h"
#include "core/QVL_XML.h"
#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLStream.h"
#include "core/QVL_XMLTag.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFileInfo>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>

namespace {

// The first line of a text file, without its line end.
QByteArray firstLine(const QByteArray& text)
{
    QByteArray line = text.left(text.indexOf('\n') < 0 ? text.size() : text.indexOf('\n'));
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

// Whether `path` still names the file open as `fd` (a save replaces the file under its name).
// What a save changes about a name: a rename gives it another inode, and the
// change time tells apart a reused inode number.
QByteArray stampBytes(const struct stat& info)
{
    QByteArray stamp;
    QDataStream out(&stamp, QIODevice::WriteOnly);
    out << quint64(info.st_dev) << quint64(info.st_ino) << qint64(info.st_size) << qint64(info.st_ctim.tv_sec)
        << qint64(info.st_ctim.tv_nsec);
    return stamp;
}

QByteArray nameStamp(const QString& path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? stampBytes(info) : QByteArray();
}

QByteArray openStamp(int descriptor)
{
    struct stat info
    {
    };
    return ::fstat(descriptor, &info) == 0 ? stampBytes(info) : QByteArray();
}

} // namespace

TQVL_FileObject::TQVL_FileObject()
{
    SupportedVersions.set(1);
}

TQVL_FileObject::~TQVL_FileObject()
{
    // A destructor cannot raise: report the forgotten close and release the handle.
    if (IsOpen)
        TQVL_ErrorDisplay::Current().ShowError(QStringLiteral("Datei \"%1\" ist noch geöffnet!").arg(FileName));
}

void TQVL_FileObject::Open(const QString& fileName)
{
    if (IsOpen)
        throw TQVL_Error(QStringLiteral("Bitte schließen Sie erst die aktuelle Datei!"));
    if (!QFileInfo::exists(fileName))
        throw TQVL_Error(QStringLiteral("Datei \"%1\" nicht gefunden!").arg(fileName));
    FileName = fileName;
    TQVL_SafeFile::RemoveStaleTemporaries(fileName);
    bool repaired = false;
    try {
        QByteArray content;
        // Another process may save between our reads of the file and of its
        // companion. A mismatch counts only when it is seen three times in a row
        // with neither name changing meanwhile; otherwise both are read again, a
        // little later each time, so that a busy machine lets the saver finish.
        // Two saves of alternating contents can hide between two looks at one
        // name (the same bytes, a reused inode), hence the repeated look.
        int unchangedMismatches = 0;
        for (int attempt = 0;; ++attempt) {
            if (attempt > 1)
                std::this_thread::sleep_for(std::chrono::milliseconds(attempt));
            const QString companionName = ChecksumFileName(FileName);
            const QByteArray companionBefore =
                IntegrityGuard ? TQVL_FileHandle::ReadHead(companionName, 64) + nameStamp(companionName) : QByteArray();
            openReadHandle();
            const QByteArray fileBefore = openStamp(handle.Descriptor());
            // Taken before the bytes: a change while reading makes the stamp
            // older than the content, which costs a needless re-read at worst.
            lastStamp = stampOf(handle.Descriptor());
            content = handle.ReadAll(FileName);
            if (!IntegrityGuard)
                break;
            try {
                CheckIntegrity(content);
                break;
            } catch (const TQVL_Error&) {
                const bool changed =
                    TQVL_FileHandle::ReadHead(companionName, 64) + nameStamp(companionName) != companionBefore ||
                    nameStamp(FileName) != fileBefore;
                unchangedMismatches = changed ? 0 : unchangedMismatches + 1;
                if (unchangedMismatches >= 3 || attempt >= 20)
                    throw;
            }
        }
        repaired = readDocument(std::move(content));
    } catch (...) {
        resetToClosed();
        throw;
    }
    IsOpen = true;
    if (repaired)
        TQVL_Notices::Show(QStringLiteral("Die Datei \"%1\" enthielt ungültiges UTF-8 und wurde als Windows-1252 gelesen.")
                               .arg(QFileInfo(fileName).fileName()));
    Notify(OnOpen);
}

void TQVL_FileObject::NewFile(const QString& fileName)
{
    if (IsOpen)
        throw TQVL_Error(QStringLiteral("Bitte schließen Sie erst die aktuelle Datei!"));
    // An existing file that another instance holds for writing is not ours to replace.
    if (QFileInfo::exists(fileName) && !TQVL_FileHandle::TryOpenWrite(fileName).IsValid())
        throw TQVL_Error(QStringLiteral("Datei \"%1\" kann nicht erstellt werden.").arg(fileName));
    Uid = TQVL_System::NewUid();
    FileName = fileName;
    IsOpen = true;
    WriteAccess = true;
    try {
        Save();
    } catch (...) {
        // Nothing was written: the object stays closed rather than open on a missing file.
        resetToClosed();
        IsOpen = false;
        throw;
    }
    Notify(OnOpen);
}

void TQVL_FileObject::Save()
{
    SaveAs(FileName);
}

void TQVL_FileObject::SaveAs(const QString& fileName)
{
    if (!IsOpen)
        throw TQVL_Error(QStringLiteral("Keine Datei geöffnet!"));
    if (fileName != FileName) {
        handle.Close();
        WriteAccess = false;
        FileName = fileName;
        // The new file is created by the save itself; an existing one must be ours to write.
        if (QFileInfo::exists(FileName))
            reopenForWriting();
        else
            WriteAccess = true;
        Notify(OnAccessChange);
    }
    if (!WriteAccess)
        throw TQVL_Error(QStringLiteral("Datei ist schreibgeschützt!"));

    TQVL_XMLStream stream(CurrentVersion, lastFileSize);
    WriteXML(stream);
    const QByteArray content = stream.Finish();
    lastFileSize = content.size();
    if (IntegrityGuard)
        TQVL_SafeFile::WriteWithCompanion(
            FileName, content, ChecksumFileName(FileName), [&content] { return Checksum(content) + "\r\n"; }, &handle);
    else
        TQVL_SafeFile::Write(FileName, content, &handle);
    lastStamp = stampOf(handle.Descriptor());
}

bool TQVL_FileObject::readDocument(QByteArray content)
{
    lastFileSize = content.size();
    try {
        TQVL_XML document;
        document.Parse(std::move(content));
        if (document.Version < 0 || document.Version > 255 || !SupportedVersions.test(std::size_t(document.Version)))
            throw TQVL_Error(QStringLiteral("Version %1 wird nicht unterstützt!").arg(document.Version));
        ReadXML(document.Element());
        return document.ReadAsWindows1252;
    } catch (const TQVL_Error& error) {
        // The learner must learn which file is at fault; parser, number and
        // version errors do not say, the kinds' own messages do.
        if (error.Message().contains(FileName))
            throw;
        throw TQVL_Error::WithCause(QStringLiteral("Fehler beim Lesen der Datei \"%1\"!").arg(FileName),
                                    error.Message());
    }
}

void TQVL_FileObject::ReadXML(const TQVL_XMLElement& root)
{
    TQVL_XMLTag tree;
    root.CopyInto(tree);
    tree.Value.clear();
    LoadFromXML(tree);
}

void TQVL_FileObject::WriteXML(TQVL_XMLWriter& writer)
{
    TQVL_XMLTag root;
    SaveToXML(root);
    for (int i = 0; i < root.ChildCount(); ++i)
        writer.Tree(*root.Child(i));
}

bool TQVL_FileObject::RequestWriteAccess()
{
    if (!IsOpen)
        throw TQVL_Error(QStringLiteral("Keine Datei geöffnet!"));
    const bool granted = reopenForWriting();
    // Under our lock no other instance can save, so what is read now stays the newest.
    const bool changed = granted && stampOf(handle.Descriptor()) != lastStamp;
    if (changed) {
        try {
            rereadLocked();
        } catch (const TQVL_Error& error) {
            // What this object holds is older than the file: it must not be written over it.
            handle.Close();
            openReadHandle();
            Notify(OnAccessChange);
            throw TQVL_Error::WithCause(QStringLiteral("Die Datei \"%1\" wurde inzwischen von einem anderen Programm "
                                                       "geändert und kann nicht neu eingelesen werden. Sie bleibt "
                                                       "schreibgeschützt, damit diese Änderungen erhalten bleiben.")
                                            .arg(FileName),
                                        error.Message());
        }
    }
    Notify(OnAccessChange);
    if (changed) {
        TQVL_Notices::Show(QStringLiteral("Die Datei \"%1\" wurde inzwischen von einem anderen Programm geändert "
                                          "und wurde neu eingelesen, damit diese Änderungen erhalten bleiben.")
                               .arg(QFileInfo(FileName).fileName()));
        Notify(OnReload);
    }
    return granted;
}

bool TQVL_FileObject::ReleaseWriteAccess()
{
    if (!IsOpen)
        throw TQVL_Error(QStringLiteral("Keine Datei geöffnet!"));
    handle.Close();
    openReadHandle();
    Notify(OnAccessChange);
    return true;
}

bool TQVL_FileObject::ChangedOnDisk() const
{
    if (!IsOpen)
        return false;
    const TQVL_FileHandle current(::open(QFile::encodeName(FileName).constData(), O_RDONLY | O_CLOEXEC));
    return !current.IsValid() || stampOf(current.Descriptor()) != lastStamp;
}

void TQVL_FileObject::CloseFile()
{
    if (!IsOpen)
        throw TQVL_Error(QStringLiteral("Keine Datei geöffnet!"));
    resetToClosed();
    IsOpen = false;
    Notify(OnClose);
}

void TQVL_FileObject::CheckIntegrity(const QByteArray& content) const
{
    const QString companion = ChecksumFileName(FileName);
    const QByteArray checksum = Checksum(content);
    // A save interrupted between renaming the file and its companion leaves the
    // new companion pending; it counts when it matches the file.
    const QString pending = TQVL_SafeFile::PendingCompanionName(companion);
    if (firstLine(TQVL_FileHandle::ReadHead(pending, 64)) == checksum) {
        // Completes the step where the folder allows it; in a read-only folder
        // the pending companion is the valid one all the same.
        std::rename(QFile::encodeName(pending).constData(), QFile::encodeName(companion).constData());
        return;
    }

    QByteArray stored;
    try {
        stored = TQVL_FileHandle::ReadWholeFile(companion);
    } catch (const TQVL_Error&) {
        throw TQVL_Error(
            QStringLiteral("Die zum Schutz vor Manipulation relevante Datei \"%1\" konnte nicht gelesen werden!")
                .arg(companion));
    }
    if (firstLine(stored) != checksum)
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" wurde nachträglich manipuliert und kann aus "
                                        "Sicherheitsgründen nicht geöffnet werden!")
                             .arg(FileName));
}

void TQVL_FileObject::CheckIntegrity() const
{
    QByteArray content;
    try {
        content = TQVL_FileHandle::ReadWholeFile(FileName);
    } catch (const TQVL_Error&) {
        // An unreadable file counts as empty.
    }
    CheckIntegrity(content);
}

void TQVL_FileObject::WriteChecksumFile()
{
    if (!IsOpen)
        throw TQVL_Error(QStringLiteral("Keine Datei geöffnet!"));
    QByteArray content;
    try {
        content = TQVL_FileHandle::ReadWholeFile(FileName);
    } catch (const TQVL_Error&) {
    }
    TQVL_SafeFile::Write(ChecksumFileName(FileName), Checksum(content) + "\r\n");
}

QString TQVL_FileObject::ChecksumFileName(const QString& fileName)
{
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot > slash)
        return fileName.left(dot) + QStringLiteral(".crc");
    return fileName + QStringLiteral(".crc");
}

QByteArray TQVL_FileObject::Checksum(const QByteArray& content)
{
    const QByteArray first = QCryptographicHash::hash(content, QCryptographicHash::Md5).toHex();
    return QCryptographicHash::hash(first, QCryptographicHash::Md5).toHex();
}

TQVL_FileObject::DiskStamp TQVL_FileObject::stampOf(int descriptor)
{
    struct stat info
    {
    };
    if (::fstat(descriptor, &info) != 0)
        return {};
    return {quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
            qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

void TQVL_FileObject::rereadLocked()
{
    const DiskStamp stamp = stampOf(handle.Descriptor());
    QByteArray content = handle.ReadAll(FileName);
    if (IntegrityGuard)
        CheckIntegrity(content);
    const bool repaired = readDocument(std::move(content));
    lastStamp = stamp;
    if (repaired)
        TQVL_Notices::Show(
            QStringLiteral("Die Datei \"%1\" enthielt ungültiges UTF-8 und wurde als Windows-1252 gelesen.")
                .arg(QFileInfo(FileName).fileName()));
}

void TQVL_FileObject::openReadHandle()
{
    handle = TQVL_FileHandle::OpenRead(FileName);
    WriteAccess = false;
}

bool TQVL_FileObject::reopenForWriting()
{
    handle.Close();
    handle = TQVL_FileHandle::TryOpenWrite(FileName);
    WriteAccess = handle.IsValid();
    if (!WriteAccess)
        openReadHandle();
    return WriteAccess;
}

void TQVL_FileObject::resetToClosed()
{
    handle.Close();
    FileName.clear();
    WriteAccess = false;
    lastStamp = {};
}
