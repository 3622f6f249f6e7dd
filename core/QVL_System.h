#pragma once

#include "core/QVL_DateTime.h"
#include "core/QVL_SpeechService.h"
#include "core/QVL_System_SoundSystem.h"

#include <QString>

#include <memory>

class TQVL;

// What the program needs from the machine: its folders, its version, unique
// identifiers, file-name, date and duration helpers, the sound system and
// the reading aloud.
// Created first by the application core and released last.
class TQVL_System
{
public:
    explicit TQVL_System(TQVL* owner = nullptr);
    ~TQVL_System();
    TQVL_System(const TQVL_System&) = delete;
    TQVL_System& operator=(const TQVL_System&) = delete;

    // Starts the sound library; failures are shown and the program goes on.
    void InitSoundSystem();

    static bool IsValidFileName(const QString& name);
    static QString NewUid();
    static int DaysBetween(TQVL_DateTime from, TQVL_DateTime to);
    static QString UniqueFileName(const QString& folder, const QString& fileName);
    static QString ExcludeTrailingBackslash(const QString& path);
    static QString DurationText(qint64 seconds);
    static int SecondsOfDay(TQVL_DateTime dateTime);
    static QString TempFolder();
    // A new, empty file in the temporary folder, only the caller's; its name
    // ends with `suffix`. The caller removes it.
    static QString TempFileName(const QString& suffix);

    // Where the files installed with the program lie. In a build folder they
    // are beside the program (data/soundsystem.so, Sounds/, help/, setup/); an
    // installation into a prefix puts the program into bin/, its modules
    // into lib/quorvel/ and the rest into share/quorvel/.
    static bool IsInstalledLayout(const QString& programFolder);
    // The folder holding Sounds/, help/ and setup/.
    static QString ResourceFolderOf(const QString& programFolder);
    // A module the program loads when it first needs it ("soundsystem.so").
    static QString ModuleFileOf(const QString& programFolder, const QString& name);
    static QString SoundLibraryFileOf(const QString& programFolder);
    QString ResourceFolder() const { return ResourceFolderOf(ProgramFolder); }
    QString SoundLibraryFile() const { return SoundLibraryFileOf(ProgramFolder); }

    TQVL* Owner;
    QString ProgramVersion;
    QString AppDataFolder;
    QString ProgramFolder;
    QString DocumentsFolder;
    std::unique_ptr<TQVL_System_SoundSystem> SoundSystem;
    // Synthesises card texts for reading aloud and recording.
    std::unique_ptr<TQVL_SpeechService> Speech;
    // Handed to the sound library's "init"; set by the main window.
    quintptr MainWindowHandle = 0;
};

// The version text "major.minor.release.build" stored in a program file; "-1"
// when the file does not exist, empty when it carries no version.
QString FileVersionText(const QString& fileName);

// Per-user folders, numbered as the folder pickers know them.
enum class TQVL_SpecialFolder
{
    StartMenu = 0,
    Programs = 1,
    Root = 2,
    Desktop = 3,
    Documents = 4,
    AppData = 5,
    Favourites = 6,
    Templates = 7,
    DesktopFolder = 8,
};

// The path of a per-user folder; empty when there is none here.
QString SpecialFolder(TQVL_SpecialFolder kind);
