#include "tests/support/TestErrors.h"
#include "tests/support/TestUpdatePackages.h"
#include "tests/update/UpdateFixture.h"
#include "update/QVL_Update.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using namespace TestUpdatePackages;

namespace {

const QString emptyMd5 = QStringLiteral("d41d8cd98f00b204e9800998ecf8427e");

// A prepared update folder: one package with the files `sources` and the
// script `commands`, signed with the test's key; updatenextstart is set.
class UpdateApply : public ::testing::Test
{
protected:
    void prepare(const std::vector<Entry>& sources, const std::vector<Command>& commands)
    {
        std::vector<Entry> entries{Entry(QStringLiteral("Updateinstructions.xml"), Instructions(commands))};
        entries.insert(entries.end(), sources.begin(), sources.end());
        QDir(folders.Updates()).removeRecursively();
        writePackage(1, TarXz(entries));
        folders.WriteSettings(QStringLiteral("https://x.example/v"), true);
    }

    void writePackage(int number, const QByteArray& package, const KeyPair* signer = nullptr)
    {
        const QString name = folders.Updates() + QLatin1Char('/') + TQVL_Update::PackageName(number);
        WriteFile(name, package);
        WriteFile(name + QStringLiteral(".sig"), (signer ? *signer : key).Sign(package));
    }

    // Runs the apply step of update mode; returns its error (empty on success).
    QString apply(std::function<void()> afterVerification = {})
    {
        auto engine = folders.Engine();
        engine->PublicKey = key.Public;
        engine->OnInformation = [this](const QString& text) { informations << text; };
        engine->OnError = [this](const QString& text) { errors << text; };
        engine->OnChecked = std::move(afterVerification);
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

    // The error of step `step` of the first package.
    QString failure(int step, const Command& command, const QString& cause) const
    {
        return QStringLiteral("Schritt %1 des Update-Pakets \"%2/1.tar.xz\" (%3 \"%4\") ist fehlgeschlagen!\r%5")
            .arg(QString::number(step), folders.Updates(), command.Cmd,
                 command.Dst.isEmpty() ? command.Src : command.Dst, cause);
    }

    UpdateFolders folders;
    KeyPair key;
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
    prepare({{QStringLiteral("Options.xml"), "neu"},
             {QStringLiteral("setup.sh"), script, Entry::File, {}, 0755},
             {QStringLiteral("README"), "liesmich"}},
            {{QStringLiteral("REPLACECOPY"), QStringLiteral("Options.xml"),
              QStringLiteral("%APPDATA%/Data/Options.xml"), Md5("neu")},
             {QStringLiteral("REPLACECOPY"), QStringLiteral("README"), QStringLiteral("%PROGRAMDATA%/README"),
              Md5("liesmich")},
             {QStringLiteral("DELETE"), QString(), QStringLiteral("%PROGRAMDATA%/veraltet.dat"), emptyMd5},
             {QStringLiteral("CREATEDIR"), QString(), QStringLiteral("%APPDATA%/Neu/%APPDATA%"), emptyMd5},
             {QStringLiteral("RUN"), QStringLiteral("setup.sh"), QString(), Md5(script)}});

    EXPECT_EQ(apply(), QString());
    EXPECT_EQ(ReadFile(options), "neu");
    EXPECT_EQ(ReadFile(optionsBak), "uralt") << "a companion the update did not make stays";
    EXPECT_EQ(ReadFile(folders.AppData() + QStringLiteral("/Data/Options_1.bak")), "alt")
        << "the replaced file is kept under a free name";
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
    // Nothing but the backup is left beside the files.
    EXPECT_EQ(QDir(folders.AppData() + QStringLiteral("/Data")).entryList(QDir::Files),
              (QStringList{QStringLiteral("Options.bak"), QStringLiteral("Options.xml"),
                           QStringLiteral("Options_1.bak"), QStringLiteral("Update.xml")}));
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
        EXPECT_EQ(apply(), failure(2, c.second, c.cause));
        EXPECT_EQ(errors, QStringList{failure(2, c.second, c.cause)});
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
        {"program",
         {QStringLiteral("RUN"), QStringLiteral("setup.sh"), QString(), Md5("#!/bin/sh\n")},
         QStringLiteral("Das Programm \"setup.sh\" konnte nicht gestartet werden!")},
        {"copy",
         {QStringLiteral("REPLACECOPY"), QStringLiteral("neu.dat"), QStringLiteral("%PROGRAMDATA%/fehlt/neu.dat"),
          Md5("neu")},
         QStringLiteral("Fehler beim Kopieren der Update-Datei \"neu.dat\" nach \"%1/fehlt/neu.dat\"!\rDer Zielordner "
                        "existiert nicht.")
             .arg(folders.Program())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prepare({{QStringLiteral("Options.xml"), "neu"},
                 {QStringLiteral("setup.sh"), "#!/bin/sh\n"},
                 {QStringLiteral("neu.dat"), "neu"}},
                {{QStringLiteral("REPLACECOPY"), QStringLiteral("Options.xml"),
                  QStringLiteral("%APPDATA%/Data/Options.xml"), Md5("neu")},
                 {QStringLiteral("REPLACECOPY"), QStringLiteral("neu.dat"), QStringLiteral("%PROGRAMDATA%/neu.dat"),
                  Md5("neu")},
                 {QStringLiteral("DELETE"), QString(), QStringLiteral("%PROGRAMDATA%/veraltet.dat"), emptyMd5},
                 {QStringLiteral("CREATEDIR"), QString(), QStringLiteral("%USERDATA%/a/b/c"), emptyMd5},
                 c.failing,
                 {QStringLiteral("DELETE"), QString(), QStringLiteral("%APPDATA%/Data/Options.xml"), emptyMd5}});

        EXPECT_EQ(apply(), failure(5, c.failing, c.cause));
        EXPECT_EQ(snapshot(), before);
        EXPECT_TRUE(folders.Engine()->UpdateNextStart);
    }
}

TEST_F(UpdateApply, PlantedOrAlteredInstructionsAreRefusedBeforeAnythingIsTouched)
{
    const QString options = folders.AppData() + QStringLiteral("/Data/Options.xml");
    WriteFile(options, "alt");
    WriteFile(folders.Documents() + QStringLiteral("/Lektion.xml"), "meine Lektion");
    const QStringList before = snapshot();
    const Command replace{QStringLiteral("REPLACECOPY"), QStringLiteral("neu.xml"),
                          QStringLiteral("%APPDATA%/Data/Options.xml"), Md5("böse")};
    const QByteArray planted = Instructions(
        {replace, {QStringLiteral("DELETE"), QString(), QStringLiteral("%USERDATA%/Lektion.xml"), emptyMd5}});
    const QByteArray good =
        TarXz({{QStringLiteral("Updateinstructions.xml"), planted}, {QStringLiteral("neu.xml"), "böse"}});
    const QString first = folders.Updates() + QStringLiteral("/1.tar.xz");
    const QString badSignature =
        QStringLiteral("Die Signatur des Update-Pakets \"%1\" ist ungültig. Das Paket stammt "
                       "nicht vom Hersteller oder wurde verändert und wird nicht installiert!");
    KeyPair stranger;
    struct Case
    {
        const char* name;
        std::function<void()> plant;
        QString error;
    };
    const std::vector<Case> cases = {
        {"a script and its files without a package",
         [&] {
             WriteFile(folders.Updates() + QStringLiteral("/Updateinstructions.xml"), planted);
             WriteFile(folders.Updates() + QStringLiteral("/neu.xml"), "böse");
         },
         QStringLiteral("Im Ordner \"%1\" liegt kein Update-Paket!\rAnweisungen ohne signiertes Update-Paket werden "
                        "nicht ausgeführt.")
             .arg(folders.Updates())},
        {"a package changed after signing",
         [&] {
             writePackage(1, good);
             QByteArray changed = good;
             changed[changed.size() / 2] = char(changed[changed.size() / 2] ^ 1);
             WriteFile(first, changed);
         },
         badSignature.arg(first)},
        {"a package signed by someone else", [&] { writePackage(1, good, &stranger); }, badSignature.arg(first)},
        {"a good package followed by a planted one",
         [&] {
             writePackage(1, good);
             writePackage(2, good, &stranger);
         },
         badSignature.arg(folders.Updates() + QStringLiteral("/2.tar.xz"))},
        {"a package without its signature",
         [&] {
             writePackage(1, good);
             QFile::remove(first + QStringLiteral(".sig"));
         },
         QStringLiteral("Die Datei \"%1.sig\" kann nicht gelesen werden!\rDie Datei fehlt.").arg(first)},
        {"a package that is a link",
         [&] {
             const QString elsewhere = folders.Outside() + QStringLiteral("/1.tar.xz");
             WriteFile(elsewhere, good);
             WriteFile(first + QStringLiteral(".sig"), key.Sign(good));
             QFile::link(elsewhere, first);
         },
         QStringLiteral(
             "Die Datei \"%1\" kann nicht gelesen werden!\rSie ist keine gewöhnliche Datei oder nicht lesbar.")
             .arg(first)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        errors.clear();
        QDir(folders.Updates()).removeRecursively();
        QDir(folders.Outside()).removeRecursively();
        folders.WriteSettings(QStringLiteral("https://x.example/v"), true);
        c.plant();
        EXPECT_EQ(apply(), c.error);
        EXPECT_EQ(errors, QStringList{c.error});
        QDir(folders.Outside()).removeRecursively();
        EXPECT_EQ(snapshot(), before);
        EXPECT_TRUE(folders.Engine()->UpdateNextStart);
    }
}

TEST_F(UpdateApply, WhatIsAppliedIsTheVerifiedCopyNotTheUpdateFolder)
{
    const QString options = folders.AppData() + QStringLiteral("/Data/Options.xml");
    const QString lesson = folders.Documents() + QStringLiteral("/Lektion.xml");
    WriteFile(options, "alt");
    WriteFile(lesson, "meine Lektion");
    prepare({{QStringLiteral("neu.xml"), "neu"}}, {{QStringLiteral("REPLACECOPY"), QStringLiteral("neu.xml"),
                                                    QStringLiteral("%APPDATA%/Data/Options.xml"), Md5("neu")}});
    // A script lying loose beside the package is never read.
    WriteFile(
        folders.Updates() + QStringLiteral("/Updateinstructions.xml"),
        Instructions({{QStringLiteral("DELETE"), QString(), QStringLiteral("%USERDATA%/Lektion.xml"), emptyMd5}}));
    const QByteArray swapped = TarXz({{QStringLiteral("Updateinstructions.xml"),
                                       Instructions({{QStringLiteral("REPLACECOPY"), QStringLiteral("neu.xml"),
                                                      QStringLiteral("%USERDATA%/Lektion.xml"), Md5("böse")}})},
                                      {QStringLiteral("neu.xml"), "böse"}});
    // Once checked, the update folder is changed under the running apply step.
    EXPECT_EQ(apply([&] {
                  WriteFile(folders.Updates() + QStringLiteral("/1.tar.xz"), swapped);
                  WriteFile(folders.Updates() + QStringLiteral("/1.tar.xz.sig"), KeyPair().Sign(swapped));
                  WriteFile(folders.Updates() + QStringLiteral("/neu.xml"), "böse");
              }),
              QString());
    EXPECT_EQ(ReadFile(options), "neu");
    EXPECT_EQ(ReadFile(lesson), "meine Lektion");
}

TEST_F(UpdateApply, AFileReplacedTwiceKeepsTheLearnersVersionAndNoOtherFileIsLost)
{
    const QString options = folders.AppData() + QStringLiteral("/Data/Options.xml");
    const QString ownBackup = folders.AppData() + QStringLiteral("/Data/Options.bak");
    const Command first{QStringLiteral("REPLACECOPY"), QStringLiteral("eins.xml"),
                        QStringLiteral("%APPDATA%/Data/Options.xml"), Md5("neu 1")};
    const Command second{QStringLiteral("REPLACECOPY"), QStringLiteral("zwei.xml"),
                         QStringLiteral("%APPDATA%/Data/Options.xml"), Md5("neu 2")};
    const Command failing{QStringLiteral("REPLACECOPY"), QStringLiteral("zwei.xml"),
                          QStringLiteral("%PROGRAMDATA%/fehlt/x"), Md5("neu 2")};
    struct Case
    {
        const char* name;
        std::vector<Command> commands;
        QStringList after;
    };
    const QString data = folders.AppData() + QStringLiteral("/Data/");
    const std::vector<Case> cases = {
        {"applied",
         {first, second},
         {data + QStringLiteral("Options.bak=meins"), data + QStringLiteral("Options.xml=neu 2"),
          data + QStringLiteral("Options_1.bak=alt")}},
        {"rolled back",
         {first, second, failing},
         {data + QStringLiteral("Options.bak=meins"), data + QStringLiteral("Options.xml=alt")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(data + QStringLiteral("Options_1.bak"));
        WriteFile(options, "alt");
        WriteFile(ownBackup, "meins");
        prepare({{QStringLiteral("eins.xml"), "neu 1"}, {QStringLiteral("zwei.xml"), "neu 2"}}, c.commands);
        apply();
        EXPECT_EQ(snapshot().filter(data), c.after);
    }
}

TEST_F(UpdateApply, AsRootTheLearnersFoldersAreChangedWithTheLearnersRights)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only a run as root changes identity";
    // A learner who can reach the installation (a temporary folder is its owner's alone).
    constexpr uid_t learner = 65534;
    const QString base = QFileInfo(folders.AppData()).path();
    ASSERT_EQ(::chmod(QFile::encodeName(base).constData(), 0755), 0);
    for (QString folder = QFileInfo(base).path(); folder != QLatin1String("/"); folder = QFileInfo(folder).path())
        if (!(QFileInfo(folder).permissions() & QFileDevice::ExeOther))
            GTEST_SKIP() << folder.toStdString() << " is closed to other users";
    const auto ownerOf = [](const QString& path) {
        struct stat info = {};
        return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_uid : uid_t(-1);
    };
    const QString data = folders.AppData() + QStringLiteral("/Data");
    const QString options = data + QStringLiteral("/Options.xml");
    const QString outside = folders.Outside();
    struct Case
    {
        const char* name;
        // Done after the check; empty: nothing.
        std::function<void()> afterCheck;
    };
    const std::vector<Case> cases = {
        {"applied", {}},
        // The learner swaps a checked folder for a link to one of root's.
        {"a folder swapped for a link",
         [&] {
             ASSERT_TRUE(QDir().rename(data, data + QStringLiteral(".alt")));
             ASSERT_TRUE(QFile::link(outside, data));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(outside).removeRecursively();
        QDir().mkpath(outside);
        WriteFile(options, "alt");
        prepare({{QStringLiteral("neu.xml"), "neu"}, {QStringLiteral("README"), "liesmich"}},
                {{QStringLiteral("REPLACECOPY"), QStringLiteral("README"), QStringLiteral("%PROGRAMDATA%/README"),
                  Md5("liesmich")},
                 {QStringLiteral("REPLACECOPY"), QStringLiteral("neu.xml"),
                  QStringLiteral("%APPDATA%/Data/Options.xml"), Md5("neu")},
                 {QStringLiteral("CREATEDIR"), QString(), QStringLiteral("%USERDATA%/Neu"), emptyMd5}});
        for (const QString& folder : {folders.AppData(), folders.Documents()}) {
            QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                            QDirIterator::Subdirectories);
            ASSERT_EQ(::lchown(QFile::encodeName(folder).constData(), learner, learner), 0);
            while (it.hasNext())
                ASSERT_EQ(::lchown(QFile::encodeName(it.next()).constData(), learner, learner), 0);
        }
        const QString error = apply(c.afterCheck);
        if (!c.afterCheck) {
            EXPECT_EQ(error, QString());
            EXPECT_EQ(ReadFile(options), "neu");
            EXPECT_EQ(ownerOf(options), learner) << "the learner's file stays the learner's";
            EXPECT_EQ(ownerOf(folders.Documents() + QStringLiteral("/Neu")), learner);
            EXPECT_EQ(ownerOf(folders.Settings()), learner);
            EXPECT_EQ(ownerOf(folders.Program() + QStringLiteral("/README")), 0u) << "the program folder is root's";
        } else {
            EXPECT_TRUE(error.startsWith(QStringLiteral("Schritt 2 des Update-Pakets"))) << error.toStdString();
            EXPECT_EQ(QDir(outside).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList())
                << "root's folder is not written to";
            EXPECT_FALSE(QFileInfo::exists(folders.Program() + QStringLiteral("/README")))
                << "the first step is undone";
            QFile::remove(data);
            QDir().rename(data + QStringLiteral(".alt"), data);
        }
        QFile::remove(folders.Program() + QStringLiteral("/README"));
        QDir(folders.Documents() + QStringLiteral("/Neu")).removeRecursively();
    }
}

} // namespace
