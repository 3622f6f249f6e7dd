#pragma once

#include "core/QVL_DateTime.h"
#include "core/QVL_System_SoundSystem.h"

#include <QString>

#include <memory>

class TQVL;

// What the program needs from the machine: its folders, its version, unique
// identifiers, file-name, date and duration helpers, and the sound system.
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
    static QString TempFileName(const QString& suffix);

    TQVL* Owner;
    QString ProgramVersion;
    QString AppDataFolder;
    QString ProgramFolder;
    QString DocumentsFolder;
    std::unique_ptr<TQVL_System_SoundSystem> SoundSystem;
    // Handed to the sound library's "init"; set by the main window.
    quintptr MainWindowHandle = 0;
};

// The version text "major.minor.release.build" stored in a program file; "-1"
// when the file does not exist, empty when it carries no version.
QString FileVersionText(const QString& fileName);

// Per-user folders: 4 documents, 5 application data, 3 and 8 desktop,
// 0 start menu, 1 programs, 2 the root of the file system, 6 favourites,
// 7 templates. Empty when unknown.
QString SpecialFolder(int kind);
