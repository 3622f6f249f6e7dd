#include "core/QVL_Error.h"
#include "query/QVL_ReviewLog.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFolders.h"
#include "users/QVL_DeviceId.h"
#include "users/QVL_Options.h"

#include <gtest/gtest.h>

namespace {

const QByteArray complete =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>1</version>\r\n"
    "  <community_url>https://example.org/community</community_url>\r\n"
    "  <sound_disabled>false</sound_disabled>\r\n"
    "  <updates_autosearch>true</updates_autosearch>\r\n"
    "  <languages_langcode_home>ger</languages_langcode_home>\r\n"
    "  <programfiles_readonly>false</programfiles_readonly>\r\n"
    "  <userfiles_readonly>true</userfiles_readonly>\r\n"
    "  <users>\r\n    <directory>Benutzer</directory>\r\n    <directory_relative>true</directory_relative>\r\n"
    "    <autoload>false</autoload>\r\n    <autoload_profile>/abs/Anna.qxs</autoload_profile>\r\n"
    "    <autoload_profile_relative>false</autoload_profile_relative>\r\n"
    "    <select_showpath>true</select_showpath>\r\n  </users>\r\n"
    "  <units>\r\n    <directory>Units</directory>\r\n    <directory_relative>true</directory_relative>\r\n"
    "  </units>\r\n  <play>\r\n    <both_intervall>3000</both_intervall>\r\n"
    "    <series_showquestionintervall>2000</series_showquestionintervall>\r\n"
    "    <series_showanswerintervall>2500</series_showanswerintervall>\r\n  </play>\r\n"
    "  <query>\r\n    <delimiter>;</delimiter>\r\n  </query>\r\n</root>\r\n";

class OptionsTest : public ::testing::Test
{
protected:
    QString write(const QByteArray& content)
    {
        const QString name = folders.Root() + QStringLiteral("/Options.xml");
        WriteFile(name, content);
        return name;
    }
    QString openError(const QByteArray& content)
    {
        TQVL_Options options;
        return OpenError(options, write(content));
    }

    TestFolders folders;
};

} // namespace

TEST_F(OptionsTest, LoadsEverySettingAndWritesTheFileAgainUnchanged)
{
    const QString name = write(complete);
    TQVL_Options options;
    options.Open(name);
    EXPECT_EQ(options.community_url, QStringLiteral("https://example.org/community"));
    EXPECT_FALSE(options.sound_disabled);
    EXPECT_TRUE(options.updates_autosearch);
    EXPECT_EQ(options.languages_langcode_home, QStringLiteral("ger"));
    EXPECT_TRUE(options.userfiles_readonly);
    EXPECT_EQ(options.users_directory, QStringLiteral("Benutzer"));
    EXPECT_TRUE(options.users_select_showpath);
    EXPECT_EQ(options.play_series_showanswerintervall, 2500);
    EXPECT_EQ(options.Delimiter(), QLatin1Char(';'));
    ASSERT_TRUE(options.RequestWriteAccess());
    options.Save();
    options.CloseFile();
    EXPECT_EQ(ReadFile(name), complete);
}

TEST_F(OptionsTest, OptionalElementsMayBeMissing)
{
    QByteArray content = complete;
    for (const char* element : {"community_url", "sound_disabled", "updates_autosearch", "languages_langcode_home"})
        content = WithoutElement(content, element);
    const QString name = write(content);
    TQVL_Options options;
    options.Open(name);
    EXPECT_FALSE(options.sound_disabled) << "sound is on";
    EXPECT_FALSE(options.updates_autosearch);
    EXPECT_TRUE(options.languages_langcode_home.isEmpty());
    options.RequestWriteAccess();
    options.Save();
    options.CloseFile();
    EXPECT_TRUE(ReadFile(name).contains("<community_url/>")) << "a save writes every element";
}

TEST_F(OptionsTest, InvalidFilesAreRefusedWithTheFileName)
{
    const QString invalid =
        QStringLiteral("Die Datei \"%1\" ist keine gültige Einstellungsdatei!").arg(folders.Root() + QStringLiteral("/Options.xml"));
    const QByteArray cases[] = {
        WithoutElement(complete, "programfiles_readonly"),
        WithoutElement(complete, "directory_relative"),
        WithoutElement(complete, "users"),
        WithoutElement(complete, "play"),
        WithoutElement(complete, "query"),
        WithoutElement(complete, "series_showanswerintervall"),
        QByteArray(complete).replace("<both_intervall>3000", "<both_intervall>drei"),
        QByteArray(complete).replace("<both_intervall>3000", "<both_intervall>"),
    };
    for (const QByteArray& content : cases)
        EXPECT_EQ(openError(content), invalid) << content.constData();
    const QString version2 = openError(QByteArray(complete).replace("<version>1</version>", "<version>2</version>"));
    EXPECT_TRUE(version2.startsWith(QStringLiteral("Fehler beim Lesen der Datei \"")) &&
                version2.endsWith(QStringLiteral(".xml\"!\rVersion 2 wird nicht unterstützt!")))
        << version2.toStdString();
}

TEST_F(OptionsTest, ValueRules)
{
    const QString name = write(QByteArray(complete)
                                   .replace("<sound_disabled>false", "<sound_disabled>TRUE")
                                   .replace("<delimiter>;</delimiter>", "<delimiter>;</delimiter><delimiter>|/</delimiter>"));
    TQVL_Options options;
    options.Open(name);
    EXPECT_FALSE(options.sound_disabled) << "only the exact text true counts";
    EXPECT_EQ(options.query_delimiter, QStringLiteral("|/")) << "of two elements, the last";
    EXPECT_EQ(options.Delimiter(), QLatin1Char('|')) << "only the first character separates";
}

TEST_F(OptionsTest, FoldersResolveAgainstTheDocumentsFolder)
{
    TQVL_Options options;
    const QString docs = QStringLiteral("/home/anna/Dokumente/Quorvel 8");
    options.units_directory = QStringLiteral("Units");
    options.units_directory_relative = true;
    EXPECT_EQ(options.UnitsFolder(docs), docs + QStringLiteral("/Units"));
    EXPECT_EQ(options.UnitsFolder(docs, QStringLiteral("/data/meine")), QStringLiteral("/data/meine"));
    options.units_directory_relative = false;
    options.units_directory = QStringLiteral("/srv/units");
    EXPECT_EQ(options.UnitsFolder(docs), QStringLiteral("/srv/units"));

    options.users_directory = QStringLiteral("Benutzer");
    options.users_directory_relative = true;
    EXPECT_EQ(options.UsersFolder(docs), docs + QStringLiteral("/Benutzer"));
    options.users_autoload_profile = QStringLiteral("/abs/Anna.qxs");
    EXPECT_EQ(options.AutoloadProfile(docs), QStringLiteral("/abs/Anna.qxs"));
    options.users_autoload_profile_relative = true;
    options.users_autoload_profile = QStringLiteral("Benutzer/Anna.qxs");
    EXPECT_EQ(options.AutoloadProfile(docs), docs + QStringLiteral("/Benutzer/Anna.qxs"));
}

TEST_F(OptionsTest, DeviceIdIsMadeOnceAndKeptInTheSettings)
{
    const QString name = write(complete);
    TQVL_Options options;
    options.Open(name);
    EXPECT_TRUE(options.device_id.isEmpty());
    quint32 next = 0xa0;
    const auto counter = [&next] { return next++; };
    const QString id = TQVL_DeviceId::Ensure(options, counter);
    EXPECT_EQ(id, QStringLiteral("000000a0000000a1000000a2000000a3"));
    EXPECT_FALSE(options.WriteAccess) << "the settings are let go again";
    EXPECT_EQ(TQVL_DeviceId::Ensure(options, counter), id) << "made only once";
    options.CloseFile();
    EXPECT_EQ(ReadFile(name), QByteArray(complete).replace(
                                  "</root>", "  <device_id>000000a0000000a1000000a2000000a3</device_id>\r\n</root>"));

    TQVL_Options again;
    again.Open(name);
    EXPECT_EQ(TQVL_DeviceId::Ensure(again, counter), id) << "read back in the next run";
    EXPECT_EQ(next, 0xa4u);
}

TEST_F(OptionsTest, DeviceIdOfSettingsThatCannotBeWrittenLivesForTheRun)
{
    const QByteArray cases[] = {
        QByteArray(complete),
        QByteArray(complete).replace("</root>", "  <device_id>kein-gueltiger-wert</device_id>\r\n</root>"),
    };
    for (const QByteArray& content : cases) {
        const QString name = write(content);
        TQVL_Options options;
        options.Open(name);
        // Another program instance edits the settings.
        TQVL_Options other;
        other.Open(name);
        ASSERT_TRUE(other.RequestWriteAccess());
        const QString id = TQVL_DeviceId::Ensure(options);
        EXPECT_TRUE(TQVL_ReviewLog::IsDeviceId(id)) << id.toStdString();
        EXPECT_EQ(TQVL_DeviceId::Ensure(options), id) << "the same id for the whole run";
        EXPECT_NE(TQVL_DeviceId::Ensure(other), id) << "the other instance is another run";
        EXPECT_EQ(ReadFile(name).contains(id.toLatin1()), false);
        other.CloseFile();
        options.CloseFile();
    }
}

TEST_F(OptionsTest, TheHiddenOverviewIsStoredOnlyWhenHidden)
{
    const QString name = write(complete);
    TQVL_Options options;
    options.Open(name);
    EXPECT_FALSE(options.mainmenu_overview_hidden) << "a file from before the overview shows it";
    ASSERT_TRUE(options.RequestWriteAccess());
    options.mainmenu_overview_hidden = true;
    options.Save();
    options.CloseFile();
    const QByteArray hidden = ReadFile(name);
    EXPECT_TRUE(hidden.contains("<mainmenu_overview_hidden>true</mainmenu_overview_hidden>"));

    TQVL_Options again;
    again.Open(name);
    EXPECT_TRUE(again.mainmenu_overview_hidden);
    ASSERT_TRUE(again.RequestWriteAccess());
    again.mainmenu_overview_hidden = false;
    again.Save();
    again.CloseFile();
    EXPECT_EQ(ReadFile(name), complete) << "shown again, the file is the old one byte for byte";
}

TEST_F(OptionsTest, SyncIsOffWithoutItsElementAndAnUnknownModeStaysAsWritten)
{
    const QString name = write(complete);
    TQVL_Options options;
    options.Open(name);
    EXPECT_EQ(options.SharedSyncFolder(), QString()) << "a file from before sync leaves it off";
    ASSERT_TRUE(options.RequestWriteAccess());
    options.sync_mode = TQVL_Options::SyncFolder;
    options.sync_folder = QStringLiteral("/home/anna/Cloud/Quorvel");
    options.Save();
    options.CloseFile();
    EXPECT_TRUE(ReadFile(name).contains("<sync>\r\n    <mode>folder</mode>\r\n    <folder>/home/anna/Cloud/Quorvel</folder>"));

    TQVL_Options again;
    again.Open(name);
    EXPECT_EQ(again.SharedSyncFolder(), QStringLiteral("/home/anna/Cloud/Quorvel"));
    again.CloseFile();

    // A mode of a later version is not ours to run, nor to drop.
    const QString later = write(QByteArray(complete).replace(
        "</root>", "  <sync>\r\n    <mode>webdav</mode>\r\n    <folder></folder>\r\n  </sync>\r\n</root>"));
    TQVL_Options future;
    future.Open(later);
    EXPECT_EQ(future.SharedSyncFolder(), QString());
    ASSERT_TRUE(future.RequestWriteAccess());
    future.Save();
    future.CloseFile();
    EXPECT_TRUE(ReadFile(later).contains("<mode>webdav</mode>"));
}
