#include "core/QVL_Error.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFolders.h"
#include "tests/support/TestInstallation.h"
#include "users/QVL_Options.h"
#include "users/QVL_Options_Input.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The installed test options (users "Benutzer", units "Lektionen", both
// relative) over a documents folder with those folders, a profile, and a
// folder outside the documents.
class OptionsInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = WriteOptions(folders);
        for (const char* folder : {"/Benutzer", "/Lektionen", "/Eigene Lektionen"})
            QDir().mkpath(folders.Documents() + QLatin1String(folder));
        WriteFile(folders.Documents() + QStringLiteral("/Benutzer/Anna.qxs"), "profile");
        QDir().mkpath(Elsewhere());
        options.Open(path);
    }
    void TearDown() override
    {
        if (options.IsOpen)
            options.CloseFile();
    }
    QString Elsewhere() const { return folders.Root() + QStringLiteral("/Anderswo"); }
    QString Docs() const { return folders.Documents(); }

    TestFolders folders;
    QString path;
    TQVL_Options options;
};

// What a case changes in the input shown for the stored options, and what it must store.
struct Case
{
    const char* What;
    std::function<void(TQVL_Options_Input&, const QString& docs, const QString& elsewhere)> Change;
    // Empty: accepted; otherwise the message, with %D for the documents folder.
    QString Error;
    std::function<void(const TQVL_Options&, const QString& elsewhere)> Expect;
};

} // namespace

TEST_F(OptionsInputTest, EveryFieldIsCheckedAndStoredAsTheLearnerExpects)
{
    using I = TQVL_Options_Input;
    using O = TQVL_Options;
    const Case cases[] = {
        {"users folder below the documents", [](I& i, auto&, auto&) { i.UsersDirectory = QStringLiteral("Lektionen"); },
         {}, [](const O& o, auto&) {
             EXPECT_EQ(o.users_directory, QStringLiteral("Lektionen"));
             EXPECT_TRUE(o.users_directory_relative);
         }},
        {"users folder given absolute", [](I& i, auto&, const QString& e) { i.UsersDirectory = e; }, {},
         [](const O& o, const QString& e) {
             EXPECT_EQ(o.users_directory, e);
             EXPECT_FALSE(o.users_directory_relative);
         }},
        {"users folder nowhere", [](I& i, auto&, auto&) { i.UsersDirectory = QStringLiteral("Nirgends"); },
         QStringLiteral("Benutzerprofil-Verzeichnis \"%D/Nirgends\" nicht gefunden!"), {}},
        {"users folder absolute and missing",
         [](I& i, auto&, const QString& e) { i.UsersDirectory = e + QStringLiteral("/weg"); },
         QStringLiteral("Benutzerprofil-Verzeichnis \"%E/weg\" nicht gefunden!"), {}},
        {"units folder below the documents",
         [](I& i, auto&, auto&) { i.UnitsDirectory = QStringLiteral("Eigene Lektionen"); }, {},
         [](const O& o, auto&) {
             EXPECT_EQ(o.units_directory, QStringLiteral("Eigene Lektionen"));
             EXPECT_TRUE(o.units_directory_relative);
         }},
        {"units folder given absolute", [](I& i, auto&, const QString& e) { i.UnitsDirectory = e; }, {},
         [](const O& o, const QString& e) {
             EXPECT_EQ(o.units_directory, e);
             EXPECT_FALSE(o.units_directory_relative);
         }},
        {"units folder nowhere", [](I& i, auto&, auto&) { i.UnitsDirectory = QStringLiteral("Units"); },
         QStringLiteral("Lektions-Verzeichnis \"%D/Units\" nicht gefunden!"), {}},
        {"a file is no folder", [](I& i, auto&, auto&) { i.UnitsDirectory = QStringLiteral("Benutzer/Anna.qxs"); },
         QStringLiteral("Lektions-Verzeichnis \"%D/Benutzer/Anna.qxs\" nicht gefunden!"), {}},
        {"automatic profile below the documents",
         [](I& i, auto&, auto&) {
             i.Autoload = true;
             i.AutoloadProfile = QStringLiteral("Benutzer/Anna.qxs");
         },
         {}, [](const O& o, auto&) {
             EXPECT_TRUE(o.users_autoload);
             EXPECT_EQ(o.users_autoload_profile, QStringLiteral("Benutzer/Anna.qxs"));
             EXPECT_TRUE(o.users_autoload_profile_relative);
         }},
        {"automatic profile chosen with its full path",
         [](I& i, const QString& d, auto&) {
             i.Autoload = true;
             i.AutoloadProfile = d + QStringLiteral("/Benutzer/Anna.qxs");
         },
         {}, [](const O& o, auto&) {
             EXPECT_TRUE(o.users_autoload_profile.endsWith(QStringLiteral("/Benutzer/Anna.qxs")));
             EXPECT_FALSE(o.users_autoload_profile_relative) << "else the next start would not find it";
         }},
        {"automatic profile missing",
         [](I& i, auto&, auto&) {
             i.Autoload = true;
             i.AutoloadProfile = QStringLiteral("Benutzer/Bernd.qxs");
         },
         QStringLiteral("Benutzerprofil \"Benutzer/Bernd.qxs\" nicht gefunden!"), {}},
        {"a missing profile does not matter without automatic login",
         [](I& i, auto&, auto&) { i.AutoloadProfile = QStringLiteral("Benutzer/Bernd.qxs"); }, {},
         [](const O& o, auto&) {
             EXPECT_FALSE(o.users_autoload);
             EXPECT_EQ(o.users_autoload_profile, QStringLiteral("Benutzer/Bernd.qxs"));
             EXPECT_TRUE(o.users_autoload_profile_relative);
         }},
        {"display times", [](I& i, auto&, auto&) {
             i.PlayQuestionIntervall = QStringLiteral("1500");
             i.PlayAnswerIntervall = QStringLiteral("2500");
         },
         {}, [](const O& o, auto&) {
             EXPECT_EQ(o.play_series_showquestionintervall, 1500);
             EXPECT_EQ(o.play_series_showanswerintervall, 2500);
             EXPECT_EQ(o.play_both_intervall, 3000) << "not shown, not changed";
         }},
        {"one display time with letters", [](I& i, auto&, auto&) {
             i.PlayQuestionIntervall = QStringLiteral("1500");
             i.PlayAnswerIntervall = QStringLiteral("15oo");
         },
         {}, [](const O& o, auto&) {
             EXPECT_EQ(o.play_series_showquestionintervall, 2000);
             EXPECT_EQ(o.play_series_showanswerintervall, 2000);
         }},
        {"an emptied display time", [](I& i, auto&, auto&) { i.PlayAnswerIntervall.clear(); }, {},
         [](const O& o, auto&) { EXPECT_EQ(o.play_series_showanswerintervall, 2000); }},
        {"a display time play mode cannot count",
         [](I& i, auto&, auto&) { i.PlayQuestionIntervall = QStringLiteral("65536"); },
         QStringLiteral("Die Anzeigedauer beim Vorspielen darf höchstens 65535 ms betragen!"), {}},
        {"sync through a folder", [](I& i, auto&, const QString& e) {
             i.SyncFolderMode = true;
             i.SyncFolder = e + QStringLiteral("/");
         },
         {}, [](const O& o, const QString& e) {
             EXPECT_EQ(o.sync_mode, TQVL_Options::SyncFolder);
             EXPECT_EQ(o.sync_folder, e);
             EXPECT_EQ(o.SharedSyncFolder(), e);
         }},
        {"sync switched off keeps the folder for later", [](I& i, auto&, const QString& e) {
             i.SyncFolderMode = false;
             i.SyncFolder = e;
         },
         {}, [](const O& o, const QString& e) {
             EXPECT_EQ(o.sync_mode, TQVL_Options::SyncOff);
             EXPECT_EQ(o.sync_folder, e);
             EXPECT_EQ(o.SharedSyncFolder(), QString());
         }},
        {"sync without a folder", [](I& i, auto&, auto&) { i.SyncFolderMode = true; },
         QStringLiteral("Bitte wählen Sie den Ordner für die Synchronisation!"), {}},
        {"sync folder missing", [](I& i, auto&, const QString& e) {
             i.SyncFolderMode = true;
             i.SyncFolder = e + QStringLiteral("/weg");
         },
         QStringLiteral("Synchronisationsordner \"%E/weg\" nicht gefunden!"), {}},
        {"sync folder named relative", [](I& i, auto&, auto&) {
             i.SyncFolderMode = true;
             i.SyncFolder = QStringLiteral("Lektionen");
         },
         QStringLiteral("Synchronisationsordner \"Lektionen\" nicht gefunden!"), {}},
        {"home language German", [](I& i, auto&, auto&) { i.HomeLanguage = QStringLiteral("Deutsch"); }, {},
         [](const O& o, auto&) { EXPECT_EQ(o.languages_langcode_home, QStringLiteral("ger")); }},
        {"home language English", [](I& i, auto&, auto&) { i.HomeLanguage = QStringLiteral("Englisch"); }, {},
         [](const O& o, auto&) { EXPECT_EQ(o.languages_langcode_home, QStringLiteral("eng")); }},
        {"home language from the code list", [](I& i, auto&, auto&) { i.HomeLanguage = QStringLiteral("fre"); }, {},
         [](const O& o, auto&) { EXPECT_EQ(o.languages_langcode_home, QStringLiteral("fre")); }},
        {"no home language chosen keeps the stored code", [](I& i, auto&, auto&) { i.HomeLanguage.clear(); }, {},
         [](const O& o, auto&) { EXPECT_EQ(o.languages_langcode_home, QStringLiteral("xyz")); }},
        {"flags and delimiter", [](I& i, auto&, auto&) {
             i.UpdatesAutosearch = true;
             i.SoundDisabled = false;
             i.QueryDelimiter = QStringLiteral(",");
         },
         {}, [](const O& o, auto&) {
             EXPECT_TRUE(o.updates_autosearch);
             EXPECT_FALSE(o.sound_disabled);
             EXPECT_EQ(o.query_delimiter, QStringLiteral(","));
         }},
    };
    options.languages_langcode_home = QStringLiteral("xyz");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        options.CloseFile();
        options.Open(path);
        options.languages_langcode_home = QStringLiteral("xyz");
        TQVL_Options_Input input = TQVL_Options_Input::Of(options);
        // Every case also changes a flag: a refused case must leave it as it was.
        input.UpdatesAutosearch = !options.updates_autosearch;
        const bool updatesBefore = options.updates_autosearch;
        c.Change(input, Docs(), Elsewhere());
        const QString error = ErrorOf([&] { input.AssignTo(options, Docs()); });
        if (c.Error.isEmpty()) {
            EXPECT_EQ(error, QString());
            c.Expect(options, Elsewhere());
        } else {
            EXPECT_EQ(error, QString(c.Error).replace(QStringLiteral("%D"), Docs()).replace(QStringLiteral("%E"), Elsewhere()));
            EXPECT_EQ(options.updates_autosearch, updatesBefore) << "nothing changes before every field passed";
            EXPECT_EQ(options.units_directory, QStringLiteral("Lektionen"));
            EXPECT_EQ(options.users_directory, QStringLiteral("Benutzer"));
        }
    }
}

TEST_F(OptionsInputTest, ARelativeFolderIsOnlyLookedForBelowTheDocuments)
{
    // A folder that exists relative to wherever the program was started from
    // would be another one at the next start.
    const QString working = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folders.Root()));
    TQVL_Options_Input input = TQVL_Options_Input::Of(options);
    input.UnitsDirectory = QStringLiteral("Anderswo");
    const QString error = ErrorOf([&] { input.AssignTo(options, Docs()); });
    QDir::setCurrent(working);
    EXPECT_EQ(error, QStringLiteral("Lektions-Verzeichnis \"%1/Anderswo\" nicht gefunden!").arg(Docs()));
}

TEST_F(OptionsInputTest, TheStoredValuesShowAsTheyAreStored)
{
    options.languages_langcode_home = QStringLiteral("eng");
    const TQVL_Options_Input shown = TQVL_Options_Input::Of(options);
    EXPECT_EQ(shown.HomeLanguage, QStringLiteral("Englisch"));
    EXPECT_EQ(shown.UsersDirectory, QStringLiteral("Benutzer"));
    EXPECT_EQ(shown.AutoloadProfile, QStringLiteral("Benutzer/Lernender.qxs"));
    EXPECT_EQ(shown.PlayQuestionIntervall, QStringLiteral("2000"));
    EXPECT_EQ(shown.QueryDelimiter, QStringLiteral(";"));
    // Applied unchanged, nothing changes (the profile of the test options does not exist: no automatic login).
    shown.AssignTo(options, Docs());
    EXPECT_EQ(options.languages_langcode_home, QStringLiteral("eng"));
    EXPECT_EQ(options.users_directory, QStringLiteral("Benutzer"));
    EXPECT_TRUE(options.users_directory_relative);
}

TEST_F(OptionsInputTest, ApplyWritesOnlyWithWriteAccessAndOnlyAfterEveryCheck)
{
    const QByteArray before = ReadFile(path);
    TQVL_Options_Input input = TQVL_Options_Input::Of(options);
    input.SoundDisabled = false;
    EXPECT_EQ(ErrorOf([&] { input.Apply(options, Docs()); }),
              QStringLiteral("Die Programmeinstellungen sind schreibgeschützt und können nicht geändert werden!"));
    EXPECT_TRUE(options.sound_disabled);

    ASSERT_TRUE(options.RequestWriteAccess());
    input.UnitsDirectory = QStringLiteral("Units");
    EXPECT_NE(ErrorOf([&] { input.Apply(options, Docs()); }), QString());
    EXPECT_EQ(ReadFile(path), before) << "a refused field writes nothing";
    EXPECT_TRUE(options.WriteAccess) << "the dialog stays open and may try again";

    input.UnitsDirectory = QStringLiteral("Eigene Lektionen");
    input.Apply(options, Docs());
    EXPECT_FALSE(options.WriteAccess);
    TQVL_Options reread;
    reread.Open(path);
    EXPECT_FALSE(reread.sound_disabled);
    EXPECT_EQ(reread.units_directory, QStringLiteral("Eigene Lektionen"));
    EXPECT_EQ(reread.play_both_intervall, 3000);
    reread.CloseFile();
}

TEST_F(OptionsInputTest, AFailedSavePutsThePreviousValuesBack)
{
    ASSERT_TRUE(options.RequestWriteAccess());
    // A folder where the file was makes the rename of the save fail.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/x")));
    TQVL_Options_Input input = TQVL_Options_Input::Of(options);
    input.UnitsDirectory = QStringLiteral("Eigene Lektionen");
    input.SoundDisabled = false;
    EXPECT_NE(ErrorOf([&] { input.Apply(options, Docs()); }), QString());
    EXPECT_EQ(options.units_directory, QStringLiteral("Lektionen"));
    EXPECT_TRUE(options.units_directory_relative);
    EXPECT_TRUE(options.sound_disabled);
}
