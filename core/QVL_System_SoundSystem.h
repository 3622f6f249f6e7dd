#pragma once

#include <QString>

// Front of the optional sound library "data/soundsystem.so" below the program
// folder (lib/quorvel/soundsystem.so in an installation). Every operation looks its export up at the moment it is called, so a
// library without one export still serves the others. The library handle is
// held once per process.
class TQVL_System_SoundSystem
{
public:
    // `libraryFile`: full path of the library (TQVL_System::SoundLibraryFile).
    explicit TQVL_System_SoundSystem(QString libraryFile);

    // Loads the library and calls "init". A library that cannot be loaded is
    // reported through the error display; a missing library or export gives 0.
    int Init(quintptr mainWindowHandle = 0);
    // Calls "deinit" (0 when missing) and unloads the library.
    int Deinit();
    // Starts playing `fileName` without waiting for it; 0 when the library or "play" is missing.
    int Play(const QString& fileName);
    // The library's version text; "Error" without a "version" export.
    QString Version();
    // The library's info text; `result` stays unchanged without an "info" export.
    void Info(QString& result);

    // Full path of the library file.
    QString LibraryFile() const;

private:
    QString libraryFile;
};
