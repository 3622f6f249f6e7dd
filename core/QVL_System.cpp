#include "core/QVL_System.h"

#include "core/QVL_Error.h"
#include "core/QVL_ErrorDisplay.h"
#include "core/QVL_Math.h"
#include "core/QVL_SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUuid>

#include <elf.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

// The program's version, embedded in the program file so that FileVersionText
// can read it from there like from any other program file: an ELF note
// (name "Quorvel", type 1) whose text is the version marker. The note lies in
// a note segment, so it is found through the program headers without reading
// the whole file; a plain search of the file finds the marker as well.
asm(".pushsection .note.quorvel.version,\"a\",@note\n"
    "    .balign 4\n"
    "    .long 8\n"
    "    .long 2f - 1f\n"
    "    .long 1\n"
    "    .asciz \"Quorvel\"\n"
    "1:  .ascii \"\\001QUORVEL-FILEVERSION:" QUORVEL_VERSION_TEXT "\\001\"\n"
    "2:  .balign 4\n"
    "    .popsection\n");

namespace {

constexpr quint32 versionNoteType = 1;

// Four numbers joined by dots and ended by \001 at the start of `text`, as
// written there; empty for anything else. (Runs at every start: a regular
// expression would be compiled for it first.)
QString dottedVersion(const QByteArray& text)
{
    qsizetype at = 0;
    for (int part = 0; part < 4; ++part) {
        const qsizetype digits = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9')
            ++at;
        if (at == digits || at == text.size() || text[at] != (part < 3 ? '.' : '\001'))
            return {};
        ++at;
    }
    return QString::fromLatin1(text.left(at - 1));
}

// The version marker's text after the key, as "a.b.c.d", or empty.
QString versionAfterMarker(const QByteArray& content)
{
    // Assembled at run time so that the search text itself is not a marker.
    QByteArray key("\001QUORVEL-FILE");
    key += "VERSION:";
    for (qsizetype at = content.indexOf(key); at >= 0; at = content.indexOf(key, at + 1)) {
        const QString version = dottedVersion(content.mid(at + key.size(), 64));
        if (!version.isEmpty())
            return version;
    }
    return {};
}

bool readAt(int fd, void* buffer, std::size_t size, quint64 offset)
{
    return pread(fd, buffer, size, off_t(offset)) == ssize_t(size);
}

// The text of the version note of a 64-bit ELF file, read through its
// program headers (a few kilobytes); empty when the file has none.
QByteArray elfVersionNote(int fd)
{
    Elf64_Ehdr header;
    if (!readAt(fd, &header, sizeof header, 0) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_DATA] != ELFDATA2LSB ||
        header.e_phentsize != sizeof(Elf64_Phdr) || header.e_phnum == 0 || header.e_phnum >= PN_XNUM)
        return {};
    std::vector<Elf64_Phdr> segments(header.e_phnum);
    if (!readAt(fd, segments.data(), segments.size() * sizeof(Elf64_Phdr), header.e_phoff))
        return {};
    for (const Elf64_Phdr& segment : segments) {
        if (segment.p_type != PT_NOTE || segment.p_filesz > 65536)
            continue;
        QByteArray notes(qsizetype(segment.p_filesz), Qt::Uninitialized);
        if (!readAt(fd, notes.data(), std::size_t(notes.size()), segment.p_offset))
            continue;
        const quint64 align = segment.p_align == 8 ? 8 : 4;
        const auto padded = [align](quint64 size) { return (size + align - 1) / align * align; };
        quint64 at = 0;
        while (at + sizeof(Elf64_Nhdr) <= quint64(notes.size())) {
            Elf64_Nhdr note;
            std::memcpy(&note, notes.constData() + at, sizeof note);
            const quint64 name = at + sizeof note;
            const quint64 description = name + padded(note.n_namesz);
            if (description + note.n_descsz > quint64(notes.size()))
                break;
            if (note.n_type == versionNoteType && note.n_namesz == 8 &&
                std::memcmp(notes.constData() + name, "Quorvel", 8) == 0)
                return notes.mid(qsizetype(description), qsizetype(note.n_descsz));
            at = description + padded(note.n_descsz);
        }
    }
    return {};
}

const QString productFolder = QStringLiteral("Quorvel 8");

QString programFilePath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

QString overridden(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return value.isEmpty() ? fallback : value;
}

} // namespace

TQVL_System::TQVL_System(TQVL* owner) : Owner(owner), Speech(std::make_unique<TQVL_SpeechService>())
{
    AppDataFolder = ExcludeTrailingBackslash(
        overridden("QUORVEL_APPDATA", SpecialFolder(TQVL_SpecialFolder::AppData) + QLatin1Char('/') + productFolder));
    DocumentsFolder = ExcludeTrailingBackslash(
        overridden("QUORVEL_DOCUMENTS", SpecialFolder(TQVL_SpecialFolder::Documents) + QLatin1Char('/') + productFolder));
    const QString program = programFilePath();
    ProgramFolder = ExcludeTrailingBackslash(QFileInfo(program).absolutePath());
    ProgramVersion = FileVersionText(program);
}

TQVL_System::~TQVL_System()
{
    // Its workers are waited for while the rest is still there.
    Speech.reset();
    if (SoundSystem) {
        if (SoundSystem->Deinit() != 1)
            TQVL_ErrorDisplay::Current().ShowError(QStringLiteral("Fehler beim Schließen des SoundSystems"));
        SoundSystem.reset();
    }
}

void TQVL_System::InitSoundSystem()
{
    SoundSystem = std::make_unique<TQVL_System_SoundSystem>(SoundLibraryFile());
    if (SoundSystem->Init(MainWindowHandle) != 1)
        TQVL_ErrorDisplay::Current().ShowError(QStringLiteral("Fehler beim Initilialisieren des SoundSystems"));
}

bool TQVL_System::IsInstalledLayout(const QString& programFolder)
{
    return QFileInfo(programFolder + QStringLiteral("/../" QUORVEL_INSTALL_DATADIR)).isDir();
}

QString TQVL_System::ResourceFolderOf(const QString& programFolder)
{
    if (IsInstalledLayout(programFolder))
        return QDir::cleanPath(programFolder + QStringLiteral("/../" QUORVEL_INSTALL_DATADIR));
    return programFolder;
}

QString TQVL_System::ModuleFileOf(const QString& programFolder, const QString& name)
{
    if (IsInstalledLayout(programFolder))
        return QDir::cleanPath(programFolder + QStringLiteral("/../" QUORVEL_INSTALL_LIBDIR "/") + name);
    return programFolder + QStringLiteral("/data/") + name;
}

QString TQVL_System::SoundLibraryFileOf(const QString& programFolder)
{
    return ModuleFileOf(programFolder, QStringLiteral("soundsystem.so"));
}

bool TQVL_System::IsValidFileName(const QString& name)
{
    if (name.isEmpty() || name.endsWith(QLatin1Char('.')))
        return false;
    static const QString forbidden = QStringLiteral("\"*/:<>?\\|");
    if (std::any_of(name.begin(), name.end(), [](QChar c) { return forbidden.contains(c); }))
        return false;
    if (name.size() >= 7 || name.size() <= 2)
        return true;
    static const QStringList reserved = [] {
        QStringList names{QStringLiteral("AUX"), QStringLiteral("NUL"), QStringLiteral("PRN"), QStringLiteral("CON"),
                          QStringLiteral("CLOCK$")};
        for (int i = 1; i <= 9; ++i) {
            names << QStringLiteral("COM%1").arg(i) << QStringLiteral("LPT%1").arg(i);
        }
        return names;
    }();
    return !reserved.contains(name.toUpper());
}

QString TQVL_System::NewUid()
{
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
}

int TQVL_System::DaysBetween(TQVL_DateTime from, TQVL_DateTime to)
{
    if (from.IsEmpty() || to.IsEmpty() || from > to)
        return 0;
    return int(RoundHalfEven(to.Serial() - from.Serial()));
}

QString TQVL_System::UniqueFileName(const QString& folder, const QString& fileName)
{
    const QString candidate = folder + QLatin1Char('/') + fileName;
    if (!QFileInfo::exists(candidate))
        return candidate;
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? fileName : fileName.left(dot);
    const QString extension = dot < 0 ? QString() : fileName.mid(dot);
    for (int n = 1;; ++n) {
        const QString numbered = folder + QLatin1Char('/') + base + QLatin1Char('_') + QString::number(n) + extension;
        if (!QFileInfo::exists(numbered))
            return numbered;
    }
}

QString TQVL_System::ExcludeTrailingBackslash(const QString& path)
{
    // The file-system root keeps its slash: without it, it would name nothing.
    if (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        return path.chopped(1);
    return path;
}

QString TQVL_System::DurationText(qint64 seconds)
{
    // Hours and minutes are 16-bit unsigned, as they always were.
    const quint16 hours = quint16(seconds / 3600);
    const quint16 minutes = quint16((seconds - qint64(hours) * 3600) / 60);
    return QStringLiteral("%1 %2, %3 %4")
        .arg(hours)
        .arg(hours == 1 ? QStringLiteral("Stunde") : QStringLiteral("Stunden"))
        .arg(minutes)
        .arg(minutes == 1 ? QStringLiteral("Minute") : QStringLiteral("Minuten"));
}

int TQVL_System::SecondsOfDay(TQVL_DateTime dateTime)
{
    const QTime time = dateTime.Time();
    return time.hour() * 3600 + time.minute() * 60 + time.second();
}

QString TQVL_System::TempFolder()
{
    return ExcludeTrailingBackslash(QDir::tempPath());
}

QString TQVL_System::TempFileName(const QString& suffix)
{
    // Created here, empty and readable by its owner only, under a name no one
    // can guess: the temporary folder is shared by every user and every
    // running program, and a name that was merely free could be taken (or
    // planted as a link to someone's file) before it is written.
    QTemporaryFile file(TempFolder() + QStringLiteral("/Quorvel_Temp_XXXXXX") + suffix);
    file.setAutoRemove(false);
    if (!file.open())
        throw TQVL_Error::WithCause(
            QStringLiteral("Im Ordner \"%1\" kann keine temporäre Datei angelegt werden!").arg(TempFolder()),
            file.errorString());
    return file.fileName();
}

QString FileVersionText(const QString& fileName)
{
    if (!QFileInfo::exists(fileName))
        return QStringLiteral("-1");
    // A program built by us carries the version in a note: no need to read its megabytes.
    const int fd = open(QFile::encodeName(fileName).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        const QString noted = versionAfterMarker(elfVersionNote(fd));
        close(fd);
        if (!noted.isEmpty())
            return noted;
    }
    QByteArray content;
    try {
        content = TQVL_FileHandle::ReadWholeFile(fileName);
    } catch (const std::exception&) {
        return {};
    }
    return versionAfterMarker(content);
}

QString SpecialFolder(TQVL_SpecialFolder kind)
{
    const auto location = [](QStandardPaths::StandardLocation where) {
        return TQVL_System::ExcludeTrailingBackslash(QStandardPaths::writableLocation(where));
    };
    using F = TQVL_SpecialFolder;
    switch (kind) {
    case F::StartMenu:
    case F::Programs: return location(QStandardPaths::ApplicationsLocation);
    case F::Root: return QStringLiteral("/");
    case F::Desktop:
    case F::DesktopFolder: return location(QStandardPaths::DesktopLocation);
    case F::Documents: return location(QStandardPaths::DocumentsLocation);
    case F::AppData: return location(QStandardPaths::GenericDataLocation);
    case F::Templates: {
        const QString templates = QDir::home().filePath(QStringLiteral("Templates"));
        return QFileInfo(templates).isDir() ? templates : QString();
    }
    case F::Favourites: return {};
    }
    return {};
}
