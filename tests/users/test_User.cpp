#include "core/QVL_Error.h"
#include "core/QVL_Notices.h"
#include "core/QVL_SafeFile.h"
#include "core/QVL_XML.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFolders.h"
#include "users/QVL_Options.h"
#include "users/QVL_PasswordHash.h"
#include "users/QVL_StorageSettings.h"
#include "users/QVL_User.h"
#include "users/QVL_User_Rights.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>

namespace {

const QString installedProfile = QStringLiteral(QUORVEL_DATA "/documents/Benutzer/Lernender.qxs");
// The identity the installed profile carries on every machine.
const QString installedUid = QStringLiteral("{2BDF4779-51FB-434F-A27D-7D4579F504F5}");

// A profile as the program writes it: every header value set, rights
// alternating, one unit with one query and one card.
const QByteArray anna =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>1</version>\r\n"
    "  <header>\r\n"
    "    <uid>{11111111-2222-4333-8444-555555555555}</uid>\r\n"
    "    <name>Anna &lt;Müller&gt;</name>\r\n"
    "    <icon>1</icon>\r\n"
    "    <lastlogin>09.03.2024 18:00:05</lastlogin>\r\n"
    "    <alltimequeryseconds>3725</alltimequeryseconds>\r\n"
    "    <password>e8636ea013e682faf61f56ce1cb1ab5c</password>\r\n"
    "    <units_directory>/home/anna/Meine Lektionen</units_directory>\r\n"
    "  </header>\r\n"
    "  <rights>\r\n"
    "    <PRINT>true</PRINT>\r\n"
    "    <USERPROFILES_DELETE>false</USERPROFILES_DELETE>\r\n"
    "    <INTERNET>true</INTERNET>\r\n"
    "    <LANGUAGES_NEW>false</LANGUAGES_NEW>\r\n"
    "    <UNITS_NEW>true</UNITS_NEW>\r\n"
    "    <QUERY_OPTIONS>false</QUERY_OPTIONS>\r\n"
    "    <USERPROFILES_EDIT_RESULTS>true</USERPROFILES_EDIT_RESULTS>\r\n"
    "    <USERPROFILES_EDIT_SELF>false</USERPROFILES_EDIT_SELF>\r\n"
    "    <USERPROFILES_EDIT_SELT_RIGHTS>true</USERPROFILES_EDIT_SELT_RIGHTS>\r\n"
    "    <PROGRAM_OPTIONS_EDIT>false</PROGRAM_OPTIONS_EDIT>\r\n"
    "    <LANGUAGES_DELETE>true</LANGUAGES_DELETE>\r\n"
    "    <QUERY_SELFASSESSMENT>false</QUERY_SELFASSESSMENT>\r\n"
    "    <LANGUAGES_EDIT>true</LANGUAGES_EDIT>\r\n"
    "    <UNITS_EDIT>false</UNITS_EDIT>\r\n"
    "    <USERPROFILES_NEW>true</USERPROFILES_NEW>\r\n"
    "    <PROGRAM_UPDATES>false</PROGRAM_UPDATES>\r\n"
    "    <USERPROFILES_EDIT_OTHER>true</USERPROFILES_EDIT_OTHER>\r\n"
    "  </rights>\r\n"
    "  <results>\r\n"
    "    <lastdeletion_date>30.12.1899</lastdeletion_date>\r\n"
    "    <units>\r\n"
    "      <unit>\r\n"
    "        <last_queried>2</last_queried>\r\n"
    "        <last_right>1</last_right>\r\n"
    "        <all_queried>2</all_queried>\r\n"
    "        <all_right>1</all_right>\r\n"
    "        <unit_uid>{AAAAAAAA-0000-4000-8000-000000000001}</unit_uid>\r\n"
    "        <unit_lastknownfilename>/home/anna/Meine Lektionen/Tiere.qxu</unit_lastknownfilename>\r\n"
    "        <lastquerydate>09.03.2024 18:10:00</lastquerydate>\r\n"
    "        <longtermstorage>false</longtermstorage>\r\n"
    "        <queries>\r\n"
    "          <query>\r\n"
    "            <datetime>09.03.2024 18:10:00</datetime>\r\n"
    "            <duration>65</duration>\r\n"
    "            <queried>2</queried>\r\n"
    "            <right>1</right>\r\n"
    "            <selfevaluation>false</selfevaluation>\r\n"
    "          </query>\r\n"
    "        </queries>\r\n"
    "        <cards>\r\n"
    "          <card>\r\n"
    "            <card_uid>3</card_uid>\r\n"
    "            <pointvalue>10</pointvalue>\r\n"
    "            <lastquery>09.03.2024 18:10:00</lastquery>\r\n"
    "            <stage>0</stage>\r\n"
    "            <last_queried>2</last_queried>\r\n"
    "            <last_right>1</last_right>\r\n"
    "            <all_queried>2</all_queried>\r\n"
    "            <all_right>1</all_right>\r\n"
    "          </card>\r\n"
    "        </cards>\r\n"
    "      </unit>\r\n"
    "    </units>\r\n"
    "  </results>\r\n"
    "</root>\r\n";

class UserTest : public ::testing::Test
{
protected:
    void SetUp() override { setNow(QDateTime(QDate(2024, 3, 10), QTime(9, 30, 15))); }
    void TearDown() override { TQVL_DateTime::SetClock({}); }

    static void setNow(const QDateTime& now)
    {
        TQVL_DateTime::SetClock([now] { return now; });
    }

    QString path(const QString& name) const { return folders.Root() + QLatin1Char('/') + name; }

    // A profile file with a matching ".crc" companion, as the program leaves it.
    QString writeGuarded(const QString& name, const QByteArray& content) { return WriteGuarded(path(name), content); }

    TestFolders folders;
};

} // namespace

TEST_F(UserTest, ReadsEveryValueAndWritesTheFileAgainUnchanged)
{
    const QString name = writeGuarded(QStringLiteral("Anna.qxs"), anna);
    TQVL_User user;
    EXPECT_TRUE(user.IntegrityGuard);
    user.Open(name);
    EXPECT_EQ(user.Uid, QStringLiteral("{11111111-2222-4333-8444-555555555555}"));
    EXPECT_EQ(user.name, QStringLiteral("Anna <Müller>"));
    EXPECT_EQ(user.icon, 1);
    EXPECT_EQ(user.lastlogin, TQVL_DateTime::FromParts(2024, 3, 9, 18, 0, 5));
    EXPECT_EQ(user.alltimequeryseconds, 3725);
    EXPECT_EQ(user.password, QStringLiteral("e8636ea013e682faf61f56ce1cb1ab5c"));
    EXPECT_EQ(user.units_directory, QStringLiteral("/home/anna/Meine Lektionen"));
    const auto& table = TQVL_User_Rights::Table();
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(user.Rights().*table[i].Flag, i % 2 == 0) << table[i].Name;
    ASSERT_EQ(user.Results().UnitCount(), 1);
    EXPECT_EQ(user.Results().Unit(0).FindCard(3)->pointvalue, 10);
    EXPECT_FALSE(user.IsLoggedIn());
    EXPECT_FALSE(user.WriteAccess);

    ASSERT_TRUE(user.RequestWriteAccess());
    user.Save();
    user.CloseFile();
    EXPECT_EQ(ReadFile(name), anna);
    EXPECT_EQ(ReadFile(TQVL_FileObject::ChecksumFileName(name)), TQVL_FileObject::Checksum(anna) + "\r\n");

    // Read from a tag tree and written into one, it gives the same bytes as through the file.
    TQVL_XML document;
    document.LoadFromBytes(anna);
    TQVL_User fromTree;
    fromTree.LoadFromXML(*document.Root);
    TQVL_XML written;
    written.Version = 1;
    fromTree.SaveToXML(*written.Root);
    EXPECT_EQ(written.SaveToBytes(), anna);
}

TEST_F(UserTest, ANewProfileHasAllRightsAndNoHistory)
{
    TQVL_User user;
    user.ResetToNewProfile(QStringLiteral("Neu"));
    user.NewFile(path(QStringLiteral("Neu.qxs")));
    user.CloseFile();

    const QByteArray written = ReadFile(path(QStringLiteral("Neu.qxs")));
    EXPECT_TRUE(written.contains("    <lastlogin>30.12.1899</lastlogin>\r\n")) << "day 0 has no time part";
    EXPECT_TRUE(written.contains("    <password/>\r\n    <units_directory/>\r\n  </header>\r\n"));
    EXPECT_TRUE(written.contains("  <results>\r\n    <lastdeletion_date>30.12.1899</lastdeletion_date>\r\n"
                                 "    <units/>\r\n  </results>\r\n</root>\r\n"));
    EXPECT_EQ(written.count("true</"), 17);

    TQVL_User again;
    again.Open(path(QStringLiteral("Neu.qxs")));
    EXPECT_EQ(again.Uid, user.Uid);
    EXPECT_EQ(again.name, QStringLiteral("Neu"));
    EXPECT_TRUE(again.lastlogin.IsEmpty());
    EXPECT_FALSE(again.HasPassword());
    TQVL_User_Rights all;
    all.SetAll(true);
    EXPECT_EQ(again.Rights(), all);
    again.CloseFile();
}

TEST_F(UserTest, InvalidProfilesAreRefusedAndLeftAlone)
{
    const QString name = path(QStringLiteral("Kaputt.qxs"));
    const QString invalid = QStringLiteral("Die Datei \"%1\" ist kein gültiges Benutzerprofil!").arg(name);
    const QByteArray cases[] = {
        WithoutElement(anna, "header"),
        WithoutElement(anna, "uid"),
        WithoutElement(anna, "name"),
        WithoutElement(anna, "icon"),
        WithoutElement(anna, "lastlogin"),
        WithoutElement(anna, "alltimequeryseconds"),
        WithoutElement(anna, "password"),
        WithoutElement(anna, "units_directory"),
        WithoutElement(anna, "rights"),
        WithoutElement(anna, "PRINT"),
        WithoutElement(anna, "USERPROFILES_EDIT_SELT_RIGHTS"),
        WithoutElement(anna, "USERPROFILES_EDIT_OTHER"),
        WithoutElement(anna, "results"),
        WithoutElement(anna, "cards"),
        QByteArray(anna).replace("<icon>1", "<icon>eins"),
        QByteArray(anna).replace("<alltimequeryseconds>3725", "<alltimequeryseconds>"),
        QByteArray(anna).replace("<lastlogin>09.03.2024 18:00:05", "<lastlogin>gestern"),
        QByteArray(anna).replace("<stage>0", "<stage>0.5"),
    };
    for (const QByteArray& content : cases) {
        writeGuarded(QStringLiteral("Kaputt.qxs"), content);
        TQVL_User user;
        user.name = QStringLiteral("vorher");
        EXPECT_EQ(ErrorOf([&] { user.Open(name); }), invalid) << content.constData();
        EXPECT_FALSE(user.IsOpen);
        EXPECT_EQ(user.name, QStringLiteral("vorher")) << "nothing of a broken file is taken over";
        EXPECT_EQ(user.Results().UnitCount(), 0);
        EXPECT_EQ(ReadFile(name), content);
    }

    // Deleting the rights outside the program: the guard speaks first.
    WriteFile(name, WithoutElement(anna, "rights"));
    TQVL_User user;
    EXPECT_EQ(ErrorOf([&] { user.Open(name); }),
              QStringLiteral("Die Datei \"%1\" wurde nachträglich manipuliert und kann aus Sicherheitsgründen nicht "
                             "geöffnet werden!")
                  .arg(name));
    user.IntegrityGuard = false;
    EXPECT_EQ(ErrorOf([&] { user.Open(name); }), invalid);
}

TEST_F(UserTest, OnlyTheExactTextTrueGrantsARight)
{
    const QString name = writeGuarded(QStringLiteral("Anna.qxs"), QByteArray(anna)
                                                                      .replace("<PRINT>true", "<PRINT>True")
                                                                      .replace("<INTERNET>true", "<INTERNET>1")
                                                                      .replace("<UNITS_NEW>true", "<UNITS_NEW> true"));
    TQVL_User user;
    user.Open(name);
    EXPECT_FALSE(user.Rights().PRINT);
    EXPECT_FALSE(user.Rights().INTERNET);
    EXPECT_FALSE(user.Rights().UNITS_NEW);
    EXPECT_TRUE(user.Rights().USERPROFILES_EDIT_OTHER);
    user.CloseFile();
}

TEST_F(UserTest, LogoutStoresTheLoginTimeAndEverythingChanged)
{
    TQVL_User user;
    user.ResetToNewProfile(QStringLiteral("Bert"));
    user.NewFile(path(QStringLiteral("Bert.qxs")));
    user.CloseFile();

    user.Open(path(QStringLiteral("Bert.qxs")));
    user.Login();
    EXPECT_TRUE(user.IsLoggedIn());
    EXPECT_EQ(user.lastlogin, TQVL_DateTime::FromParts(2024, 3, 10, 9, 30, 15));
    EXPECT_EQ(ErrorOf([&] { user.Login(); }), QStringLiteral("User already logged in"));
    user.alltimequeryseconds += 90;
    user.Results().GetOrCreateUnit(QStringLiteral("{U}")).AddQuery(90, 3, false, 2, TQVL_DateTime::Now());
    user.Close();
    EXPECT_FALSE(user.IsOpen);
    EXPECT_FALSE(user.IsLoggedIn());

    TQVL_User again;
    again.Open(path(QStringLiteral("Bert.qxs")));
    EXPECT_EQ(again.lastlogin, TQVL_DateTime::FromParts(2024, 3, 10, 9, 30, 15));
    EXPECT_EQ(again.alltimequeryseconds, 90);
    EXPECT_EQ(again.Results().DurationOnDay(TQVL_DateTime::Now()), 90);
    EXPECT_EQ(ErrorOf([&] { again.LogOut(); }), QStringLiteral("User is not logged in"));
    again.Close();
    EXPECT_FALSE(again.IsOpen);
}

TEST_F(UserTest, ReadOnlyUserFilesAreNotWrittenAtLogout)
{
    const QString name = writeGuarded(QStringLiteral("Anna.qxs"), anna);
    TQVL_Options options;
    options.userfiles_readonly = true;
    TQVL_User user;
    user.Options = &options;
    user.Open(name);
    user.Login();
    user.alltimequeryseconds = 0;
    user.Close();
    EXPECT_EQ(ReadFile(name), anna) << "the previous lastlogin stays";
}

TEST_F(UserTest, ASecondInstanceOnTheSameProfileWorksReadOnlyAndNeverOverwrites)
{
    QStringList notices;
    const auto previous = TQVL_Notices::Install([&](const QString& text) { notices << text; });
    const QString name = writeGuarded(QStringLiteral("Anna.qxs"), anna);
    // Two program instances: each its own profile object on the same file.
    TQVL_User first;
    first.Open(name);
    first.Login();
    EXPECT_FALSE(first.IsReadOnlySession());
    EXPECT_TRUE(first.WriteAccess) << "the session holds the lock from login on";

    TQVL_User second;
    second.Open(name);
    second.Login();
    EXPECT_TRUE(second.IsReadOnlySession());
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].contains(QStringLiteral("\"Anna.qxs\""))) << notices[0].toStdString();
    EXPECT_TRUE(notices[0].contains(QStringLiteral("nur gelesen")));

    // The first one stores a query and lets go of write access as a query does: the lock stays.
    first.Results().GetOrCreateUnit(QStringLiteral("{ERSTE}")).AddQuery(60, 5, false, 4, TQVL_DateTime::Now());
    ASSERT_TRUE(first.RequestWriteAccess());
    first.Save();
    EXPECT_TRUE(first.ReleaseWriteAccess());
    EXPECT_TRUE(first.WriteAccess);
    EXPECT_FALSE(second.RequestWriteAccess()) << "the gap between two queries is no chance for the second";

    second.Results().GetOrCreateUnit(QStringLiteral("{ZWEITE}")).AddQuery(60, 5, false, 4, TQVL_DateTime::Now());
    EXPECT_EQ(ErrorOf([&] { second.Save(); }), QStringLiteral("Datei ist schreibgeschützt!"));
    first.Close();
    EXPECT_FALSE(second.RequestWriteAccess()) << "its copy is stale: not even after the first one ended";
    EXPECT_EQ(ErrorOf([&] { second.Close(); }), QString()) << "told at login, no error at the end";

    TQVL_User check;
    check.Open(name);
    EXPECT_NE(check.Results().FindUnit(QStringLiteral("{ERSTE}")), nullptr) << "the first one's results are kept";
    EXPECT_EQ(check.Results().FindUnit(QStringLiteral("{ZWEITE}")), nullptr);
    EXPECT_EQ(check.lastlogin, TQVL_DateTime::FromParts(2024, 3, 10, 9, 30, 15));
    check.CloseFile();
    TQVL_Notices::Install(previous);
}

TEST_F(UserTest, ALoginReadsAProfileThatAnotherInstanceSavedSinceItWasOpened)
{
    QStringList notices;
    const auto previous = TQVL_Notices::Install([&](const QString& text) { notices << text; });
    const QString name = writeGuarded(QStringLiteral("Anna.qxs"), anna);
    TQVL_User late;
    late.Open(name);
    {
        // The other instance's whole session falls between the open and the login of this one.
        setNow(QDateTime(QDate(2024, 3, 10), QTime(8, 0)));
        TQVL_User other;
        other.Open(name);
        other.Login();
        other.alltimequeryseconds += 600;
        other.Results().GetOrCreateUnit(QStringLiteral("{ANDERE}")).AddQuery(600, 5, false, 4, TQVL_DateTime::Now());
        other.Close();
    }
    setNow(QDateTime(QDate(2024, 3, 10), QTime(9, 30, 15)));
    late.Login();
    EXPECT_FALSE(late.IsReadOnlySession());
    EXPECT_EQ(late.alltimequeryseconds, 3725 + 600);
    EXPECT_NE(late.Results().FindUnit(QStringLiteral("{ANDERE}")), nullptr);
    EXPECT_EQ(late.lastlogin, TQVL_DateTime::FromParts(2024, 3, 10, 9, 30, 15)) << "this login, not the one read";
    late.Results().GetOrCreateUnit(QStringLiteral("{SPAETER}")).AddQuery(60, 5, false, 4, TQVL_DateTime::Now());
    late.Close();
    TQVL_Notices::Install(previous);
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].contains(QStringLiteral("neu eingelesen"))) << notices[0].toStdString();

    TQVL_User check;
    check.Open(name);
    EXPECT_NE(check.Results().FindUnit(QStringLiteral("{ANDERE}")), nullptr) << "the other session's results stay";
    EXPECT_NE(check.Results().FindUnit(QStringLiteral("{SPAETER}")), nullptr);
    EXPECT_EQ(check.alltimequeryseconds, 3725 + 600);
    EXPECT_EQ(check.lastlogin, TQVL_DateTime::FromParts(2024, 3, 10, 9, 30, 15));
    check.CloseFile();
}

TEST_F(UserTest, TheSessionLockKeepsTheSessionsResultsWhateverTouchesTheFileMeanwhile)
{
    const QString name = writeGuarded(QStringLiteral("Anna.qxs"), anna);
    TQVL_User user;
    user.Open(name);
    user.Login();
    user.Results().GetOrCreateUnit(QStringLiteral("{SITZUNG}")).AddQuery(60, 5, false, 4, TQVL_DateTime::Now());
    // A backup tool that restores the time stamp: the lock kept every writer out, so nothing is read back.
    const timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(name).constData(), times, 0), 0);
    user.Close();

    TQVL_User check;
    check.Open(name);
    EXPECT_NE(check.Results().FindUnit(QStringLiteral("{SITZUNG}")), nullptr);
    check.CloseFile();
}

TEST_F(UserTest, AReadOnlyProfileFileGivesAReadOnlySession)
{
    const QString name = writeGuarded(QStringLiteral("Anna.qxs"), anna);
    QFile::setPermissions(name, QFile::ReadOwner | QFile::ReadGroup);
    TQVL_User user;
    user.Open(name);
    user.Login();
    EXPECT_TRUE(user.IsReadOnlySession());
    EXPECT_EQ(ErrorOf([&] { user.Close(); }), QString());
    EXPECT_EQ(ReadFile(name), anna);
}

TEST_F(UserTest, PasswordsAreStoredAsSaltedArgon2id)
{
    const QString russian = QStringLiteral("Пароль");
    const QString stored = TQVL_User::PasswordDigest(russian);
    EXPECT_TRUE(stored.startsWith(QStringLiteral("$argon2id$"))) << stored.toStdString();
    EXPECT_NE(TQVL_User::PasswordDigest(russian), stored) << "salted: the same password never gives the same text";
    EXPECT_TRUE(TQVL_User::PasswordMatches(stored, russian));
    // The old digest saw "??????" for each of these.
    for (const QString& other : {QStringLiteral("Пароли"), QStringLiteral("Собака"), QStringLiteral("??????"),
                                 QStringLiteral("пароль"), QString()})
        EXPECT_FALSE(TQVL_User::PasswordMatches(stored, other)) << other.toStdString();

    // A stored text from an edited file that would cost gigabytes is refused, not computed.
    QString greedy = stored;
    greedy.replace(QRegularExpression(QStringLiteral("m=\\d+")), QStringLiteral("m=4194304"));
    EXPECT_FALSE(TQVL_User::PasswordMatches(greedy, russian));
}

TEST_F(UserTest, AnOldMd5DigestStillOpensAndIsReplacedAtTheNextSave)
{
    // "geheim", as earlier versions stored it.
    const QString name = writeGuarded(QStringLiteral("Anna.qxs"), anna);
    TQVL_User user;
    user.Open(name);
    EXPECT_TRUE(user.CheckPassword(QStringLiteral("geheim")));
    EXPECT_FALSE(user.CheckPassword(QStringLiteral("Geheim")));
    user.UpgradePassword(QStringLiteral("falsch"));
    EXPECT_EQ(user.password, QStringLiteral("e8636ea013e682faf61f56ce1cb1ab5c")) << "a wrong password upgrades nothing";
    user.Login();
    user.UpgradePassword(QStringLiteral("geheim"));
    user.Close();
    const QByteArray saved = ReadFile(name);
    EXPECT_FALSE(saved.contains("e8636ea013e682faf61f56ce1cb1ab5c"));
    EXPECT_TRUE(saved.contains("<password>$argon2id$"));
    TQVL_User again;
    again.Open(name);
    EXPECT_TRUE(again.CheckPassword(QStringLiteral("geheim")));
    again.CloseFile();

    // An old digest of a password outside Latin-1 matches any text of its length: it stays as it was.
    TQVL_User cyrillic;
    cyrillic.password = TQVL_PasswordHash::LegacyDigest(QStringLiteral("Пароль"));
    EXPECT_TRUE(cyrillic.CheckPassword(QStringLiteral("Собака"))) << "compared as before";
    cyrillic.UpgradePassword(QStringLiteral("Собака"));
    EXPECT_TRUE(TQVL_PasswordHash::IsLegacy(cyrillic.password));
}

TEST_F(UserTest, PasswordDigests)
{
    EXPECT_EQ(TQVL_PasswordHash::LegacyDigest(QStringLiteral("geheim")), QStringLiteral("e8636ea013e682faf61f56ce1cb1ab5c"));
    // The earlier form hashed the 8-bit text: one byte per umlaut.
    EXPECT_EQ(TQVL_PasswordHash::LegacyDigest(QStringLiteral("äöü")), QStringLiteral("768a58510fb1546c8fe8b443dee45b37"));

    TQVL_User user;
    EXPECT_FALSE(user.HasPassword());
    user.SetPassword(QStringLiteral("geheim"));
    EXPECT_TRUE(user.HasPassword());
    EXPECT_TRUE(user.CheckPassword(QStringLiteral("geheim")));
    EXPECT_FALSE(user.CheckPassword(QStringLiteral("Geheim")));
    EXPECT_FALSE(user.CheckPassword(QString()));
    EXPECT_FALSE(
        TQVL_User::PasswordMatches(QStringLiteral("E8636EA013E682FAF61F56CE1CB1AB5C"), QStringLiteral("geheim")))
        << "an upper-case digest never matches";
    user.SetPassword(QString());
    EXPECT_FALSE(user.HasPassword());
}

TEST_F(UserTest, TheInstalledProfileLoadsAndSavesUnchanged)
{
    const QByteArray installed = ReadFile(installedProfile);
    ASSERT_FALSE(installed.isEmpty()) << installedProfile.toStdString();
    // The installer makes the ".crc" companion; without it the guard stays off.
    const QString copy = path(QStringLiteral("Lernender.qxs"));
    WriteFile(copy, installed);
    TQVL_User user;
    user.IntegrityGuard = false;
    user.Open(copy);
    EXPECT_EQ(user.Uid, installedUid);
    EXPECT_EQ(user.name, QStringLiteral("Lernender"));
    EXPECT_FALSE(user.HasPassword());
    EXPECT_TRUE(user.lastlogin.IsEmpty());
    EXPECT_EQ(user.Results().UnitCount(), 0);
    TQVL_User_Rights all;
    all.SetAll(true);
    EXPECT_EQ(user.Rights(), all);
    ASSERT_TRUE(user.RequestWriteAccess());
    user.Save();
    user.CloseFile();
    EXPECT_EQ(ReadFile(copy), installed);
}

// Writes the installed profile into data/ when QUORVEL_WRITE_DATA is set.
TEST(InstalledProfile, Generate)
{
    if (qEnvironmentVariableIsEmpty("QUORVEL_WRITE_DATA"))
        GTEST_SKIP() << "set QUORVEL_WRITE_DATA=1 to write " << installedProfile.toStdString();
    TQVL_User user;
    user.ResetToNewProfile(QStringLiteral("Lernender"));
    user.Uid = installedUid;
    TQVL_XML document;
    document.Version = user.CurrentVersion;
    user.SaveToXML(*document.Root);
    QDir().mkpath(QFileInfo(installedProfile).path());
    TQVL_SafeFile::Write(installedProfile, document.SaveToBytes());
    EXPECT_TRUE(QFileInfo::exists(installedProfile));
}

// The read-aloud switch is the learner's: it travels with the profile, and a
// profile that never used it keeps its old shape (checked byte for byte above).
TEST_F(UserTest, TheReadAloudSwitchIsKeptInTheProfile)
{
    const QString name = writeGuarded(QStringLiteral("Anna.qxs"), anna);
    TQVL_User user;
    user.Open(name);
    EXPECT_FALSE(user.readaloud);
    user.readaloud = true;
    ASSERT_TRUE(user.RequestWriteAccess());
    user.Save();
    user.CloseFile();
    const QByteArray saved = ReadFile(name);
    EXPECT_TRUE(saved.contains("  <settings>\r\n    <readaloud>true</readaloud>\r\n  </settings>\r\n  <results>"))
        << saved.constData();

    TQVL_User again;
    again.Open(name);
    EXPECT_TRUE(again.readaloud);
    again.readaloud = false;
    ASSERT_TRUE(again.RequestWriteAccess());
    again.Save();
    again.CloseFile();
    EXPECT_EQ(ReadFile(name), anna);
}

TEST_F(UserTest, AStoragesMethodAndRetentionAreCheckedAndSavedInTheProfile)
{
    const QString storage = QStringLiteral("{SPEICHER}");
    struct Case
    {
        double retention;
        bool valid;
    };
    for (const Case& c : {Case{0.70, true}, Case{0.97, true}, Case{0.9, true}, Case{0.704, true},
                          Case{0.69, false}, Case{0.98, false}, Case{std::nan(""), false}, Case{1.0, false}}) {
        SCOPED_TRACE(c.retention);
        TQVL_StorageSettings settings{TQVL_LearnMethod::FSRS, c.retention, std::nullopt, {}, {}};
        EXPECT_EQ(ErrorOf([&] { settings.Check(); }),
                  c.valid ? QString() : QStringLiteral("Die gewünschte Behaltensquote muss zwischen 0,70 und 0,97 liegen!"));
    }

    const QString name = writeGuarded(QStringLiteral("Anna.qxs"), anna);
    std::array<double, 21> fitted = TQVL_FSRS::Parameters{}.W;
    fitted[2] = 4.25;
    {
        TQVL_User user;
        user.Open(name);
        user.Login();
        EXPECT_EQ(TQVL_StorageSettings::Of(user, storage), TQVL_StorageSettings{}) << "Stufen by default";
        // An invalid value changes nothing.
        EXPECT_NE(ErrorOf([&] { TQVL_StorageSettings{TQVL_LearnMethod::FSRS, 0.5, std::nullopt, {}, {}}.Apply(user, storage, {}); }),
                  QString());
        EXPECT_EQ(user.Results().FindUnit(storage), nullptr);
        TQVL_StorageSettings{TQVL_LearnMethod::FSRS, 0.854, fitted, TQVL_DateTime(46100), TQVL_DateTime(46110)}.Apply(
            user, storage,
                                                                          QStringLiteral("/s/Englisch.qxl"));
        EXPECT_TRUE(user.WriteAccess) << "the session keeps its lock";
        user.CloseFile();
    }
    // Saved at once, not only at logout; in whole percent.
    TQVL_User reread;
    reread.Open(name);
    EXPECT_EQ(TQVL_StorageSettings::Of(reread, storage),
              (TQVL_StorageSettings{TQVL_LearnMethod::FSRS, 0.85, fitted, TQVL_DateTime(46100), TQVL_DateTime(46110)}));
    EXPECT_TRUE(reread.Results().FindUnit(storage)->longtermstorage);
    reread.CloseFile();
}

TEST_F(UserTest, StorageSettingsThatCannotBeSavedLeaveTheRecordAsItWas)
{
    const QString storage = QStringLiteral("{SPEICHER}");
    const QString name = writeGuarded(QStringLiteral("Anna.qxs"), anna);
    TQVL_User first;
    first.Open(name);
    first.Login();
    TQVL_User second;
    const auto previous = TQVL_Notices::Install([](const QString&) {});
    second.Open(name);
    second.Login();
    TQVL_Notices::Install(previous);
    ASSERT_TRUE(second.IsReadOnlySession());
    EXPECT_TRUE(ErrorOf([&] { TQVL_StorageSettings{TQVL_LearnMethod::FSRS, 0.8, std::nullopt, {}, {}}.Apply(second, storage, {}); })
                    .contains(QStringLiteral("schreibgeschützt")));
    EXPECT_EQ(second.Results().FindUnit(storage), nullptr);
    second.Close();

    std::array<double, 21> fitted = TQVL_FSRS::Parameters{}.W;
    fitted[0] = 0.5;
    TQVL_StorageSettings{TQVL_LearnMethod::FSRS, 0.8, fitted, TQVL_DateTime(46100), TQVL_DateTime(46110)}.Apply(
        first, storage, {});
    // A folder where the file was makes the rename of the save fail.
    ASSERT_TRUE(QFile::remove(name));
    ASSERT_TRUE(QDir().mkpath(name + QStringLiteral("/x")));
    EXPECT_NE(ErrorOf([&] { TQVL_StorageSettings{TQVL_LearnMethod::Stages, 0.9, std::nullopt, {}, {}}.Apply(first, storage, {}); }),
              QString());
    EXPECT_EQ(TQVL_StorageSettings::Of(first, storage),
              (TQVL_StorageSettings{TQVL_LearnMethod::FSRS, 0.8, fitted, TQVL_DateTime(46100), TQVL_DateTime(46110)}));
    ASSERT_TRUE(QDir(name).removeRecursively());
    // Its file is gone: the logout cannot save, the profile is let go all the same.
    ErrorOf([&] { first.Close(); });
    EXPECT_FALSE(first.IsOpen);
}
