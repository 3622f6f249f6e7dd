#pragma once

#include <QByteArray>
#include <QString>

class TestFolders;

// The program options of a test installation, one field for each value the
// tests vary; the rest of Options.xml is fixed.
struct TestOptions
{
    bool SoundDisabled = true;
    bool UserfilesReadonly = false;
    bool Autoload = false;
    QByteArray AutoloadProfile = "Benutzer/Lernender.qxs";
    bool SelectShowPath = false;

    // The file as the program writes it.
    QByteArray Xml() const;
};

// Writes "Data/Options.xml" into the application-data folder; returns its path.
QString WriteOptions(const TestFolders& folders, const TestOptions& options = {});

// Options.xml and the installed language-name table: what the core needs to start.
void WriteInstallation(const TestFolders& folders, const TestOptions& options = {});

// The installed first profile "Lernender" in the documents folder, with its
// ".crc" companion; returns its path.
QString InstallProfile(const TestFolders& folders);
