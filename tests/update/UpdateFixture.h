#pragma once

#include "tests/support/TestFiles.h"
#include "update/QVL_Update.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

#include <memory>

// The three folders of an installation in a temporary directory, with an
// "Update.xml" naming `link`, and an engine over them.
class UpdateFolders
{
public:
    UpdateFolders()
    {
        for (const QString& folder : {AppData() + QStringLiteral("/Data"), Documents(), Program()})
            QDir().mkpath(folder);
        WriteSettings(QStringLiteral("https://www.quorvel.example/updates/versioninfo"), false);
    }

    QString AppData() const { return dir.path() + QStringLiteral("/appdata"); }
    QString Documents() const { return dir.path() + QStringLiteral("/documents"); }
    QString Program() const { return dir.path() + QStringLiteral("/program"); }
    QString Outside() const { return dir.path() + QStringLiteral("/outside"); }
    QString Updates() const { return AppData() + QStringLiteral("/Updates"); }
    QString Settings() const { return AppData() + QStringLiteral("/Data/Update.xml"); }

    void WriteSettings(const QString& link, bool nextStart) const
    {
        WriteFile(Settings(), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>1</version>\r\n"
                              "  <link_getversioninfo>" + link.toUtf8() +
                                  "</link_getversioninfo>\r\n  <updatenextstart>" +
                                  (nextStart ? "true" : "false") + "</updatenextstart>\r\n</root>\r\n");
    }

    // An engine as update mode creates it: all three folders set.
    std::unique_ptr<TQVL_Update> Engine() const
    {
        auto engine = std::make_unique<TQVL_Update>(QStringLiteral("8.0.0.1"), AppData());
        engine->DocumentsFolder = Documents();
        engine->ProgramFolder = Program();
        return engine;
    }

private:
    QTemporaryDir dir;
};

// A temporary folder of its own for the program's temporary files while it
// lives, so that a test can see what a run leaves behind there.
class OwnTempFolder
{
public:
    OwnTempFolder() : previous(qgetenv("TMPDIR")), hadPrevious(qEnvironmentVariableIsSet("TMPDIR"))
    {
        qputenv("TMPDIR", QFile::encodeName(dir.path()));
    }
    ~OwnTempFolder()
    {
        if (hadPrevious)
            qputenv("TMPDIR", previous);
        else
            qunsetenv("TMPDIR");
    }
    OwnTempFolder(const OwnTempFolder&) = delete;
    OwnTempFolder& operator=(const OwnTempFolder&) = delete;

    QString Path() const { return dir.path(); }
    // Everything in it, files and folders.
    QStringList Entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    }

private:
    QTemporaryDir dir;
    QByteArray previous;
    bool hadPrevious;
};
