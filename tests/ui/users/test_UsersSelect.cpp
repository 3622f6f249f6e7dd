#include "content/QVL_Provider_Item_User.h"
#include "app/QVL.h"
#include "tests/support/TestFolders.h"
#include "tests/support/TestInstallation.h"
#include "tests/support/TestProfiles.h"
#include "tests/support/ScriptedDialogService.h"
#include "ui/users/Form_UsersSelect.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/WindowManager.h"
#include "users/QVL_PasswordHash.h"
#include "users/QVL_User.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The selection screen over a core with program options, hosted in a window
// with a screen area as the main window has one.
class UsersSelectTest : public ::testing::Test
{
protected:
    void SetUp() override { host.resize(800, 600); }
    void TearDown() override
    {
        manager.reset();
        if (core && core->Users->HasActiveUser())
            core->Users->GetActiveUser().Close();
    }

    QString users() const { return folders.Documents() + QStringLiteral("/Benutzer"); }

    // Starts the core as far as the selection needs it and shows the screen the way the main window does.
    TFormUsersSelect* start(bool showPath = false)
    {
        const QString options = WriteOptions(folders, {.SelectShowPath = showPath});
        core = std::make_unique<TQVL>();
        core->Options->Open(options);
        core->Users->OnFileOpened = [this] { ++opened; };
        area = new QWidget(&host);
        area->setGeometry(0, 0, 700, 500);
        host.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
        manager = std::make_unique<TWindowManager>(area, core.get());
        core->OnUserSelectionRequired = [this] { screen = manager->ShowWindow<TFormUsersSelect>(); };
        core->RequestUserSelection();
        return screen;
    }

    TKQ_ClickMatrix& tiles() const { return *screen->KQ_ClickMatrix1; }
    QStringList captions() const
    {
        QStringList list;
        for (int i = 0; i < tiles().Items().Count(); ++i)
            list << tiles().Items().Item(i)->Caption();
        return list;
    }
    int tileOf(const QString& caption) const { return int(captions().indexOf(caption)); }
    void click(int tile)
    {
        QTest::mouseClick(&tiles(), Qt::LeftButton, {}, tiles().Items().Item(tile)->Rect().center());
    }
    // A click on a tile that has not the focus gives it the focus.
    void focusTile(const QString& caption)
    {
        const int tile = tileOf(caption);
        ASSERT_GE(tile, 0) << caption.toStdString();
        if (tiles().FocusedItem() != tiles().Items().Item(tile))
            click(tile);
        ASSERT_EQ(tiles().FocusedItem(), tiles().Items().Item(tile));
    }
    // A click on the focused tile chooses it.
    void choose(const QString& caption)
    {
        focusTile(caption);
        click(tileOf(caption));
    }
    bool released()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return guard.isNull();
    }
    QString activeName() const
    {
        return core->Users->HasActiveUser() ? core->Users->GetActiveUser().name : QString();
    }

    TestFolders folders;
    ScriptedDialogService dialogs;
    QWidget host;
    QWidget* area = nullptr;
    std::unique_ptr<TQVL> core;
    std::unique_ptr<TWindowManager> manager;
    TFormUsersSelect* screen = nullptr;
    QPointer<TFormUsersSelect> guard;
    int opened = 0;
};

} // namespace

TEST_F(UsersSelectTest, AProfileWithoutPasswordOpensOnItsFocusedTile)
{
    WriteProfile(users() + QStringLiteral("/Anna.qxs"), QStringLiteral("Anna"));
    ASSERT_TRUE(start());
    guard = screen;
    EXPECT_EQ(screen->Caption(), QStringLiteral("Benutzer wählen"));
    EXPECT_EQ(screen->SubCaption(), QStringLiteral("Bitte wählen Sie ein Benutzerprofil..."));
    ASSERT_EQ(captions(), QStringList{QStringLiteral("Anna")});
    EXPECT_EQ(tiles().FocusedItem(), tiles().Items().Item(0)) << "the first tile has the focus on show";
    EXPECT_FALSE(screen->PasswordRequired());
    EXPECT_FALSE(screen->Edit_Password->isVisibleTo(screen));

    click(0);
    EXPECT_EQ(activeName(), QStringLiteral("Anna"));
    EXPECT_TRUE(core->Users->GetActiveUser().IsLoggedIn());
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(core->Users->Provider().Items.empty()) << "the list is cleared";
    EXPECT_TRUE(released());
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
}

TEST_F(UsersSelectTest, ALongNameStillAsksForThePasswordAndOnlyTheRightOneOpens)
{
    // With this name the password lies beyond the first 350 bytes that the list reads.
    const QString name = QStringLiteral("Bernhard Mustermann-Langenscheidt");
    const QString path = users() + QStringLiteral("/Bernhard.qxs");
    WriteProfile(path, name, QStringLiteral("geheim"));
    TQVL_Provider_Item_User listed;
    listed.Path = path;
    listed.Load();
    ASSERT_TRUE(listed.Password.isEmpty()) << "the fixture must show the short header read";

    ASSERT_TRUE(start());
    guard = screen;
    EXPECT_TRUE(screen->PasswordRequired());
    EXPECT_TRUE(screen->Label_Password->isVisibleTo(screen));
    EXPECT_EQ(screen->Label_Password->text(), QStringLiteral("Bitte geben Sie das Passwort ein:"));

    click(0);
    EXPECT_FALSE(core->Users->HasActiveUser()) << "no password typed";
    EXPECT_TRUE(screen->Edit_Password->hasFocus());

    QTest::keyClicks(screen->Edit_Password, QStringLiteral("Geheim"));
    click(0);
    EXPECT_FALSE(core->Users->HasActiveUser()) << "a wrong password";
    EXPECT_TRUE(screen->Edit_Password->hasFocus());
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << "refused without a message";

    screen->Edit_Password->clear();
    QTest::keyClicks(screen->Edit_Password, QStringLiteral("geheim"));
    QTest::keyClick(screen->Edit_Password, Qt::Key_Return);
    EXPECT_EQ(activeName(), name);
    EXPECT_TRUE(released());
}

TEST_F(UsersSelectTest, AnOldPasswordDigestOpensAndIsStoredAsArgon2idAfterwards)
{
    const QString path = users() + QStringLiteral("/Alt.qxs");
    // The unsalted MD5 of earlier versions.
    WriteProfile(path, QStringLiteral("Alt"), QString(),
                 [](TQVL_User& user) { user.password = TQVL_PasswordHash::LegacyDigest(QStringLiteral("geheim")); });
    ASSERT_TRUE(start());
    guard = screen;
    click(0);
    QTest::keyClicks(screen->Edit_Password, QStringLiteral("geheim"));
    QTest::keyClick(screen->Edit_Password, Qt::Key_Return);
    ASSERT_EQ(activeName(), QStringLiteral("Alt"));
    core->Users->GetActiveUser().Close();
    const QByteArray saved = ReadFile(path);
    EXPECT_TRUE(saved.contains("<password>$argon2id$")) << saved.constData();
    EXPECT_FALSE(saved.contains(TQVL_PasswordHash::LegacyDigest(QStringLiteral("geheim")).toLatin1()));
}

TEST_F(UsersSelectTest, TheKeyboardChoosesAndAPasswordIsAskedBeforeTheTileIsChosenAgain)
{
    WriteProfile(users() + QStringLiteral("/Anna.qxs"), QStringLiteral("Anna"));
    WriteProfile(users() + QStringLiteral("/Carla.qxs"), QStringLiteral("Carla"), QStringLiteral("pferd"));
    ASSERT_TRUE(start());
    const int carla = tileOf(QStringLiteral("Carla"));
    ASSERT_GE(carla, 0);
    tiles().setFocus();
    while (tiles().FocusedItem() != tiles().Items().Item(carla))
        QTest::keyClick(&tiles(), Qt::Key_Right);
    EXPECT_TRUE(screen->PasswordRequired());
    QTest::keyClick(&tiles(), Qt::Key_Return);
    EXPECT_TRUE(screen->Edit_Password->hasFocus());
    QTest::keyClicks(screen->Edit_Password, QStringLiteral("pferd"));
    tiles().setFocus();
    QTest::keyClick(&tiles(), Qt::Key_Return);
    EXPECT_EQ(activeName(), QStringLiteral("Carla"));
}

TEST_F(UsersSelectTest, TheFocusedProfileShowsItsLastLoginAndPracticeTime)
{
    WriteProfile(users() + QStringLiteral("/Anna.qxs"), QStringLiteral("Anna"), {}, [](TQVL_User& user) {
        user.icon = 2;
        user.lastlogin = TQVL_DateTime::FromParts(2026, 3, 14, 17, 5, 9);
        user.alltimequeryseconds = 3725;
    });
    WriteProfile(users() + QStringLiteral("/Neu.qxs"), QStringLiteral("Neu"));
    ASSERT_TRUE(start());
    const struct
    {
        QString tile, lastLogin, practice;
        int icon;
    } cases[] = {
        {QStringLiteral("Anna"), QStringLiteral("14.03.2026 17:05:09"), QStringLiteral("1 Stunde, 2 Minuten"), 3},
        {QStringLiteral("Neu"), QStringLiteral("Noch keinmal eingeloggt."), QStringLiteral("0 Stunden, 0 Minuten"), 1},
    };
    for (const auto& c : cases) {
        focusTile(c.tile);
        const int tile = tileOf(c.tile);
        EXPECT_EQ(screen->Label_LastLoginValue->text(), c.lastLogin);
        EXPECT_EQ(screen->Label_QueryTimeValue->text(), c.practice);
        EXPECT_TRUE(screen->Label_LastLogin->isVisibleTo(screen));
        EXPECT_EQ(tiles().Items().Item(tile)->IconIndex(), c.icon) << "icon 0 is the folder";
    }
    EXPECT_FALSE(core->Users->HasActiveUser()) << "clicks on other tiles only focus them";
}

TEST_F(UsersSelectTest, FoldersOpenAsTilesAndTheFolderUpButtonLeadsBack)
{
    WriteProfile(users() + QStringLiteral("/Anna.qxs"), QStringLiteral("Anna"));
    WriteProfile(users() + QStringLiteral("/Klasse 5a/Dora.qxs"), QStringLiteral("Dora"));
    QDir().mkpath(users() + QStringLiteral("/Leer"));
    ASSERT_TRUE(start(false));
    EXPECT_FALSE(screen->Button_FolderUp->isVisibleTo(screen)) << "the users folder has no parent";

    focusTile(QStringLiteral("Klasse 5a"));
    EXPECT_EQ(tiles().FocusedItem()->IconIndex(), 0);
    EXPECT_TRUE(screen->Label_PathValue->isVisibleTo(screen)) << "a folder shows its path even when paths are off";
    EXPECT_EQ(screen->Label_PathValue->text(), users() + QStringLiteral("/Klasse 5a"));
    focusTile(QStringLiteral("Anna"));
    EXPECT_FALSE(screen->Label_PathValue->isVisibleTo(screen)) << "a profile shows no path when paths are off";

    choose(QStringLiteral("Klasse 5a"));
    EXPECT_EQ(captions(), QStringList{QStringLiteral("Dora")});
    EXPECT_TRUE(screen->Button_FolderUp->isVisibleTo(screen));
    QTest::mouseClick(screen->Button_FolderUp, Qt::LeftButton);
    EXPECT_EQ(captions().size(), 3);
    EXPECT_FALSE(screen->Button_FolderUp->isVisibleTo(screen));

    choose(QStringLiteral("Leer"));
    EXPECT_TRUE(captions().isEmpty());
    EXPECT_TRUE(screen->Label_PathValue->isVisibleTo(screen));
    EXPECT_EQ(screen->Label_PathValue->text(),
              QStringLiteral("Keine Benutzerprofile unter \"%1\" gefunden").arg(users() + QStringLiteral("/Leer")));
    QTest::mouseClick(screen->Button_FolderUp, Qt::LeftButton);

    choose(QStringLiteral("Klasse 5a"));
    choose(QStringLiteral("Dora"));
    EXPECT_EQ(activeName(), QStringLiteral("Dora"));
}

TEST_F(UsersSelectTest, WithPathsOnAProfileShowsItsPath)
{
    WriteProfile(users() + QStringLiteral("/Anna.qxs"), QStringLiteral("Anna"));
    ASSERT_TRUE(start(true));
    EXPECT_TRUE(screen->Label_Path->isVisibleTo(screen));
    EXPECT_EQ(screen->Label_PathValue->text(), users() + QStringLiteral("/Anna.qxs"));
}

TEST_F(UsersSelectTest, TheTileMenuGrowsByRowsOfFourOnlyBeyondEightTiles)
{
    const std::pair<int, int> heights[] = {{0, 146}, {1, 146}, {8, 146}, {9, 369}, {12, 369}, {13, 492}};
    for (const auto& [count, height] : heights)
        EXPECT_EQ(TFormUsersSelect::TileMenuHeight(count), height) << count;

    for (int i = 1; i <= 9; ++i)
        WriteProfile(users() + QStringLiteral("/P%1.qxs").arg(i), QStringLiteral("Person %1").arg(i));
    ASSERT_TRUE(start());
    ASSERT_EQ(tiles().Items().Count(), 9);
    EXPECT_EQ(tiles().height(), 369);
    // Four tiles in a row, also while the scroll bar takes its room.
    const QRect first = tiles().Items().Item(0)->Rect();
    EXPECT_EQ(tiles().Items().Item(3)->Rect().top(), first.top());
    EXPECT_EQ(tiles().Items().Item(4)->Rect().topLeft(), QPoint(first.left(), first.top() + 60 + 16));
    EXPECT_EQ(tiles().Items().Item(8)->Rect().left(), first.left());
    EXPECT_LE(tiles().width(), screen->ScrollBox1->viewport()->width());
    EXPECT_TRUE(screen->ScrollBox1->verticalScrollBar()->isVisible());

    // One tile less in the folder shown next time: back to the short menu.
    QFile::remove(users() + QStringLiteral("/P9.qxs"));
    core->Users->Provider().Clear();
    core->Users->Provider().Scan(users());
    screen->ShowFolder(core->Users->Provider().Root.get());
    EXPECT_EQ(tiles().height(), 146);
}

TEST_F(UsersSelectTest, AProfileThatCannotBeOpenedIsReportedAndTheScreenStays)
{
    const QString path = users() + QStringLiteral("/Anna.qxs");
    WriteProfile(path, QStringLiteral("Anna"));
    WriteFile(path, ReadFile(path).replace("<icon>0</icon>", "<icon>1</icon>"));
    ASSERT_TRUE(start());
    guard = screen;
    click(0);
    EXPECT_FALSE(core->Users->HasActiveUser());
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_EQ(dialogs.Errors.at(0), QStringLiteral("Die Datei \"%1\" wurde nachträglich manipuliert und kann aus "
                                                   "Sicherheitsgründen nicht geöffnet werden!")
                                        .arg(path));
    EXPECT_FALSE(released());
    EXPECT_EQ(captions(), QStringList{QStringLiteral("Anna")});
}

TEST_F(UsersSelectTest, TilesFindTheirProfilesByPathAfterARescanOrSayTheyAreGone)
{
    WriteProfile(users() + QStringLiteral("/Anna.qxs"), QStringLiteral("Anna"));
    WriteProfile(users() + QStringLiteral("/Bernd.qxs"), QStringLiteral("Bernd"));
    ASSERT_TRUE(start());
    guard = screen;
    // Another screen reads the users folder again while the tiles show the first scan: Anna is gone, Carla came.
    focusTile(QStringLiteral("Anna"));
    ASSERT_TRUE(QFile::remove(users() + QStringLiteral("/Anna.qxs")));
    WriteProfile(users() + QStringLiteral("/Carla.qxs"), QStringLiteral("Carla"));
    core->Users->Provider().Clear();
    core->Users->Provider().Scan(users());

    click(tileOf(QStringLiteral("Anna")));
    EXPECT_EQ(dialogs.Errors, QStringList{QStringLiteral("Datei \"%1/Anna.qxs\" nicht gefunden!").arg(users())});
    EXPECT_FALSE(core->Users->HasActiveUser());
    QStringList shown = captions();
    shown.sort();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Bernd"), QStringLiteral("Carla")})) << "the tiles show the new scan";

    core->Users->Provider().Clear();
    core->Users->Provider().Scan(users());
    choose(QStringLiteral("Bernd"));
    EXPECT_EQ(activeName(), QStringLiteral("Bernd"));
    EXPECT_EQ(core->Users->GetActiveUser().FileName, users() + QStringLiteral("/Bernd.qxs"));
    EXPECT_TRUE(released());
}
