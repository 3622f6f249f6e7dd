#include "tests/support/TestErrors.h"
#include "tests/support/TestUpdatePackages.h"
#include "tests/update/UpdateFixture.h"
#include "update/QVL_Update.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

using namespace TestUpdatePackages;

namespace {

const QString emptyMd5 = QStringLiteral("d41d8cd98f00b204e9800998ecf8427e");

// A prepared update folder with the files `sources` and the script `commands`;
// updatenextstart is set.
class UpdateApply : public ::testing::Test
{
protected:
    void prepare(const std::vector<std::pair<QString, QByteArray>>& sources, const std::vector<Command>& commands)
    {
        for (const auto& [name, bytes] : sources)
            WriteFile(folders.Updates() + QLatin1Char('/') + name, bytes);
        WriteFile(folders.Updates() + QStringLiteral("/Updateinstructions.xml"), Instructions(commands));
        folders.WriteSettings(QStringLiteral("https://x.example/v"), true);
    }

    // Runs the apply step of update mode; returns its error (empty on success).
    QString apply()
    {
        auto engine = folders.Engine();
        engine->OnInformation = [this](const QString& text) { informations << text; };
        engine->OnError = [this](const QString& text) { errors << text; };
        return ErrorOf([&] { engine->ApplyAtStart(); });
    }

    // Name and content of every file of the three folders and beside them, update folder and settings left out.
    QStringList snapshot() const
    {
        QStringList files;
        QDirIterator it(QFileInfo(folders.AppData()).path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.startsWith(folders.Updates()) || path == folders.Settings())
                continue;
            files << path + QLatin1Char('=') + QString::fromUtf8(ReadFile(path));
        }
        files.sort();
        return files;
    }

    QString failure(const QString& cause) const
    {
        return QStringLiteral("Fehler beim Lesen der Datei \"%1/Updateinstructions.xml\"!\r%2").arg(folders.Updates(), cause);
    }

    UpdateFolders folders;
    QStringList informations, errors;
};

TEST_F(UpdateApply, ACompleteUpdateReplacesDeletesCreatesRunsAndClearsTheFlag)
{
    const QString options = folders.AppData() + QStringLiteral("/Data/Options.xml");
    const QString optionsBak = folders.AppData() + QStringLiteral("/Data/Options.bak");
    const QString marker = folders.Documents() + QStringLiteral("/gelaufen.txt");
    WriteFile(options, "alt");
    WriteFile(optionsBak, "uralt");
    WriteFile(folders.Program() + QStringLiteral("/veraltet.dat"), "weg damit");
    const QByteArray script = "#!/bin/sh\necho \"$0\" > '" + marker.toUtf8() + "'\n";
    prepare({{QStringLiteral("Options.xml"), "neu"}, {QStringLiteral("setup.sh"), script},
             {QStringLiteral("README"), "liesmich"}},
            {{QStringLiteral("REPLACECOPY"), QStringLiteral("Options.xml"), QStringLiteral("%APPDATA%/Data/Options.xml"),
              Md5("neu")},
             {QStringLiteral("REPLACECOPY"), QStringLiteral("README"), QStringLiteral("%PROGRAMDATA%/README"),
              Md5("liesmich")},
             {QStringLiteral("DELETE"), QString(), QStringLiteral("%PROGRAMDATA%/veraltet.dat"), emptyMd5},
             {QStringLiteral("CREATEDIR"), QString(), QStringLiteral("%APPDATA%/Neu/%APPDATA%"), emptyMd5},
             {QStringLiteral("RUN"), QStringLiteral("setup.sh"), QString(), Md5(script)}});
    QFile::setPermissions(folders.Updates() + QStringLiteral("/setup.sh"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    EXPECT_EQ(apply(), QString());
    EXPECT_EQ(ReadFile(options), "neu");
    EXPECT_EQ(ReadFile(optionsBak), "alt") << "the old companion gives way to the replaced file";
    EXPECT_EQ(ReadFile(folders.Program() + QStringLiteral("/README")), "liesmich");
    EXPECT_FALSE(QFileInfo::exists(folders.Program() + QStringLiteral("/README.bak")));
    EXPECT_FALSE(QFileInfo::exists(folders.Program() + QStringLiteral("/veraltet.dat")));
    EXPECT_TRUE(QFileInfo(folders.AppData() + QStringLiteral("/Neu/%APPDATA%")).isDir())
        << "only the first placeholder of a kind is expanded";
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(marker); }, 5000)) << "the program ran";
    EXPECT_FALSE(folders.Engine()->UpdateNextStart);
    EXPECT_EQ(informations, (QStringList{QStringLiteral("Das Update wird nun eingespielt!"),
                                         QStringLiteral("Das Update wurde erfolgreich eingespielt! Bitte starten Sie "
                                                        "das Programm nun neu!")}));
    EXPECT_TRUE(errors.isEmpty());
    // Nothing but the moved companion is left beside the files.
    EXPECT_EQ(QDir(folders.AppData() + QStringLiteral("/Data")).entryList(QDir::Files),
              (QStringList{QStringLiteral("Options.bak"), QStringLiteral("Options.xml"), QStringLiteral("Update.xml")}));
}

TEST_F(UpdateApply, WithoutTheFlagNothingHappens)
{
    prepare({{QStringLiteral("a"), "a"}},
            {{QStringLiteral("REPLACECOPY"), QStringLiteral("a"), QStringLiteral("%APPDATA%/a"), Md5("a")}});
    folders.WriteSettings(QStringLiteral("https://x.example/v"), false);
    EXPECT_EQ(apply(), QString());
    EXPECT_FALSE(QFileInfo::exists(folders.AppData() + QStringLiteral("/a")));
    EXPECT_TRUE(informations.isEmpty());
}

TEST_F(UpdateApply, AScriptThatFailsTheCheckChangesNothing)
{
    WriteFile(folders.AppData() + QStringLiteral("/Data/Options.xml"), "alt");
    WriteFile(folders.Program() + QStringLiteral("/quorvel.dat"), "alt");
    WriteFile(folders.Outside() + QStringLiteral("/fremd.txt"), "fremd");
    QFile::link(folders.Outside(), folders.AppData() + QStringLiteral("/Verweis"));
    const Command good{QStringLiteral("REPLACECOPY"), QStringLiteral("neu.xml"), QStringLiteral("%APPDATA%/Data/Options.xml"),
                       Md5("neu")};
    const auto copyTo = [](const QString& dst) {
        return Command{QStringLiteral("REPLACECOPY"), QStringLiteral("neu.xml"), dst, Md5("neu")};
    };
    struct Case
    {
        const char* name;
        Command second;
        QString cause;
    };
    const QString outside = QStringLiteral("Das Ziel \"%1\" liegt außerhalb der Ordner des Programms, der Daten und "
                                           "der Dokumente und wird nicht verändert!");
    const QString fremd = folders.Outside() + QStringLiteral("/fremd.txt");
    const std::vector<Case> cases = {
        {"wrong md5", {QStringLiteral("REPLACECOPY"), QStringLiteral("neu.xml"), QStringLiteral("%PROGRAMDATA%/quorvel.dat"), Md5("alt")},
         QStringLiteral("Update-Datei \"neu.xml\" ist korrupt!")},
        {"md5 in capitals", {QStringLiteral("REPLACECOPY"), QStringLiteral("neu.xml"), QStringLiteral("%PROGRAMDATA%/quorvel.dat"), Md5("neu").toUpper()},
         QStringLiteral("Update-Datei \"neu.xml\" ist korrupt!")},
        {"missing file", {QStringLiteral("REPLACECOPY"), QStringLiteral("fehlt.xml"), QStringLiteral("%APPDATA%/x"), emptyMd5},
         QStringLiteral("Update-Datei \"fehlt.xml\" nicht gefunden!")},
        {"folder without a file and a wrong md5", {QStringLiteral("CREATEDIR"), QStringLiteral("nichts"), QStringLiteral("%APPDATA%/x"), Md5("x")},
         QStringLiteral("Update-Datei \"nichts\" ist korrupt!")},
        {"unknown command", {QStringLiteral("replacecopy"), QStringLiteral("neu.xml"), QStringLiteral("%APPDATA%/x"), Md5("neu")},
         QStringLiteral("Befehl \"replacecopy\" unbekannt!")},
        {"absolute path elsewhere", copyTo(fremd), outside.arg(fremd)},
        {"parent of a placeholder", copyTo(QStringLiteral("%APPDATA%/../outside/fremd.txt")),
         outside.arg(QStringLiteral("%APPDATA%/../outside/fremd.txt"))},
        {"through a link", copyTo(QStringLiteral("%APPDATA%/Verweis/fremd.txt")),
         outside.arg(QStringLiteral("%APPDATA%/Verweis/fremd.txt"))},
        {"relative path", copyTo(QStringLiteral("fremd.txt")), outside.arg(QStringLiteral("fremd.txt"))},
        {"unknown placeholder", copyTo(QStringLiteral("%WINDIR%/fremd.txt")), outside.arg(QStringLiteral("%WINDIR%/fremd.txt"))},
        {"delete outside", {QStringLiteral("DELETE"), QString(), fremd, emptyMd5}, outside.arg(fremd)},
        {"delete a whole folder", {QStringLiteral("DELETE"), QString(), QStringLiteral("%USERDATA%"), emptyMd5},
         outside.arg(QStringLiteral("%USERDATA%"))},
        {"create outside", {QStringLiteral("CREATEDIR"), QString(), folders.Outside() + QStringLiteral("/neu"), emptyMd5},
         outside.arg(folders.Outside() + QStringLiteral("/neu"))},
        {"source outside the update folder", {QStringLiteral("REPLACECOPY"), QStringLiteral("../../outside/fremd.txt"), QStringLiteral("%APPDATA%/x"), Md5("fremd")},
         QStringLiteral("Update-Datei \"../../outside/fremd.txt\" liegt außerhalb des Update-Ordners!")},
        {"program outside the update folder", {QStringLiteral("RUN"), QStringLiteral("../../outside/fremd.txt"), QString(), Md5("fremd")},
         QStringLiteral("Update-Datei \"../../outside/fremd.txt\" liegt außerhalb des Update-Ordners!")},
    };
    const QStringList before = snapshot();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        errors.clear();
        prepare({{QStringLiteral("neu.xml"), "neu"}}, {good, c.second});
        EXPECT_EQ(apply(), failure(c.cause));
        EXPECT_EQ(errors, QStringList{failure(c.cause)});
        EXPECT_EQ(snapshot(), before);
        EXPECT_TRUE(folders.Engine()->UpdateNextStart) << "the next start tries again";
    }
}

TEST_F(UpdateApply, AFailingStepRestoresWhatTheStepsBeforeItChanged)
{
    const QString options = folders.AppData() + QStringLiteral("/Data/Options.xml");
    WriteFile(options, "alt");
    WriteFile(folders.AppData() + QStringLiteral("/Data/Options.bak"), "uralt");
    WriteFile(folders.Program() + QStringLiteral("/veraltet.dat"), "bleibt");
    const QStringList before = snapshot();
    struct Case
    {
        const char* name;
        Command failing;
        QString cause;
    };
    const std::vector<Case> cases = {
        // Not executable: the program cannot be started.
        {"program", {QStringLiteral("RUN"), QStringLiteral("setup.sh"), QString(), Md5("#!/bin/sh\n")},
         QStringLiteral("Das Programm \"setup.sh\" konnte nicht gestartet werden!")},
        {"copy", {QStringLiteral("REPLACECOPY"), QStringLiteral("neu.dat"), QStringLiteral("%PROGRAMDATA%/fehlt/neu.dat"), Md5("neu")},
         QStringLiteral("Fehler beim Kopieren einer Datei von \"%1/neu.dat\" nach \"%2/fehlt/neu.dat\"!\rDer Zielordner "
                        "existiert nicht.")
             .arg(folders.Updates(), folders.Program())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prepare({{QStringLiteral("Options.xml"), "neu"}, {QStringLiteral("setup.sh"), "#!/bin/sh\n"},
                 {QStringLiteral("neu.dat"), "neu"}},
                {{QStringLiteral("REPLACECOPY"), QStringLiteral("Options.xml"), QStringLiteral("%APPDATA%/Data/Options.xml"),
                  Md5("neu")},
                 {QStringLiteral("REPLACECOPY"), QStringLiteral("neu.dat"), QStringLiteral("%PROGRAMDATA%/neu.dat"), Md5("neu")},
                 {QStringLiteral("DELETE"), QString(), QStringLiteral("%PROGRAMDATA%/veraltet.dat"), emptyMd5},
                 {QStringLiteral("CREATEDIR"), QString(), QStringLiteral("%USERDATA%/a/b/c"), emptyMd5},
                 c.failing,
                 {QStringLiteral("DELETE"), QString(), QStringLiteral("%APPDATA%/Data/Options.xml"), emptyMd5}});
        QFile::setPermissions(folders.Updates() + QStringLiteral("/setup.sh"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner);

        EXPECT_EQ(apply(), failure(c.cause));
        EXPECT_EQ(snapshot(), before);
        EXPECT_TRUE(folders.Engine()->UpdateNextStart);
    }
}

} // namespace
