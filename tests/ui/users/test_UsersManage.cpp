#include "content/QVL_Provider_Item_User.h"
#include "app/QVL.h"
#include "query/QVL_Result_User.h"
#include "tests/support/NoticeRecorder.h"
#include "tests/support/TestFolders.h"
#include "tests/support/TestInstallation.h"
#include "tests/support/TestProfiles.h"
#include "tests/support/ScriptedDialogService.h"
#include "ui/shell/FormMessage.h"
#include "ui/users/Form_UsersManage.h"
#include "ui/users/Form_UsersSelect.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/WindowManager.h"
#include "users/QVL_User.h"
#include "users/QVL_User_Rights.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Rights = std::function<void(TQVL_User_Rights&)>;

// A profile as the program reads it, with its integrity check.
std::unique_ptr<TQVL_User> readProfile(const QString& path)
{
    auto user = std::make_unique<TQVL_User>();
    user->Open(path);
    return user;
}

// Two profiles in the users folder, "Anna" logged in with the rights a case gives
// her, "Bernd" (password "alt", a few results) beside her, and the open editor.
class Editor
{
public:
    explicit Editor(const Rights& annaRights = {}, bool userfilesReadonly = false)
    {
        const QString options = WriteOptions(
            folders, {.UserfilesReadonly = userfilesReadonly, .AutoloadProfile = "Benutzer/Anna.qxs"});
        core = std::make_unique<TQVL>();
        core->Options->Open(options);
        AnnaUid = WriteProfile(Users() + QStringLiteral("/Anna.qxs"), QStringLiteral("Anna"), {}, [&](TQVL_User& user) {
            if (annaRights)
                annaRights(user.Rights());
        });
        WriteProfile(Users() + QStringLiteral("/Bernd.qxs"), QStringLiteral("Bernd"), QStringLiteral("alt"),
                     [](TQVL_User& user) {
                         TQVL_Result_Unit& unit = user.Results().GetOrCreateUnit(QStringLiteral("{U1}"));
                         unit.GetOrCreateCard(1).pointvalue = 10;
                         unit.GetOrCreateCard(2).pointvalue = 20;
                         unit.AddQuery(60, 2, false, 1, TQVL_DateTime::FromParts(2026, 1, 2, 10));
                     });
        core->Users->GetActiveUser().Open(Users() + QStringLiteral("/Anna.qxs"));
        Dialog = std::make_unique<TFormUsersManage>(*core);
        Dialog->show();
    }
    ~Editor()
    {
        Dialog.reset();
        if (core->Users->HasActiveUser())
            core->Users->GetActiveUser().Close();
    }

    QString Users() const { return folders.Documents() + QStringLiteral("/Benutzer"); }
    QString Bernd() const { return Users() + QStringLiteral("/Bernd.qxs"); }

    QTreeWidgetItem* node(QTreeWidget* tree, const QString& text) const
    {
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            if ((*it)->text(0) == text)
                return *it;
        return nullptr;
    }
    // Focuses a node of the profile tree with the mouse.
    void Select(const QString& text)
    {
        QTreeWidgetItem* item = node(Dialog->VST1, text);
        ASSERT_TRUE(item) << text.toStdString();
        Dialog->VST1->scrollToItem(item);
        QTest::mouseClick(Dialog->VST1->viewport(), Qt::LeftButton, {},
                          Dialog->VST1->visualItemRect(item).center());
    }
    QString Current() const
    {
        return Dialog->VST1->currentItem() ? Dialog->VST1->currentItem()->text(0) : QString();
    }
    // Replaces the text of a field as typing does.
    static void Type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, text);
    }
    // Clicks "Ok"; true when the dialog closed.
    bool Ok()
    {
        QTest::mouseClick(Dialog->dxButton2, Qt::LeftButton);
        return !Dialog->isVisible();
    }
    QString Caption() const { return Dialog->TntPanel1->text(); }

    TestFolders folders;
    ScriptedDialogService Dialogs;
    NoticeRecorder Notices;
    std::unique_ptr<TQVL> core;
    QString AnnaUid;
    std::unique_ptr<TFormUsersManage> Dialog;
};

Rights without(bool TQVL_User_Rights::*right)
{
    return [right](TQVL_User_Rights& rights) { rights.*right = false; };
}

} // namespace

TEST(UsersManage, TheEditorListsTheFolderAndStartsWithoutProfile)
{
    Editor e;
    QDir().mkpath(e.Users() + QStringLiteral("/Klasse 5a"));
    WriteProfile(e.Users() + QStringLiteral("/Klasse 5a/Dora.qxs"), QStringLiteral("Dora"));
    e.Dialog.reset();
    e.Dialog = std::make_unique<TFormUsersManage>(*e.core);
    e.Dialog->show();
    EXPECT_EQ(e.Dialog->Label1->text(), QStringLiteral("Benutzerprofile verwalten"));
    EXPECT_EQ(e.Dialog->dxButton1->text(), QStringLiteral("Hilfe"));
    EXPECT_EQ(e.Dialog->dxButton2->text(), QStringLiteral("Ok"));
    EXPECT_FALSE(e.Dialog->dxButton3->isVisible());
    EXPECT_EQ(e.Caption(), QStringLiteral("[Kein Benutzerprofil gewählt]"));
    EXPECT_FALSE(e.Dialog->Panel6->isVisible());
    QTreeWidgetItem* folder = e.node(e.Dialog->VST1, QStringLiteral("Klasse 5a"));
    ASSERT_TRUE(folder);
    ASSERT_EQ(folder->childCount(), 1);
    EXPECT_EQ(folder->child(0)->text(0), QStringLiteral("Dora"));
    EXPECT_EQ(folder->child(0)->toolTip(0), e.Users() + QStringLiteral("/Klasse 5a/Dora.qxs"));
    EXPECT_EQ(e.Dialog->VST1->topLevelItemCount(), 3);
    EXPECT_EQ(e.Dialog->CurrentFolder(), e.Users()) << "nothing focused: the users folder";
    e.Select(QStringLiteral("Dora"));
    EXPECT_EQ(e.Dialog->CurrentFolder(), e.Users() + QStringLiteral("/Klasse 5a"));

    QStringList top;
    for (int i = 0; i < e.Dialog->VST2->topLevelItemCount(); ++i)
        top << e.Dialog->VST2->topLevelItem(i)->text(0);
    EXPECT_EQ(top, (QStringList{QStringLiteral("Benutzerprofile"), QStringLiteral("Lektionen"),
                                QStringLiteral("Abfrage"), QStringLiteral("Sprachprofile"),
                                QStringLiteral("Programmoptionen editieren"),
                                QStringLiteral("Programmupdates einspielen"),
                                QStringLiteral("Internet-Funktionalitäten nutzen"), QStringLiteral("Drucken")}));
    EXPECT_EQ(e.Dialog->VST2->topLevelItem(0)->childCount(), 6);
    EXPECT_TRUE(e.Dialog->VST2->topLevelItem(0)->icon(0).isNull()) << "groups have no icon";
}

TEST(UsersManage, TheLoggedInUsersRightsDecideWhatTheLoadedProfileOffers)
{
    const struct
    {
        const char* what;
        Rights rights;
        bool readonly;
        QString load, caption;
        bool editable, rightsTree, results;
    } cases[] = {
        {"all rights, own", {}, false, "Anna", "Anna [Angemeldet]", true, true, true},
        {"all rights, other", {}, false, "Bernd", "Bernd", true, true, true},
        {"own rights locked", without(&TQVL_User_Rights::USERPROFILES_EDIT_SELT_RIGHTS), false, "Anna",
         "Anna [Angemeldet]", true, false, true},
        {"own rights locked, other", without(&TQVL_User_Rights::USERPROFILES_EDIT_SELT_RIGHTS), false, "Bernd",
         "Bernd", true, true, true},
        {"no own profile", without(&TQVL_User_Rights::USERPROFILES_EDIT_SELF), false, "Anna",
         "Anna [Angemeldet] [Keine Rechte zum Bearbeiten]", false, false, false},
        {"no other profiles", without(&TQVL_User_Rights::USERPROFILES_EDIT_OTHER), false, "Bernd",
         "Bernd [Keine Rechte zum Bearbeiten]", false, false, false},
        {"no results", without(&TQVL_User_Rights::USERPROFILES_EDIT_RESULTS), false, "Bernd", "Bernd", true, true,
         false},
        {"read-only user files", {}, true, "Anna", "Anna [Angemeldet] [Schreibgeschützt]", false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Editor e(c.rights, c.readonly);
        e.Select(c.load);
        ASSERT_TRUE(e.Dialog->Profile());
        EXPECT_TRUE(e.Dialog->Panel6->isVisible());
        EXPECT_EQ(e.Caption(), c.caption);
        EXPECT_EQ(e.Dialog->EditPanelEnabled(), c.editable);
        EXPECT_EQ(e.Dialog->Edit3->isEnabled(), c.editable);
        EXPECT_EQ(e.Dialog->Edit4->isEnabled(), c.editable);
        EXPECT_EQ(e.Dialog->ComboBox1->isEnabled(), c.editable);
        EXPECT_EQ(e.Dialog->VST2->isEnabled(), c.rightsTree);
        EXPECT_EQ(e.Dialog->Button_DeleteAllResults->isEnabled(), c.results);
        EXPECT_EQ(e.Dialog->Button_DeleteCardResults->isEnabled(), c.results);
        EXPECT_EQ(e.Dialog->Profile() == &e.core->Users->GetActiveUser(), c.load == QLatin1String("Anna"));
        const QByteArray before = ReadFile(e.Users() + QLatin1Char('/') + c.load + QStringLiteral(".qxs"));
        EXPECT_TRUE(e.Ok());
        if (c.readonly) {
            EXPECT_EQ(ReadFile(e.Users() + QStringLiteral("/Anna.qxs")), before) << "read-only files stay as they are";
        }
        EXPECT_TRUE(e.Dialogs.Errors.isEmpty()) << e.Dialogs.Errors.join('|').toStdString();
    }
}

TEST(UsersManage, WithoutTheRightToEditOwnRightsNameAndPasswordStillChange)
{
    Editor e(without(&TQVL_User_Rights::USERPROFILES_EDIT_SELT_RIGHTS));
    e.Select(QStringLiteral("Anna"));
    EXPECT_EQ(e.Dialog->Edit1->text(), e.AnnaUid);
    EXPECT_EQ(e.Dialog->Edit3->text(), QStringLiteral("Anna"));
    EXPECT_FALSE(e.Dialog->VST2->isEnabled());
    Editor::Type(e.Dialog->Edit3, QStringLiteral("Anna B."));
    Editor::Type(e.Dialog->Edit4, QStringLiteral("neu"));
    Editor::Type(e.Dialog->Edit5, QStringLiteral("neu"));
    e.Dialog->ComboBox1->setCurrentIndex(1);
    EXPECT_TRUE(e.Dialog->PasswordEdited);
    ASSERT_TRUE(e.Ok());

    TQVL_User& anna = e.core->Users->GetActiveUser();
    EXPECT_EQ(anna.name, QStringLiteral("Anna B."));
    EXPECT_TRUE(anna.WriteAccess) << "the logged-in profile keeps its lock for the session";
    const auto saved = readProfile(e.Users() + QStringLiteral("/Anna.qxs"));
    EXPECT_EQ(saved->name, QStringLiteral("Anna B."));
    EXPECT_EQ(saved->icon, 1);
    EXPECT_TRUE(saved->CheckPassword(QStringLiteral("neu")));
    EXPECT_FALSE(saved->Rights().USERPROFILES_EDIT_SELT_RIGHTS);
    EXPECT_TRUE(saved->Rights().PRINT);
    saved->CloseFile();
}

TEST(UsersManage, PasswordFieldsKeepChangeOrRemoveThePassword)
{
    const struct
    {
        const char* what;
        std::function<void(TFormUsersManage&)> edit;
        std::function<bool(const QString& stored, const QString& before)> expected;
    } cases[] = {
        {"untouched", [](TFormUsersManage&) {}, [](const QString& stored, const QString& before) { return stored == before; }},
        {"new in both",
         [](TFormUsersManage& d) {
             Editor::Type(d.Edit4, QStringLiteral("neu"));
             Editor::Type(d.Edit5, QStringLiteral("neu"));
         },
         [](const QString& stored, const QString&) { return TQVL_User::PasswordMatches(stored, QStringLiteral("neu")); }},
        {"both cleared",
         [](TFormUsersManage& d) {
             Editor::Type(d.Edit4, QString());
             Editor::Type(d.Edit5, QString());
         },
         [](const QString& stored, const QString&) { return stored.isEmpty(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Editor e;
        const auto original = readProfile(e.Bernd());
        const QString alt = original->password;
        original->CloseFile();
        ASSERT_TRUE(TQVL_User::PasswordMatches(alt, QStringLiteral("alt")));
        e.Select(QStringLiteral("Bernd"));
        EXPECT_EQ(e.Dialog->Edit4->text(), alt) << "the fields hold the digest, one mask character each";
        EXPECT_EQ(e.Dialog->Edit4->echoMode(), QLineEdit::Password);
        c.edit(*e.Dialog);
        ASSERT_TRUE(e.Ok());
        const auto saved = readProfile(e.Bernd());
        EXPECT_TRUE(c.expected(saved->password, alt)) << saved->password.toStdString();
        saved->CloseFile();
    }
}

TEST(UsersManage, AMismatchedRepetitionKeepsTheProfileTheFocusAndTheDialog)
{
    Editor e;
    const QByteArray before = ReadFile(e.Bernd());
    e.Select(QStringLiteral("Bernd"));
    Editor::Type(e.Dialog->Edit4, QStringLiteral("neu"));
    const QString mismatch = QStringLiteral("Das Passwort stimmt nicht mit seiner Wiederholung überein!");

    e.Select(QStringLiteral("Anna"));
    EXPECT_EQ(e.Dialogs.Errors, QStringList{mismatch});
    EXPECT_EQ(e.Current(), QStringLiteral("Bernd"));
    ASSERT_TRUE(e.Dialog->Profile());
    EXPECT_EQ(e.Dialog->Profile()->name, QStringLiteral("Bernd"));

    EXPECT_FALSE(e.Ok());
    EXPECT_EQ(e.Dialogs.Errors, (QStringList{mismatch, mismatch}));
    EXPECT_TRUE(e.Dialog->isVisible());
    EXPECT_EQ(ReadFile(e.Bernd()), before) << "nothing was saved";

    Editor::Type(e.Dialog->Edit5, QStringLiteral("neu"));
    EXPECT_TRUE(e.Ok());
    const auto saved = readProfile(e.Bernd());
    EXPECT_TRUE(saved->CheckPassword(QStringLiteral("neu")));
    saved->CloseFile();
}

TEST(UsersManage, ANewProfileWithAPasswordLogsInWithIt)
{
    Editor e;
    e.Dialogs.InputAnswers = {QStringLiteral("Carla")};
    QTest::mouseClick(e.Dialog->ToolButton_NewProfile, Qt::LeftButton);
    ASSERT_TRUE(e.Dialogs.Errors.isEmpty()) << e.Dialogs.Errors.join('|').toStdString();
    EXPECT_EQ(e.Dialogs.Questions, QStringList{QStringLiteral("Bezeichnung:")});
    EXPECT_EQ(e.Current(), QStringLiteral("Carla")) << "the new profile is focused and loaded";
    EXPECT_EQ(e.Caption(), QStringLiteral("Carla"));
    Editor::Type(e.Dialog->Edit4, QStringLiteral("pferd"));
    Editor::Type(e.Dialog->Edit5, QStringLiteral("pferd"));
    ASSERT_TRUE(e.Ok());
    e.Dialog.reset();

    // Anna changes the user; Carla logs in on the selection screen.
    e.core->Users->GetActiveUser().Close();
    QWidget host;
    host.resize(800, 600);
    auto* area = new QWidget(&host);
    area->setGeometry(0, 0, 700, 500);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    TWindowManager manager(area, e.core.get());
    TFormUsersSelect* screen = nullptr;
    e.core->OnUserSelectionRequired = [&] { screen = manager.ShowWindow<TFormUsersSelect>(); };
    e.core->RequestUserSelection();
    ASSERT_TRUE(screen);
    TKQ_ClickMatrix& tiles = *screen->KQ_ClickMatrix1;
    TKQ_ClickMatrixItem* carla = nullptr;
    for (int i = 0; i < tiles.Items().Count(); ++i)
        if (tiles.Items().Item(i)->Caption() == QLatin1String("Carla"))
            carla = tiles.Items().Item(i);
    ASSERT_TRUE(carla);
    tiles.SetFocusedItem(carla);
    EXPECT_TRUE(screen->PasswordRequired());
    QTest::keyClicks(screen->Edit_Password, QStringLiteral("pferd"));
    QTest::mouseClick(&tiles, Qt::LeftButton, {}, carla->Rect().center());
    ASSERT_TRUE(e.core->Users->HasActiveUser());
    EXPECT_EQ(e.core->Users->GetActiveUser().name, QStringLiteral("Carla"));
    EXPECT_EQ(e.core->Users->AdditionalFileCount(), 0) << "the editor's extra profile was released";
}

TEST(UsersManage, ANewProfileHasAllRightsAndItsNameIsChecked)
{
    // Anna may create profiles and nothing else.
    Editor e([](TQVL_User_Rights& rights) {
        rights.SetAll(false);
        rights.USERPROFILES_NEW = true;
    });
    QDir().mkpath(e.Users() + QStringLiteral("/Klasse 5a"));
    e.Dialog.reset();
    e.Dialog = std::make_unique<TFormUsersManage>(*e.core);
    e.Dialog->show();
    e.Select(QStringLiteral("Klasse 5a"));
    e.Dialogs.InputAnswers = {QStringLiteral("Carla ")};
    e.Dialog->ToolButton_NewProfile->click();
    ASSERT_TRUE(e.Dialogs.Errors.isEmpty()) << e.Dialogs.Errors.join('|').toStdString();
    const QString path = e.Users() + QStringLiteral("/Klasse 5a/Carla .qxs");
    ASSERT_TRUE(QFileInfo::exists(path)) << "in the focused folder, named as typed";
    ASSERT_TRUE(e.Ok());
    const auto carla = readProfile(path);
    TQVL_User_Rights all;
    all.SetAll(true);
    EXPECT_EQ(carla->Rights(), all);
    EXPECT_EQ(carla->name, QStringLiteral("Carla "));
    EXPECT_FALSE(carla->HasPassword());
    EXPECT_TRUE(carla->lastlogin.IsEmpty());
    carla->CloseFile();

    e.Dialog.reset();
    e.Dialog = std::make_unique<TFormUsersManage>(*e.core);
    e.Dialog->show();
    const std::pair<QString, QString> refused[] = {
        {QStringLiteral(""), QStringLiteral("Die Bezeichnung \"\" ist nicht gültig!")},
        {QStringLiteral("   "), QStringLiteral("Die Bezeichnung \"   \" ist nicht gültig!")},
        {QStringLiteral("a/b"), QStringLiteral("Die Bezeichnung \"a/b\" ist nicht gültig!")},
        {QStringLiteral("Ende."), QStringLiteral("Die Bezeichnung \"Ende.\" ist nicht gültig!")},
        {QStringLiteral("Bernd"),
         QStringLiteral("Ein Benutzerprofil mit der Bezeichnung \"Bernd\" besteht bereits in diesem Verzeichnis!")},
        // Another letter case would be the same file where names ignore case.
        {QStringLiteral("bernd"),
         QStringLiteral("Ein Benutzerprofil mit der Bezeichnung \"bernd\" besteht bereits in diesem Verzeichnis!")},
    };
    const QByteArray bernd = ReadFile(e.Bernd());
    for (const auto& [name, error] : refused) {
        e.Dialogs.Errors.clear();
        e.Dialogs.InputAnswers = {name};
        e.Dialog->ToolButton_NewProfile->click();
        EXPECT_EQ(e.Dialogs.Errors, QStringList{error}) << name.toStdString();
    }
    EXPECT_EQ(ReadFile(e.Bernd()), bernd);
    EXPECT_EQ(QDir(e.Users()).entryList({QStringLiteral("*.qxs")}, QDir::Files).size(), 2);

    e.Dialogs.Errors.clear();
    e.Dialogs.InputAnswers = {QString()};
    e.Dialog->ToolButton_NewProfile->click();
    EXPECT_TRUE(e.Dialogs.Errors.isEmpty()) << "cancelling the input does nothing";
    EXPECT_TRUE(e.Notices.Titles.isEmpty());
    e.Dialog->ToolButton_Delete->click();
    EXPECT_EQ(e.Notices.Titles, QStringList{QStringLiteral("Keine Rechte")});
}

TEST(UsersManage, FoldersAreCreatedAndOnlyEmptyOnesDeleted)
{
    {
        Editor e(without(&TQVL_User_Rights::USERPROFILES_NEW));
        e.Dialog->ToolButton_NewFolder->click();
        EXPECT_EQ(e.Notices.Titles, QStringList{QStringLiteral("Keine Rechte")});
        EXPECT_TRUE(e.Dialogs.Questions.isEmpty()) << "no input without the right";
    }

    Editor f;
    f.Dialogs.InputAnswers = {QStringLiteral("Klasse 5a"), QStringLiteral("Gruppe")};
    f.Dialog->ToolButton_NewFolder->click();
    ASSERT_TRUE(f.node(f.Dialog->VST1, QStringLiteral("Klasse 5a")));
    f.Select(QStringLiteral("Klasse 5a"));
    f.Dialog->ToolButton_NewFolder->click();
    EXPECT_TRUE(QFileInfo(f.Users() + QStringLiteral("/Klasse 5a/Gruppe")).isDir());

    f.Select(QStringLiteral("Klasse 5a"));
    f.Dialog->ToolButton_Delete->click();
    EXPECT_EQ(f.Dialogs.Errors, QStringList{QStringLiteral("Nur leere Verzeichnisse können gelöscht werden")});
    f.Select(QStringLiteral("Gruppe"));
    f.Dialog->ToolButton_Delete->click();
    EXPECT_FALSE(QFileInfo::exists(f.Users() + QStringLiteral("/Klasse 5a/Gruppe")));
    EXPECT_FALSE(f.node(f.Dialog->VST1, QStringLiteral("Gruppe")));
    EXPECT_EQ(f.Dialogs.Errors.size(), 1);

    // A file that is no profile keeps the folder, too.
    WriteFile(f.Users() + QStringLiteral("/Klasse 5a/notiz.txt"), "x");
    f.Select(QStringLiteral("Klasse 5a"));
    f.Dialog->ToolButton_Delete->click();
    EXPECT_TRUE(QFileInfo(f.Users() + QStringLiteral("/Klasse 5a")).isDir());
    EXPECT_EQ(f.Dialogs.Errors.size(), 2);
}

TEST(UsersManage, ProfilesAreDeletedWithTheirCompanionButNeverTheOwnOne)
{
    {
        Editor noRight(without(&TQVL_User_Rights::USERPROFILES_DELETE));
        noRight.Select(QStringLiteral("Bernd"));
        noRight.Dialog->ToolButton_Delete->click();
        EXPECT_EQ(noRight.Notices.Titles, QStringList{QStringLiteral("Keine Rechte")});
        EXPECT_TRUE(QFileInfo::exists(noRight.Bernd()));
    }
    Editor e;
    e.Dialog->ToolButton_Delete->click();
    EXPECT_EQ(e.Dialogs.Errors,
              QStringList{QStringLiteral("Bitte wählen Sie zunächst das zu löschende Benutzerprofil oder Verzeichnis")});

    e.Select(QStringLiteral("Anna"));
    e.Dialog->ToolButton_Delete->click();
    EXPECT_EQ(e.Dialogs.Errors.last(),
              QStringLiteral("Das Benutzerprofil, unter dem Sie momentan angemeldet sind, kann nicht gelöscht werden!"));
    EXPECT_TRUE(e.Dialogs.Questions.isEmpty());

    e.Select(QStringLiteral("Bernd"));
    e.Dialogs.ConfirmAnswers = {false};
    e.Dialog->ToolButton_Delete->click();
    EXPECT_EQ(e.Dialogs.Questions.last(), QStringLiteral("Wollen Sie wirklich das Benutzerprofil \"Bernd.qxs\" löschen?"));
    EXPECT_EQ(e.Dialogs.Errors.last(), QStringLiteral("Abbruch durch Benutzer!"));
    EXPECT_TRUE(QFileInfo::exists(e.Bernd()));
    EXPECT_TRUE(e.Dialog->Profile()) << "a No changes nothing";

    e.Dialogs.ConfirmAnswers = {true};
    e.Dialog->ToolButton_Delete->click();
    EXPECT_FALSE(QFileInfo::exists(e.Bernd()));
    EXPECT_FALSE(QFileInfo::exists(e.Users() + QStringLiteral("/Bernd.crc")));
    EXPECT_FALSE(e.node(e.Dialog->VST1, QStringLiteral("Bernd")));
    EXPECT_FALSE(e.Dialog->Profile());
    EXPECT_EQ(e.Dialogs.Errors.size(), 3);
}

TEST(UsersManage, AManipulatedProfileOpensOnlyForThoseWhoMayEditOthersAndIsRepaired)
{
    const auto manipulate = [](const QString& path) {
        WriteFile(path, ReadFile(path).replace("<icon>0</icon>", "<icon>2</icon>"));
    };
    {
        Editor e(without(&TQVL_User_Rights::USERPROFILES_EDIT_OTHER));
        manipulate(e.Bernd());
        e.Select(QStringLiteral("Bernd"));
        EXPECT_EQ(e.Dialogs.Errors, QStringList{QStringLiteral("Die Datei \"%1\" wurde nachträglich manipuliert und "
                                                               "kann aus Sicherheitsgründen nicht geöffnet werden!")
                                                    .arg(e.Bernd())});
        EXPECT_FALSE(e.Dialog->Profile());
        EXPECT_FALSE(e.Dialog->Panel6->isVisible());
        EXPECT_EQ(e.Caption(), QStringLiteral("[Kein Benutzerprofil gewählt]"));
    }
    Editor e;
    manipulate(e.Bernd());
    e.Select(QStringLiteral("Bernd"));
    ASSERT_TRUE(e.Dialog->Profile());
    EXPECT_TRUE(e.Dialogs.Errors.isEmpty());
    EXPECT_EQ(e.Dialog->ComboBox1->currentIndex(), 2);
    ASSERT_TRUE(e.Ok());
    const auto repaired = readProfile(e.Bernd());
    EXPECT_EQ(repaired->icon, 2);
    repaired->CloseFile();
}

TEST(UsersManage, ResultsAreDeletedCardsOnlyOrAllAndTheDeletionDateIsSaved)
{
    TQVL_DateTime::SetClock([] { return QDateTime(QDate(2026, 5, 4), QTime(8, 15)); });
    {
        Editor e;
        e.Select(QStringLiteral("Bernd"));
        e.Dialog->PageControl1->setCurrentIndex(2);
        e.Dialogs.ConfirmAnswers = {true};
        QTest::mouseClick(e.Dialog->Button_DeleteCardResults, Qt::LeftButton);
        EXPECT_EQ(e.Dialogs.Questions, QStringList{QStringLiteral("Wollen Sie wirklich alle Einzelergebnisse löschen?")});
        {
            const auto saved = readProfile(e.Bernd());
            ASSERT_EQ(saved->Results().UnitCount(), 1);
            EXPECT_EQ(saved->Results().Unit(0).CardCount(), 0);
            EXPECT_EQ(saved->Results().Unit(0).QueryCount(), 1) << "the stored queries stay";
            EXPECT_TRUE(saved->Results().lastdeletion_date.IsEmpty()) << "written with the next save";
            saved->CloseFile();
        }
        ASSERT_TRUE(e.Ok());
        const auto saved = readProfile(e.Bernd());
        EXPECT_EQ(saved->Results().lastdeletion_date, TQVL_DateTime::FromParts(2026, 5, 4, 8, 15));
        saved->CloseFile();
    }
    Editor e;
    e.Select(QStringLiteral("Bernd"));
    e.Dialogs.ConfirmAnswers = {false, true};
    e.Dialog->Button_DeleteAllResults->click();
    EXPECT_EQ(e.Dialogs.Errors, QStringList{QStringLiteral("Abbruch durch Benutzer!")});
    EXPECT_EQ(e.Dialog->Profile()->Results().UnitCount(), 1);
    e.Dialog->Button_DeleteAllResults->click();
    EXPECT_EQ(e.Dialogs.Questions.last(), QStringLiteral("Wollen Sie wirklich alle Abfrageergebnisse löschen?"));
    ASSERT_TRUE(e.Ok());
    const auto saved = readProfile(e.Bernd());
    EXPECT_EQ(saved->Results().UnitCount(), 0);
    EXPECT_EQ(saved->Results().lastdeletion_date, TQVL_DateTime::FromParts(2026, 5, 4, 8, 15));
    saved->CloseFile();
    TQVL_DateTime::SetClock({});
}

TEST(UsersManage, ADoubleClickFlipsARightAndTheUnitsFolderIsPicked)
{
    Editor e;
    e.Select(QStringLiteral("Bernd"));
    e.Dialog->PageControl1->setCurrentIndex(1);
    QTreeWidget* tree = e.Dialog->VST2;
    for (const QString& caption : {QStringLiteral("Drucken"), QStringLiteral("Lektionen bearbeiten"),
                                   QStringLiteral("Lektionen")}) {
        QTreeWidgetItem* item = e.node(tree, caption);
        ASSERT_TRUE(item) << caption.toStdString();
        tree->scrollToItem(item);
        // The second press of a double click as the platform delivers it; QTest::mouseDClick
        // does not reach the item views of Qt 6.4 offscreen.
        const QPoint at = tree->visualItemRect(item).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QMouseEvent second(QEvent::MouseButtonDblClick, at, tree->viewport()->mapToGlobal(at), Qt::LeftButton,
                           Qt::LeftButton, {});
        QApplication::sendEvent(tree->viewport(), &second);
        QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, at);
    }
    EXPECT_TRUE(e.node(tree, QStringLiteral("Lektionen"))->data(0, Qt::UserRole + 3).isNull()) << "a group is no right";

    e.Dialogs.FileAnswers = {QStringLiteral("/srv/lektionen")};
    e.Dialog->PageControl1->setCurrentIndex(0);
    QTest::mouseClick(e.Dialog->Button_BrowseUnits, Qt::LeftButton);
    EXPECT_EQ(e.Dialog->Edit2->text(), QStringLiteral("/srv/lektionen"));
    ASSERT_TRUE(e.Ok());

    const auto saved = readProfile(e.Bernd());
    TQVL_User_Rights expected;
    expected.SetAll(true);
    expected.PRINT = false;
    expected.UNITS_EDIT = false;
    EXPECT_EQ(saved->Rights(), expected);
    EXPECT_EQ(saved->units_directory, QStringLiteral("/srv/lektionen"));
    EXPECT_TRUE(saved->CheckPassword(QStringLiteral("alt"))) << "untouched password fields keep the password";
    saved->CloseFile();
}

// The logged-in profile is written again at logout: a failed save must not
// leave the typed rights and password in it.
TEST(UsersManage, AFailedSaveOfTheOwnProfileKeepsItAsItWasUntilASaveSucceeds)
{
    Editor e;
    e.Select(QStringLiteral("Anna"));
    TQVL_User& anna = e.core->Users->GetActiveUser();
    ASSERT_EQ(e.Dialog->Profile(), &anna);
    Editor::Type(e.Dialog->Edit4, QStringLiteral("neu"));
    Editor::Type(e.Dialog->Edit5, QStringLiteral("neu"));
    Editor::Type(e.Dialog->Edit3, QStringLiteral("Anna B."));
    ASSERT_TRUE(e.Dialog->ToggleRight(e.node(e.Dialog->VST2, QStringLiteral("Drucken"))));

    // A folder where the file was: the rename of the save cannot replace it.
    const QString path = e.Users() + QStringLiteral("/Anna.qxs");
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/x")));
    EXPECT_FALSE(e.Ok());
    ASSERT_EQ(e.Dialogs.Errors.size(), 1);
    EXPECT_TRUE(e.Dialogs.Errors.first().startsWith(
        QStringLiteral("Fehler beim Speichern des Benutzerprofiles \"Anna B.\"!\r")))
        << e.Dialogs.Errors.first().toStdString();
    EXPECT_EQ(anna.name, QStringLiteral("Anna"));
    EXPECT_TRUE(anna.Rights().PRINT);
    EXPECT_FALSE(anna.HasPassword());
    EXPECT_EQ(e.Dialog->Edit3->text(), QStringLiteral("Anna B.")) << "the pages keep what was typed";

    // Once the file can be written, the same pages are saved.
    ASSERT_TRUE(QDir(path).removeRecursively());
    ASSERT_TRUE(e.Ok());
    EXPECT_EQ(e.Dialogs.Errors.size(), 1);
    const auto saved = readProfile(path);
    EXPECT_EQ(saved->name, QStringLiteral("Anna B."));
    EXPECT_FALSE(saved->Rights().PRINT);
    EXPECT_TRUE(saved->CheckPassword(QStringLiteral("neu")));
    saved->CloseFile();
}
