#include "core/QVL_System.h"

#include "core/QVL_ErrorDisplay.h"
#include "core/QVL_Math.h"
#include "core/QVL_SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>

// The program's version, embedded in the program file so that FileVersionText
// can read it from there like from any other program file.
extern "C" __attribute__((used)) const char quorvelFileVersionMarker[] =
    "\001QUORVEL-FILEVERSION:" QUORVEL_VERSION_TEXT "\001";

namespace {

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

TQVL_System::TQVL_System(TQVL* owner) : Owner(owner)
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

QString TQVL_System::SoundLibraryFileOf(const QString& programFolder)
{
    if (IsInstalledLayout(programFolder))
        return QDir::cleanPath(programFolder + QStringLiteral("/../" QUORVEL_INSTALL_LIBDIR "/soundsystem.so"));
    return programFolder + QStringLiteral("/data/soundsystem.so");
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
    return UniqueFileName(TempFolder(), QStringLiteral("Quorvel_Temp") + suffix);
}

QString FileVersionText(const QString& fileName)
{
    if (!QFileInfo::exists(fileName))
        return QStringLiteral("-1");
    QByteArray content;
    try {
        content = TQVL_FileHandle::ReadWholeFile(fileName);
    } catch (const std::exception&) {
        return {};
    }
    // Assembled at run time so that the search text itself is not a marker.
    QByteArray key("\001QUORVEL-FILE");
    key += "VERSION:";
    static const QRegularExpression version(QStringLiteral("^(\\d+)\\.(\\d+)\\.(\\d+)\\.(\\d+)\001"));
    for (qsizetype at = content.indexOf(key); at >= 0; at = content.indexOf(key, at + 1)) {
        const QString rest = QString::fromLatin1(content.mid(at + key.size(), 64));
        const QRegularExpressionMatch m = version.match(rest);
        if (m.hasMatch())
            return QStringLiteral("%1.%2.%3.%4").arg(m.captured(1), m.captured(2), m.captured(3), m.captured(4));
    }
    return {};
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
