#include "content/QVL_Provider_Item_User.h"
#include "core/QVL_Error.h"
#include "core/QVL_FileObject.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFolders.h"
#include "users/QVL_User_Rights.h"
#include "users/QVL_Users.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

TEST(UsersManager, ANewProfileIsWrittenWithAllRightsAndNeverReplacesAFile)
{
    TestFolders folders;
    TQVL_Users users;
    const QString folder = folders.Documents() + QStringLiteral("/Benutzer/Klasse 5");
    const QString uid = users.CreateProfile(folder, QStringLiteral("Bert"));
    EXPECT_EQ(users.AdditionalFileCount(), 0) << "nothing stays open";

    TQVL_User written;
    written.Open(folder + QStringLiteral("/Bert.qxs"));
    EXPECT_EQ(written.Uid, uid);
    EXPECT_EQ(written.name, QStringLiteral("Bert"));
    EXPECT_TRUE(written.Rights().USERPROFILES_EDIT_OTHER && written.Rights().PROGRAM_UPDATES);
    written.CloseFile();

    const QByteArray before = ReadFile(folder + QStringLiteral("/Bert.qxs"));
    const QString taken =
        QStringLiteral("Ein Benutzerprofil mit der Bezeichnung \"%1\" besteht bereits in diesem Verzeichnis!");
    struct Case
    {
        QString name, expected;
    };
    const Case cases[] = {
        {QStringLiteral("Bert"), taken.arg(QStringLiteral("Bert"))},
        {QStringLiteral("BERT"), taken.arg(QStringLiteral("BERT"))},
        {QStringLiteral("a/b"), QStringLiteral("Die Bezeichnung \"a/b\" ist nicht gültig!")},
        {QStringLiteral("   "), QStringLiteral("Die Bezeichnung \"   \" ist nicht gültig!")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf([&] { users.CreateProfile(folder, c.name); }), c.expected) << c.name.toStdString();
    EXPECT_EQ(ReadFile(folder + QStringLiteral("/Bert.qxs")), before);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2) << "the profile and its companion";
    EXPECT_EQ(users.AdditionalFileCount(), 0);
}

TEST(UsersManager, DeletingAProfileTakesItsCompanionAlong)
{
    TestFolders folders;
    TQVL_Users users;
    const QString folder = folders.Documents() + QStringLiteral("/Benutzer");
    users.CreateProfile(folder, QStringLiteral("Bert"));
    const QString path = folder + QStringLiteral("/Bert.qxs");
    ASSERT_TRUE(QFileInfo::exists(TQVL_FileObject::ChecksumFileName(path)));
    TQVL_Users::DeleteProfile(path);
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(ErrorOf([&] { TQVL_Users::DeleteProfile(path); }),
              QStringLiteral("Die Datei \"%1\" konnte nicht gelöscht werden!").arg(path));
}

TEST(UsersManager, DeletingResultsSavesThemAndNotesTheDayForTheNextSave)
{
    TestFolders folders;
    TQVL_Users users;
    const QString folder = folders.Documents() + QStringLiteral("/Benutzer");
    users.CreateProfile(folder, QStringLiteral("Bert"));
    const QString path = folder + QStringLiteral("/Bert.qxs");
    for (bool everything : {false, true}) {
        SCOPED_TRACE(everything);
        TQVL_User profile;
        profile.Open(path);
        ASSERT_TRUE(profile.RequestWriteAccess());
        TQVL_Result_Unit& unit = profile.Results().GetOrCreateUnit(QStringLiteral("U1"));
        unit.AddQuery(60, 2, false, 1, TQVL_DateTime::Now());
        unit.GetOrCreateCard(1).stage = 3;
        profile.Save();

        profile.DeleteResults(everything);
        EXPECT_NE(profile.Results().lastdeletion_date.Serial(), 0);
        TQVL_User reread;
        reread.Open(path);
        EXPECT_EQ(reread.Results().lastdeletion_date.Serial(), 0) << "written with the next save";
        if (everything) {
            EXPECT_EQ(reread.Results().UnitCount(), 0);
        } else {
            ASSERT_EQ(reread.Results().UnitCount(), 1);
            EXPECT_EQ(reread.Results().Unit(0).CardCount(), 0);
            EXPECT_EQ(reread.Results().Unit(0).QueryCount(), 1) << "the stored queries stay";
        }
        reread.CloseFile();
        profile.CloseFile();
    }
}

TEST(UsersList, TheWholeHeaderIsReadAndItsTextDecoded)
{
    TestFolders folders;
    const QString path = folders.Root() + QStringLiteral("/Lang.qxs");
    // A name longer than any first read, with characters the file escapes.
    const QString name = QStringLiteral("Tom & Jerry <Schüler> ") + QString(5000, QLatin1Char('x'));
    {
        TQVL_User user;
        user.NewFile(path);
        user.ResetToNewProfile(name);
        user.SetPassword(QStringLiteral("katze"));
        user.alltimequeryseconds = 61;
        user.Save();
        user.CloseFile();
    }
    TQVL_Provider_Item_User entry;
    entry.Path = path;
    entry.Load();
    EXPECT_EQ(entry.UserName, QStringLiteral("[Ungültig]")) << "the list's first bytes end inside the name";
    EXPECT_TRUE(entry.ReloadWholeHeader());
    EXPECT_EQ(entry.UserName, name);
    EXPECT_TRUE(TQVL_User::PasswordMatches(entry.Password, QStringLiteral("katze"))) << "the whole stored hash is read";
    EXPECT_EQ(entry.AllTimeQuerySeconds, 61);

    WriteFile(path, ReadFile(path).replace("<alltimequeryseconds>61<", "<alltimequeryseconds>6x<"));
    EXPECT_FALSE(entry.ReloadWholeHeader());
    EXPECT_EQ(entry.UserName, QStringLiteral("[Ungültig]"));
    WriteFile(path, ReadFile(path).left(200));
    EXPECT_FALSE(entry.ReloadWholeHeader()) << "a header without its end";

    EXPECT_EQ(TQVL_Provider_Item_User::DecodeText(QStringLiteral("a &amp;amp; &#228;&#x263A; &bogus; & &#xD800;")),
              QStringLiteral("a &amp; ä☺ &bogus; & &#xD800;"));
}
