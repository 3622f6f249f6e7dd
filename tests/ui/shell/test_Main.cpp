#include "app/QVL.h"
#include "core/QVL_Notices.h"
#include "core/QVL_SafeFile.h"
#include "query/QVL_Result_User.h"
#include "tests/support/NoticeRecorder.h"
#include "tests/support/ScriptedDialogService.h"
#include "tests/support/TestFolders.h"
#include "ui/exchange/Form_UnitsImport.h"
#include "ui/shell/Application.h"
#include "ui/shell/ForeignInput.h"
#include "ui/shell/FormDataModule.h"
#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/FormMessage.h"
#include "ui/shell/Form_MainMenu.h"
#include "ui/shell/Frame_Messages.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/Main.h"
#include "ui/shell/WindowManager.h"
#include "ui/units/Form_UnitsSelect.h"
#include "ui/units/Frame_Units_List.h"
#include "ui/users/Form_UsersSelect.h"
#include "users/QVL_User.h"
#include "users/QVL_User_Rights.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QThread>
#include <QTreeView>

#include <gtest/gtest.h>

#include <atomic>

namespace {

const QString sourceData = QStringLiteral(QUORVEL_SOURCE_DIR "/data");

// A started main window over a fresh installation, the profile "Lernender" logged in.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        window = std::make_unique<TMainForm>();
        window->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->StartedUp(); }, 10000)) << dialogs.Errors.join('|').toStdString();
        ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    }
    void TearDown() override
    {
        if (window)
            window->close();
        window.reset();
    }

    void logIn()
    {
        window->Core().Users->GetActiveUser().Open(folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs"));
    }
    void openUnit(const QString& name)
    {
        window->Core().Units->GetActiveUnit().Open(folders.Documents() + QStringLiteral("/Lektionen/") + name);
    }
    QStringList enabledActions() const
    {
        QStringList names;
        for (QAction* action : window->DataModule().Actions())
            if (action->isEnabled())
                names << action->objectName();
        names.sort();
        return names;
    }

    TestFolders folders;
    ScriptedDialogService dialogs;
    NoticeRecorder notices;
    std::unique_ptr<TMainForm> window;
};

// Types one character, as a keyboard would (QTest's key clicks know only ASCII).
void typeCharacter(QWidget& field, QChar c)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(&field, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(&field, &release);
}

} // namespace

TEST(ProcessEntry, OnlyTheExactFirstArgumentSelectsTheUpdateMode)
{
    const std::pair<QStringList, bool> cases[] = {
        {{QStringLiteral("quorvel"), QStringLiteral("update")}, true},
        {{QStringLiteral("quorvel"), QStringLiteral("update"), QStringLiteral("x")}, true},
        {{QStringLiteral("quorvel"), QStringLiteral("Update")}, false},
        {{QStringLiteral("quorvel"), QStringLiteral("x"), QStringLiteral("update")}, false},
        {{QStringLiteral("quorvel")}, false},
    };
    for (const auto& [arguments, expected] : cases)
        EXPECT_EQ(QuorvelApplication::IsUpdateMode(arguments), expected) << arguments.join(' ').toStdString();
}

TEST_F(MainWindowTest, AFirstStartInstallsTheDataAndWaitsForAUser)
{
    EXPECT_TRUE(QFileInfo::exists(folders.AppData() + QStringLiteral("/Data/Options.xml")));
    EXPECT_EQ(window->Label_ActiveUser->text(), QStringLiteral("Kein Benutzerprofil gewählt."));
    EXPECT_EQ(window->Label_ActiveUnit->text(), QStringLiteral("Keine Lektion gewählt."));
    EXPECT_EQ(enabledActions(), (QStringList{QStringLiteral("Action_AboutQuorvel"), QStringLiteral("Action_Help_Content"),
                                             QStringLiteral("Action_Help_FirstSteps"),
                                             QStringLiteral("Action_Program_Exit"),
                                             QStringLiteral("Action_Program_Fullscreen")}));
}

TEST_F(MainWindowTest, TheCommandsFollowUserAndUnit)
{
    logIn();
    EXPECT_EQ(window->Label_ActiveUser->text(), QStringLiteral("Lernender "));
    EXPECT_TRUE(qobject_cast<TFormMainMenu*>(window->WindowManager().CurrentWindow()));
    TFormDataModule& d = window->DataModule();
    EXPECT_TRUE(d.Action_Unit_Select->isEnabled());
    EXPECT_TRUE(d.Action_Unit_Import->isEnabled());
    EXPECT_FALSE(d.Action_Unit_Close->isEnabled());
    EXPECT_TRUE(d.Action_Program_Options->isEnabled());

    openUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    EXPECT_EQ(window->Label_ActiveUnit->text(), QStringLiteral("Englisch - Grundwortschatz.qxu"));
    EXPECT_TRUE(d.Action_Unit_Close->isEnabled());
    EXPECT_TRUE(d.Action_Unit_Export->isEnabled());
    EXPECT_TRUE(window->Core().Languages->GetActiveLanguage().IsOpen);
    EXPECT_EQ(window->Core().Languages->GetActiveLanguage().LangCode, QStringLiteral("eng"));
    EXPECT_EQ(window->Core().Languages->HomeLanguage->LangCode, QStringLiteral("ger"));

    d.Action_Unit_Close->trigger();
    EXPECT_EQ(window->Label_ActiveUnit->text(), QStringLiteral("Keine Lektion gewählt."));
    EXPECT_FALSE(window->Core().Languages->GetActiveLanguage().IsOpen);
    EXPECT_FALSE(d.Action_Unit_Close->isEnabled());

    d.Action_UsersSelect->trigger();
    EXPECT_EQ(window->Label_ActiveUser->text(), QStringLiteral("Kein Benutzerprofil gewählt."));
    EXPECT_FALSE(d.Action_Unit_Select->isEnabled());

    // A lesson stays open across a change of user: its commands come back with the next login.
    logIn();
    openUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    d.Action_UsersSelect->trigger();
    logIn();
    ASSERT_TRUE(window->Core().Units->GetActiveUnit().IsOpen);
    EXPECT_TRUE(d.Action_Unit_Close->isEnabled());
    EXPECT_TRUE(d.Action_Unit_Edit->isEnabled());
}

TEST_F(MainWindowTest, AMissingRightShowsTheNoticeNotTheCommand)
{
    logIn();
    window->Core().Users->GetActiveUser().Rights().PROGRAM_OPTIONS_EDIT = false;
    window->DataModule().Action_Program_Options->trigger();
    EXPECT_EQ(notices.Titles, QStringList{QStringLiteral("Keine Rechte")});
    EXPECT_TRUE(dialogs.Informations.isEmpty()) << "the command itself did not run";

    auto* menu = qobject_cast<TFormMainMenu*>(window->WindowManager().CurrentWindow());
    ASSERT_NE(menu, nullptr);
    menu->KQ_ClickMatrix1->SelectItem(menu->KQ_ClickMatrix1->Items().Item(3));
    EXPECT_EQ(notices.Titles.last(), QStringLiteral("Noch keine Lektion gewählt!"));
}

// A lesson naming languages no profile has opens with one notice in the
// message list, not an error box for each language.
TEST_F(MainWindowTest, MissingLanguageProfilesFallBackWithOneNotice)
{
    logIn();
    QByteArray unit = ReadFile(sourceData + QStringLiteral("/documents/Lektionen/Englisch - Grundwortschatz.qxu"));
    unit.replace("<langcode_home>ger</langcode_home>", "<langcode_home>xxa</langcode_home>");
    unit.replace("<langcode_foreign>eng</langcode_foreign>", "<langcode_foreign>xxb</langcode_foreign>");
    WriteFile(folders.Documents() + QStringLiteral("/Lektionen/Fremd.qxu"), unit);
    const int before = window->MessageFrame()->Count();
    openUnit(QStringLiteral("Fremd.qxu"));
    EXPECT_EQ(dialogs.Errors, QStringList());
    ASSERT_EQ(window->MessageFrame()->Count(), before + 1);
    EXPECT_EQ(window->MessageFrame()->Titles().last(),
              QStringLiteral("Für die in der Lektion verwendeten Sprachen konnten keine Sprachprofile gefunden werden "
                             "(Sprachcodes: \"xxa\", \"xxb\"). Es wird das Standardsprachprofil verwendet."));
    EXPECT_EQ(window->Core().Languages->GetActiveLanguage().LangCode, QStringLiteral("ger"));
}

// "Importieren" from the menu, one file, "Ja" to the offer: the new lesson is the open one.
TEST_F(MainWindowTest, AnImportedLessonOpensWhenTheLearnerSaysSo)
{
    logIn();
    dialogs.FileAnswers.push_back(
        QStringLiteral(QUORVEL_SOURCE_DIR "/tests/fixtures/exchange/corpus/locale_words.kvtml"));
    dialogs.ConfirmAnswers.push_back(true);
    const auto click = [](QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(std::min(8, button->width() / 2), button->height() / 2));
    };
    bool ran = false;
    const TFormDialogMeta::TModalRunner previous = TFormDialogMeta::InstallModalRunner([&](QDialog& shown) {
        auto* wizard = qobject_cast<TFormUnitsImport*>(&shown);
        if (!wizard)
            return 0;
        ran = true;
        wizard->open();
        click(wizard->check_KVTML);
        click(wizard->dxButton3);
        click(wizard->Button_AddFiles);
        click(wizard->check_LanguagesFromSource);
        click(wizard->dxButton3);
        // The import runs on a worker; the offer to open comes with its outcome.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !wizard->Importing(); }, 20000));
        const int result = wizard->result();
        if (wizard->isVisible())
            wizard->reject();
        return result;
    });
    window->DataModule().Action_Unit_Import->trigger();
    TFormDialogMeta::InstallModalRunner(previous);
    ASSERT_TRUE(ran);
    EXPECT_EQ(dialogs.Errors, QStringList());
    ASSERT_TRUE(window->Core().Units->GetActiveUnit().IsOpen);
    EXPECT_EQ(window->Label_ActiveUnit->text(), QStringLiteral("locale_words.qxu"));
    EXPECT_EQ(window->Core().Languages->GetActiveLanguage().LangCode, QStringLiteral("fre"));
    EXPECT_TRUE(qobject_cast<TFormMainMenu*>(window->WindowManager().CurrentWindow()));
}

TEST_F(MainWindowTest, DueStorageCardsAreAnnouncedAndF11TogglesTheBars)
{
    // Two storages with 3 and 4 cards due in the profile's results.
    TQVL_User& user = window->Core().Users->GetActiveUser();
    user.Open(folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs"));
    user.Close();
    {
        TQVL_User offline;
        offline.IntegrityGuard = false;
        offline.Open(folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs"));
        int uid = 1;
        for (const auto& [storage, count] : {std::pair{QStringLiteral("{S1}"), 3}, std::pair{QStringLiteral("{S2}"), 4}}) {
            TQVL_Result_Unit& unit = offline.Results().GetOrCreateUnit(storage);
            unit.longtermstorage = true;
            for (int i = 0; i < count; ++i)
                unit.GetOrCreateCard(uid++);
        }
        offline.IntegrityGuard = true;
        offline.RequestWriteAccess();
        offline.Save();
        offline.CloseFile();
    }
    logIn();
    ASSERT_EQ(window->MessageFrame()->Count(), 1);
    EXPECT_TRUE(window->MessageFrame()->Titles().first().startsWith(QStringLiteral("7 ")));
    EXPECT_EQ(window->MessageFrame()->Titles().first(), QStringLiteral("7 Vokabeln abzufragen"));
    ASSERT_FALSE(window->Core().Units->GetActiveUnit().IsOpen);
    window->MessageFrame()->ClickEntry(0);
    EXPECT_EQ(window->WindowManager().CurrentWindow()->objectName().toStdString(), "FormLongTermStorage")
        << "the message leads to the storages without an open lesson";

    QAction* fullscreen = window->DataModule().Action_Program_Fullscreen;
    fullscreen->trigger();
    EXPECT_FALSE(window->Panel1->isVisible());
    fullscreen->trigger();
    EXPECT_TRUE(window->Panel1->isVisible());
    EXPECT_TRUE(window->Panel2->isVisible());
}

TEST_F(MainWindowTest, AProfileInUseElsewhereIsOpenedReadOnlyAndTheWindowSaysSo)
{
    const QString profile = folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs");
    const QByteArray before = ReadFile(profile);
    {
        // Another program instance has the learner logged in.
        const TQVL_FileHandle other = TQVL_FileHandle::TryOpenWrite(profile);
        ASSERT_TRUE(other.IsValid());
        logIn();
        EXPECT_TRUE(window->Core().Users->GetActiveUser().IsReadOnlySession());
        EXPECT_TRUE(window->Label_ReadOnly->isVisible());
        EXPECT_TRUE(window->statusBar()->currentMessage().contains(QStringLiteral("nur gelesen")));
        ASSERT_GE(window->MessageFrame()->Count(), 1);
        EXPECT_TRUE(window->MessageFrame()->Titles().last().contains(QStringLiteral("\"Lernender.qxs\"")));
    }
    window->Core().Users->GetActiveUser().Close();
    EXPECT_FALSE(window->Label_ReadOnly->isVisible());
    EXPECT_EQ(ReadFile(profile), before) << "nothing of the read-only session is written";
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();

    logIn();
    EXPECT_FALSE(window->Core().Users->GetActiveUser().IsReadOnlySession());
    EXPECT_FALSE(TQVL_FileHandle::TryOpenWrite(profile).IsValid()) << "this session holds the profile";
}

TEST_F(MainWindowTest, EngineNoticesReachTheMessageListAndTheStatusBar)
{
    TQVL_Notices::Show(QStringLiteral("Hinweis"));
    EXPECT_EQ(window->MessageFrame()->Titles().last(), QStringLiteral("Hinweis"));
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("Hinweis"));
}

TEST_F(MainWindowTest, TypedReplacementsOnlyInMarkedFieldsAndCharacterTilesEverywhere)
{
    logIn();
    QByteArray unit = ReadFile(sourceData + QStringLiteral("/documents/Lektionen/Englisch - Grundwortschatz.qxu"));
    unit.replace("<langcode_foreign>eng</langcode_foreign>", "<langcode_foreign>fre</langcode_foreign>");
    WriteFile(folders.Documents() + QStringLiteral("/Lektionen/Franz.qxu"), unit);
    openUnit(QStringLiteral("Franz.qxu"));
    const TQVL_Language& french = window->Core().Languages->GetActiveLanguage();
    ASSERT_TRUE(french.ReplacementsActive);
    ASSERT_TRUE(french.IsReplaceable(QChar(u'ä')));
    const QChar replaced = french.ReplaceChar(QChar(u'ä'));

    QLineEdit marked(window.get()), plain(window.get());
    MarkForeignInput(&marked);
    marked.show();
    plain.show();
    marked.setFocus();
    typeCharacter(marked, QChar(u'ä'));
    EXPECT_EQ(marked.text(), QString(replaced));
    plain.setFocus();
    typeCharacter(plain, QChar(u'ä'));
    EXPECT_EQ(plain.text(), QStringLiteral("ä"));

    if (window->KQ_ClickMatrix1->Items().Count() > 0) {
        window->KQ_ClickMatrix1->SelectItem(window->KQ_ClickMatrix1->Items().Item(0));
        EXPECT_EQ(plain.text(), QStringLiteral("ä") + window->KQ_ClickMatrix1->Items().Item(0)->Caption());
    }
}

TEST(MainWindow, ABrokenInstallationEndsTheStartWithTheReinstallMessage)
{
    TestFolders folders;
    ScriptedDialogService dialogs;
    QDir().mkpath(folders.AppData() + QStringLiteral("/Data")); // not fresh, but Options.xml missing
    TMainForm window;
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.Errors.isEmpty(); }, 10000));
    EXPECT_TRUE(dialogs.Errors.first().startsWith(
        QStringLiteral("Eine zum Betrieb der Anwendung benötigte Datei konnte nicht gefunden werden. Bitte "
                       "installieren Sie die Anwendung neu.\rDatei \"")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));
    EXPECT_FALSE(window.StartedUp());
}

TEST_F(MainWindowTest, ALearnerLogsInChoosesALessonAndSwitchesUser)
{
    auto* selection = qobject_cast<TFormUsersSelect*>(window->WindowManager().CurrentWindow());
    ASSERT_NE(selection, nullptr) << "the first start shows the user selection";
    TKQ_ClickMatrix* tiles = selection->KQ_ClickMatrix1;
    int lernender = -1;
    for (int i = 0; i < tiles->Items().Count(); ++i)
        if (tiles->Items().Item(i)->Caption() == QLatin1String("Lernender"))
            lernender = i;
    ASSERT_GE(lernender, 0);
    tiles->SelectItem(tiles->Items().Item(lernender));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Core().Users->HasActiveUser(); }, 5000));
    EXPECT_EQ(window->Label_ActiveUser->text(), QStringLiteral("Lernender "));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return qobject_cast<TFormMainMenu*>(window->WindowManager().CurrentWindow()) != nullptr; }, 5000));

    window->DataModule().Action_Unit_Select->trigger();
    auto* units = qobject_cast<TFormUnitsSelect*>(window->WindowManager().CurrentWindow());
    ASSERT_NE(units, nullptr);
    QAbstractItemModel* model = units->VST1->model();
    QModelIndex lesson;
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, 0).data().toString().startsWith(QLatin1String("Englisch - Grundwortschatz")))
            lesson = model->index(row, 0);
    ASSERT_TRUE(lesson.isValid());
    units->VST1->setCurrentIndex(lesson);
    units->ChooseFocused();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Core().Units->GetActiveUnit().IsOpen; }, 5000));
    EXPECT_EQ(window->Label_ActiveUnit->text(), QStringLiteral("Englisch - Grundwortschatz.qxu"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return qobject_cast<TFormMainMenu*>(window->WindowManager().CurrentWindow()) != nullptr; }, 5000));

    window->DataModule().Action_UsersSelect->trigger();
    EXPECT_FALSE(window->Core().Users->HasActiveUser());
    EXPECT_TRUE(qobject_cast<TFormUsersSelect*>(window->WindowManager().CurrentWindow()));
}

namespace {

// Clicks once, as a learner would, in the middle of tile `index` of the menu on the current screen.
void clickTile(TMainForm& window, int index)
{
    QWidget* screen = window.WindowManager().CurrentWindow();
    ASSERT_NE(screen, nullptr);
    auto* tiles = screen->findChild<TKQ_ClickMatrix*>(QStringLiteral("KQ_ClickMatrix1"));
    ASSERT_NE(tiles, nullptr) << screen->objectName().toStdString();
    ASSERT_LT(index, tiles->Items().Count());
    QTest::mouseClick(tiles, Qt::LeftButton, {}, tiles->Items().Item(index)->Rect().center());
}

std::string currentScreen(TMainForm& window)
{
    QWidget* screen = window.WindowManager().CurrentWindow();
    return screen ? screen->objectName().toStdString() : std::string();
}

} // namespace

TEST_F(MainWindowTest, OneClickChoosesATileInEveryMenu)
{
    logIn();
    openUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    ASSERT_EQ(currentScreen(*window), "FormMainMenu");
    // (tile clicked on the current menu, the screen it leads to); every menu is left by a tile that is not focused.
    const std::pair<int, const char*> path[] = {{7, "FormMainMenuTwo"}, {0, "FormMainMenu"}, {4, "FormMenuUnitsNew"}};
    for (const auto& [tile, expected] : path) {
        clickTile(*window, tile);
        ASSERT_EQ(currentScreen(*window), expected) << "after tile " << tile;
    }
    // The new-lesson tiles answer with the dialog that asks for the lesson's name.
    QStringList shown;
    const TFormDialogMeta::TModalRunner previous = TFormDialogMeta::InstallModalRunner([&shown](QDialog& dialog) {
        shown << QString::fromLatin1(dialog.metaObject()->className());
        return 0;
    });
    clickTile(*window, 2);
    TFormDialogMeta::InstallModalRunner(previous);
    EXPECT_EQ(shown.size(), 1) << "the new-lesson menu answered the click";

    window->ShowMainMenu();
    clickTile(*window, 1);
    ASSERT_EQ(currentScreen(*window), "FormMenuQuery");
    // The second half of a double click on "Vokabeln abfragen" arrives at the query menu: it starts no query there.
    auto* queryTiles = window->WindowManager().CurrentWindow()->findChild<TKQ_ClickMatrix*>();
    const QPoint second = queryTiles->Items().Item(0)->Rect().center();
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, second, queryTiles->mapToGlobal(second), Qt::LeftButton,
                            Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(queryTiles, &doubleClick);
    ASSERT_EQ(currentScreen(*window), "FormMenuQuery");
    clickTile(*window, 3);
    EXPECT_EQ(currentScreen(*window), "FormQueryMultipleFiles");
}

TEST_F(MainWindowTest, TheArrowKeysMoveOverTheMenuTilesInAllFourDirections)
{
    logIn();
    ASSERT_EQ(currentScreen(*window), "FormMainMenu");
    auto* tiles =
        window->WindowManager().CurrentWindow()->findChild<TKQ_ClickMatrix*>(QStringLiteral("KQ_ClickMatrix1"));
    ASSERT_NE(tiles, nullptr);
    int rowLength = 0;
    while (rowLength < tiles->Items().Count() &&
           tiles->Items().Item(rowLength)->Rect().top() == tiles->Items().Item(0)->Rect().top())
        ++rowLength;
    ASSERT_LT(rowLength, tiles->Items().Count()) << "the main menu has more than one row";
    ASSERT_EQ(tiles->FocusedItem(), tiles->Items().Item(0));
    auto focused = [&] { return tiles->FocusedItem() ? tiles->FocusedItem()->Index() : -1; };
    QTest::keyClick(tiles, Qt::Key_Down);
    EXPECT_EQ(focused(), rowLength) << "Down goes to the tile below";
    QTest::keyClick(tiles, Qt::Key_Right);
    QTest::keyClick(tiles, Qt::Key_Up);
    EXPECT_EQ(focused(), 1);
    QTest::keyClick(tiles, Qt::Key_Left);
    EXPECT_EQ(focused(), 0);

    // The second menu has only tiles that lead somewhere: Left from the first reaches "Quorvel Community".
    QTest::keyClick(tiles, Qt::Key_Left);
    QTest::keyClick(tiles, Qt::Key_Return);
    ASSERT_EQ(currentScreen(*window), "FormMainMenuTwo");
    auto* more =
        window->WindowManager().CurrentWindow()->findChild<TKQ_ClickMatrix*>(QStringLiteral("KQ_ClickMatrix1"));
    ASSERT_NE(more, nullptr);
    for (int i = 0; i < more->Items().Count(); ++i)
        EXPECT_FALSE(more->Items().Item(i)->Caption().isEmpty()) << "tile " << i << " has no caption";
    QTest::keyClick(more, Qt::Key_Left);
    ASSERT_NE(more->FocusedItem(), nullptr);
    EXPECT_EQ(more->FocusedItem()->Caption(), QStringLiteral("Quorvel Community"));
}

TEST_F(MainWindowTest, TheStorageScreenOpensWithoutALesson)
{
    logIn();
    ASSERT_FALSE(window->Core().Units->GetActiveUnit().IsOpen);
    clickTile(*window, 7);
    clickTile(*window, 1);
    EXPECT_EQ(currentScreen(*window), "FormLongTermStorage") << "second menu, tile 1";

}

TEST_F(MainWindowTest, AtItsMinimumSizeTheWindowKeepsEveryButtonOfAScreen)
{
    EXPECT_EQ(window->centralWidget()->height() + window->statusBar()->height(), TMainForm::ClientSize().height())
        << "the client size holds the bars and the status bar";
    EXPECT_EQ(window->width(), TMainForm::ClientSize().width());
    window->resize(640, 480);
    EXPECT_EQ(window->size(), window->minimumSize());

    logIn();
    openUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    clickTile(*window, 1);
    ASSERT_EQ(currentScreen(*window), "FormMenuQuery");
    window->WindowManager().CurrentWindow()->findChild<QCheckBox*>(QStringLiteral("Check_ChangeOptions"))->setChecked(true);
    clickTile(*window, 0);
    ASSERT_EQ(currentScreen(*window), "FormQueryOptions");
    for (const char* name : {"Button_Start", "Button_Abort", "Button_Help"}) {
        auto* button = window->WindowManager().CurrentWindow()->findChild<QPushButton*>(QLatin1String(name));
        ASSERT_NE(button, nullptr) << name;
        const QRect shown(button->mapTo(window->Panel3, QPoint(0, 0)), button->size());
        EXPECT_TRUE(window->Panel3->rect().contains(shown)) << name << " lies outside the screen area";
    }
}

TEST_F(MainWindowTest, EnterPressesTheFocusedButtonAndEscapeGoesBack)
{
    logIn();
    openUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    clickTile(*window, 1);
    ASSERT_EQ(currentScreen(*window), "FormMenuQuery");
    QWidget* menu = window->WindowManager().CurrentWindow();
    QTest::keyClick(menu->findChild<TKQ_ClickMatrix*>(), Qt::Key_Escape);
    ASSERT_EQ(currentScreen(*window), "FormMainMenu") << "Escape is \"Zurück\"";

    clickTile(*window, 1);
    window->WindowManager().CurrentWindow()->findChild<QCheckBox*>(QStringLiteral("Check_ChangeOptions"))->setChecked(true);
    clickTile(*window, 0);
    ASSERT_EQ(currentScreen(*window), "FormQueryOptions");
    QWidget* options = window->WindowManager().CurrentWindow();
    auto* sessions = options->findChild<QWidget*>(QStringLiteral("Combo_QuerySessions"));
    sessions->setFocus();
    QTest::keyClick(sessions, Qt::Key_Escape);
    ASSERT_EQ(currentScreen(*window), "FormMenuQuery") << "Escape is \"Abbruch\"";

    window->WindowManager().CurrentWindow()->findChild<QCheckBox*>(QStringLiteral("Check_ChangeOptions"))->setChecked(true);
    clickTile(*window, 0);
    auto* start = window->WindowManager().CurrentWindow()->findChild<QPushButton*>(QStringLiteral("Button_Start"));
    start->setFocus();
    QTest::keyClick(start, Qt::Key_Return);
    ASSERT_EQ(currentScreen(*window), "FormQueryVoc") << "Enter pressed \"Start!\"";

    QWidget* query = window->WindowManager().CurrentWindow();
    QWidget* answer = query->findChild<QLineEdit*>(QStringLiteral("TntEdit1"));
    ASSERT_NE(answer, nullptr);
    QTest::keyClick(answer, Qt::Key_Escape);
    EXPECT_EQ(currentScreen(*window), "FormQueryResultStatistics") << "Escape is \"Abbruch\"";
}
TEST_F(MainWindowTest, F10AndTheMnemonicsOfEveryMenuOpenTheMenuBarFromTheKeyboard)
{
    QStringList captions;
    for (const QAction* menu : window->menuBar()->actions())
        captions << menu->text();
    EXPECT_EQ(captions,
              (QStringList{QStringLiteral("&Programm"), QStringLiteral("&Benutzer"), QStringLiteral("&Lektion"),
                           QStringLiteral("&Internet"), QStringLiteral("&Hilfe")}));

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    // Which menu a key opened; the menu is closed again.
    auto opened = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(window.get(), key, modifiers);
        (void)QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 2000);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        const QString title = menu ? menu->title() : QStringLiteral("<none>");
        if (menu)
            menu->close();
        window->menuBar()->setActiveAction(nullptr);
        return title.toStdString();
    };
    EXPECT_EQ(opened(Qt::Key_F10, Qt::NoModifier), "&Programm");
    const std::pair<Qt::Key, const char*> mnemonics[] = {{Qt::Key_P, "&Programm"},
                                                         {Qt::Key_B, "&Benutzer"},
                                                         {Qt::Key_L, "&Lektion"},
                                                         {Qt::Key_I, "&Internet"},
                                                         {Qt::Key_H, "&Hilfe"}};
    for (const auto& [key, menu] : mnemonics)
        EXPECT_EQ(opened(key, Qt::AltModifier), menu);
}

// A lesson handed over on the command line (a double-click in a file manager)
// opens once the learner has logged in; one that cannot be opened is reported
// and the learner stays logged in.
TEST(MainWindow, ALessonFromTheCommandLineOpensAfterTheLogin)
{
    qputenv("SDL_AUDIODRIVER", "dummy");
    struct Case {
        QString lesson;
        bool opens;
    };
    for (const Case& c : {Case{QStringLiteral("Englisch - Grundwortschatz.qxu"), true},
                          Case{QStringLiteral("Fehlt.qxu"), false}}) {
        TestFolders folders;
        ScriptedDialogService dialogs;
        NoticeRecorder notices;
        TMainForm window;
        const QString path = folders.Documents() + QStringLiteral("/Lektionen/") + c.lesson;
        window.OpenAfterLogin(path);
        window.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.StartedUp(); }, 10000));
        EXPECT_FALSE(window.Core().Units->GetActiveUnit().IsOpen) << "nothing opens before the login";

        auto* selection = qobject_cast<TFormUsersSelect*>(window.WindowManager().CurrentWindow());
        ASSERT_NE(selection, nullptr);
        TKQ_ClickMatrix* tiles = selection->KQ_ClickMatrix1;
        for (int i = 0; i < tiles->Items().Count(); ++i)
            if (tiles->Items().Item(i)->Caption() == QLatin1String("Lernender"))
                tiles->SelectItem(tiles->Items().Item(i));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.Core().Users->HasActiveUser(); }, 5000));

        EXPECT_EQ(window.Core().Units->GetActiveUnit().IsOpen, c.opens) << c.lesson.toStdString();
        if (c.opens) {
            EXPECT_EQ(window.Label_ActiveUnit->text(), c.lesson);
            EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
        } else {
            ASSERT_EQ(dialogs.Errors.size(), 1);
            EXPECT_TRUE(dialogs.Errors.first().contains(QStringLiteral("Fehlt.qxu"))) << dialogs.Errors.first().toStdString();
        }
        EXPECT_TRUE(window.Core().Users->HasActiveUser());

        // A later login of another user does not open it again.
        window.DataModule().Action_UsersSelect->trigger();
        if (window.Core().Units->GetActiveUnit().IsOpen)
            window.Core().Units->GetActiveUnit().CloseFile();
        window.Core().Users->GetActiveUser().Open(folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs"));
        EXPECT_FALSE(window.Core().Units->GetActiveUnit().IsOpen);
        window.close();
    }
}

// The desktop session ends while a large file is imported: the import stops,
// no lesson is left half-written, and the window closes without a crash.
TEST_F(MainWindowTest, EndingTheProgramDuringAnImportCancelsItAndLeavesNoHalfWrittenLesson)
{
    logIn();
    QByteArray rows;
    for (int i = 0; i < 200000; ++i)
        rows += "Wort;;;word\n";
    const QString large = folders.Root() + QStringLiteral("/Gross.csv");
    WriteFile(large, rows);
    const QString units = TFrameUnitsList::UnitsFolder(window->Core());
    QStringList outcomes;
    bool closedItself = false;
    std::atomic<bool> reading = false;
    const TFormDialogMeta::TModalRunner previous = TFormDialogMeta::InstallModalRunner([&](QDialog& shown) {
        auto* dialog = qobject_cast<TFormUnitsImport*>(&shown);
        if (!dialog)
            return 0;
        dialog->open();
        // Held at its first report until the end of the program cancels it.
        dialog->OnWorkerReport = [&reading](const std::atomic<bool>& cancelled) {
            reading = true;
            QDeadlineTimer limit(20000);
            while (!cancelled.load() && !limit.hasExpired())
                QThread::msleep(1);
        };
        dialog->check_CSV->setChecked(true);
        dialog->Next();
        dialogs.FileAnswers.push_back(large);
        QTest::mouseClick(dialog->Button_AddFiles, Qt::LeftButton);
        dialog->Next();
        dialog->Next();
        EXPECT_TRUE(dialog->Importing());
        EXPECT_TRUE(QTest::qWaitFor([&] { return reading.load(); }, 10000));
        QuorvelApplication::EndOnSignal(*window);
        closedItself = QTest::qWaitFor([&] { return !dialog->isVisible(); }, 20000);
        for (const TFormUnitsImport::Outcome& outcome : dialog->Outcomes())
            outcomes << outcome.Error;
        return dialog->result();
    });
    window->DataModule().Action_Unit_Import->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 20000)) << "the window closed";
    TFormDialogMeta::InstallModalRunner(previous);
    EXPECT_TRUE(closedItself);
    EXPECT_EQ(outcomes, QStringList{QStringLiteral("Abgebrochen. Es wurde keine Lektion angelegt.")});
    EXPECT_TRUE(QDir(units)
                    .entryList({QStringLiteral("Gross*"), QStringLiteral(".*tmp*"), QStringLiteral("*.new")},
                               QDir::Files | QDir::Hidden)
                    .isEmpty());
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
}
