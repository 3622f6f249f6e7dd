#include "app/QVL.h"
#include "tests/support/LoggedInCoreTest.h"
#include "tests/support/ScriptedDialogService.h"
#include "ui/settings/Form_Options.h"
#include "ui/shell/FormDataModule.h"
#include "ui/shell/Main.h"
#include "users/QVL_Options.h"
#include "users/QVL_User.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace {

class OptionsDialogTest : public LoggedInCoreTest
{
protected:
    QString OptionsFile() const { return folders.AppData() + QStringLiteral("/Data/Options.xml"); }

    std::unique_ptr<TFormOptions> Open()
    {
        auto dialog = std::make_unique<TFormOptions>(core);
        dialog->show();
        return dialog;
    }
    static void Choose(TFormOptions& dialog, const QString& category)
    {
        const QList<QTreeWidgetItem*> rows = dialog.VST_Categories->findItems(category, Qt::MatchExactly);
        ASSERT_EQ(rows.size(), 1) << category.toStdString();
        QTest::mouseClick(dialog.VST_Categories->viewport(), Qt::LeftButton, {},
                          dialog.VST_Categories->visualItemRect(rows.front()).center());
    }
    static void Type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }

    ScriptedDialogService dialogs;
};

} // namespace

TEST_F(OptionsDialogTest, ShowsTheStoredOptionsPageByPageAndAppliesWhatWasTyped)
{
    const auto dialog = Open();
    EXPECT_EQ(dialog->Label1->text(), QStringLiteral("Programmeinstellungen"));
    EXPECT_EQ(dialog->Panel5->text(), QStringLiteral("Allgemein"));
    EXPECT_EQ(dialog->VST_Categories->topLevelItemCount(), 6);
    EXPECT_FALSE(dialog->check_Updates->isChecked());
    EXPECT_EQ(dialog->Combo_HomeLangCode->currentText(), QStringLiteral("Deutsch")) << "the installed code is ger";
    EXPECT_FALSE(dialog->Combo_InterfaceLanguage->isEnabled());
    EXPECT_TRUE(core.Options->WriteAccess) << "held while the dialog is open";

    const std::pair<const char*, QWidget*> pages[] = {
        {"Vorspielen", dialog->edit_play_intervall_question},
        {"Lektionen", dialog->edit_UnitsDir},
        {"Benutzer", dialog->edit_UserProfilesDir},
        {"Abfrage", dialog->Edit_QueryDelimiter},
        {"Allgemein", dialog->check_Updates},
        {"Synchronisation", dialog->check_Sync_Folder},
    };
    for (const auto& [category, control] : pages) {
        Choose(*dialog, QString::fromUtf8(category));
        EXPECT_EQ(dialog->Panel5->text(), QString::fromUtf8(category));
        EXPECT_TRUE(control->isVisible()) << category;
    }
    EXPECT_TRUE(dialog->check_UserManagement_Active->isChecked());
    EXPECT_EQ(dialog->edit_UnitsDir->text(), QStringLiteral("Lektionen"));

    QTest::mouseClick(dialog->check_Updates, Qt::LeftButton);
    Choose(*dialog, QStringLiteral("Vorspielen"));
    // Only digits get into the display times.
    Type(dialog->edit_play_intervall_question, QStringLiteral("15x0a0"));
    EXPECT_EQ(dialog->edit_play_intervall_question->text(), QStringLiteral("1500"));
    Choose(*dialog, QStringLiteral("Abfrage"));
    Type(dialog->Edit_QueryDelimiter, QStringLiteral(","));
    QDir().mkpath(folders.Root() + QStringLiteral("/Woanders"));
    Choose(*dialog, QStringLiteral("Lektionen"));
    Type(dialog->edit_UnitsDir, folders.Root() + QStringLiteral("/Woanders"));

    QTest::mouseClick(dialog->dxButton3, Qt::LeftButton);
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(core.Options->WriteAccess);
    TQVL_Options written;
    written.Open(OptionsFile());
    EXPECT_TRUE(written.updates_autosearch);
    EXPECT_EQ(written.play_series_showquestionintervall, 1500);
    EXPECT_EQ(written.play_series_showanswerintervall, 3000);
    EXPECT_EQ(written.query_delimiter, QStringLiteral(","));
    EXPECT_EQ(written.units_directory, folders.Root() + QStringLiteral("/Woanders"));
    EXPECT_FALSE(written.units_directory_relative);
    EXPECT_EQ(written.languages_langcode_home, QStringLiteral("ger"));
    EXPECT_EQ(written.community_url, QStringLiteral("https://community.quorvel.example/")) << "not shown, kept";
    written.CloseFile();
}

TEST_F(OptionsDialogTest, TheCategoryListShowsWhenItHasTheFocusAndTheArrowsMoveThroughIt)
{
    auto dialog = std::make_unique<TFormOptions>(core);
    dialog->show();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    QTreeWidget* list = dialog->VST_Categories;
    dialog->dxButton1->setFocus();
    const QImage elsewhere = list->viewport()->grab().toImage();
    list->setFocus();
    ASSERT_TRUE(list->hasFocus());
    EXPECT_NE(list->viewport()->grab().toImage(), elsewhere) << "the focused list looks like the unfocused one";
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(dialog->Pages->currentIndex(), 1);
}

TEST_F(OptionsDialogTest, ARefusedFolderKeepsTheDialogOpenAndWritesNothing)
{
    const QByteArray before = ReadFile(OptionsFile());
    const auto dialog = Open();
    QTest::mouseClick(dialog->check_SoundDisabled, Qt::LeftButton);
    Choose(*dialog, QStringLiteral("Benutzer"));
    Type(dialog->edit_UserProfilesDir, QStringLiteral("Nirgends"));
    QTest::mouseClick(dialog->dxButton3, Qt::LeftButton);
    EXPECT_EQ(dialogs.Errors, QStringList{QStringLiteral("Benutzerprofil-Verzeichnis \"%1/Nirgends\" nicht gefunden!")
                                              .arg(folders.Documents())});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(ReadFile(OptionsFile()), before);
    EXPECT_FALSE(core.Options->sound_disabled) << "no option changes before all fields passed";

    QTest::mouseClick(dialog->dxButton2, Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(ReadFile(OptionsFile()), before);
    EXPECT_FALSE(core.Options->WriteAccess) << "Abbruch lets go of the file";
    TQVL_Options other;
    other.Open(OptionsFile());
    EXPECT_TRUE(other.RequestWriteAccess());
    other.CloseFile();
}

TEST_F(OptionsDialogTest, OptionsHeldByAnotherInstanceLeaveTheSettingsGreyAndEmpty)
{
    TQVL_Options other;
    other.Open(OptionsFile());
    ASSERT_TRUE(other.RequestWriteAccess());
    const QByteArray before = ReadFile(OptionsFile());
    const auto dialog = Open();
    EXPECT_FALSE(dialog->Writable());
    EXPECT_FALSE(dialog->Pages->isEnabled());
    EXPECT_FALSE(dialog->dxButton3->isEnabled());
    EXPECT_EQ(dialog->Panel5->text(), QStringLiteral("Allgemein [Schreibgeschützt]"));
    EXPECT_TRUE(dialog->edit_UnitsDir->text().isEmpty());
    EXPECT_EQ(dialog->Combo_HomeLangCode->count(), 0);
    // The categories still show their pages.
    Choose(*dialog, QStringLiteral("Lektionen"));
    EXPECT_EQ(dialog->Panel5->text(), QStringLiteral("Lektionen [Schreibgeschützt]"));

    QTest::keyClick(dialog.get(), Qt::Key_Return);
    QTest::mouseClick(dialog->dxButton3, Qt::LeftButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(ReadFile(OptionsFile()), before);
    EXPECT_EQ(core.Options->units_directory, QStringLiteral("Lektionen"));
    other.CloseFile();
}

TEST_F(OptionsDialogTest, AChosenProfileLogsInAutomaticallyAtTheNextStart)
{
    dialogs.FileAnswers.push_back(ProfilePath());
    const auto dialog = Open();
    Choose(*dialog, QStringLiteral("Benutzer"));
    QTest::mouseClick(dialog->Button_UsersProfile, Qt::LeftButton);
    EXPECT_EQ(dialog->edit_UsersProfile->text(), ProfilePath());
    EXPECT_TRUE(dialog->check_UserManagement_UseProfile->isChecked());
    QTest::mouseClick(dialog->dxButton3, Qt::LeftButton);
    ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();

    // The next start reads the options anew and opens the profile without asking.
    core.Users->GetActiveUser().Close();
    core.Options->CloseFile();
    core.Options->Open(OptionsFile());
    bool asked = false;
    core.OnUserSelectionRequired = [&] { asked = true; };
    core.AutoloadUser();
    EXPECT_FALSE(asked);
    ASSERT_TRUE(core.Users->HasActiveUser());
    EXPECT_EQ(core.Users->GetActiveUser().FileName, ProfilePath());
}

TEST_F(OptionsDialogTest, TheFolderPickersReplaceTheFields)
{
    dialogs.FileAnswers = {folders.Root(), QString()};
    const auto dialog = Open();
    Choose(*dialog, QStringLiteral("Lektionen"));
    QTest::mouseClick(dialog->Button_UnitsDir, Qt::LeftButton);
    EXPECT_EQ(dialog->edit_UnitsDir->text(), folders.Root());
    Choose(*dialog, QStringLiteral("Benutzer"));
    QTest::mouseClick(dialog->Button_UserProfilesDir, Qt::LeftButton);
    EXPECT_EQ(dialog->edit_UserProfilesDir->text(), QStringLiteral("Benutzer")) << "cancelled: unchanged";
}

TEST(OptionsInMainWindow, TheUpdateSearchStartsFromTheNextLogin)
{
    TestFolders folders;
    ScriptedDialogService dialogs;
    qputenv("SDL_AUDIODRIVER", "dummy");
    TMainForm window;
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.StartedUp(); }, 10000));
    std::atomic<int> searches{0};
    window.Core().UpdateSearch = [&](const QString&, const QString&) {
        ++searches;
        return false;
    };
    const QString profile = folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs");
    window.Core().Users->GetActiveUser().Open(profile);

    const auto previous = TFormDialogMeta::InstallModalRunner([&](QDialog& shown) {
        auto* dialog = qobject_cast<TFormOptions*>(&shown);
        if (!dialog)
            return 0;
        dialog->show();
        QTest::mouseClick(dialog->check_Updates, Qt::LeftButton);
        QTest::mouseClick(dialog->dxButton3, Qt::LeftButton);
        EXPECT_FALSE(dialog->isVisible());
        return dialog->result();
    });
    window.DataModule().Action_Program_Options->trigger();
    TFormDialogMeta::InstallModalRunner(previous);
    ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    EXPECT_TRUE(window.Core().Options->updates_autosearch);
    EXPECT_EQ(searches, 0) << "not before the next login";

    window.DataModule().Action_UsersSelect->trigger();
    window.Core().Users->GetActiveUser().Open(profile);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.Label_Status->text() == QStringLiteral("Keine Updates vorhanden."); },
                                5000))
        << window.Label_Status->text().toStdString();
    EXPECT_EQ(searches, 1);
    window.close();
}

TEST_F(OptionsDialogTest, SyncThroughAFolderChosenInThePicker)
{
    const QString shared = folders.Root() + QStringLiteral("/Wolke");
    QDir().mkpath(shared);
    const auto dialog = Open();
    Choose(*dialog, QStringLiteral("Synchronisation"));
    EXPECT_TRUE(dialog->check_Sync_Off->isChecked()) << "off unless the learner switches it on";
    EXPECT_FALSE(dialog->edit_SyncFolder->isEnabled());
    EXPECT_FALSE(dialog->Button_SyncFolder->isEnabled());

    // Switched on without a folder: refused, nothing written.
    const QByteArray before = ReadFile(OptionsFile());
    QTest::mouseClick(dialog->check_Sync_Folder, Qt::LeftButton);
    EXPECT_TRUE(dialog->edit_SyncFolder->isEnabled());
    QTest::mouseClick(dialog->dxButton3, Qt::LeftButton);
    EXPECT_EQ(dialogs.Errors, QStringList{QStringLiteral("Bitte wählen Sie den Ordner für die Synchronisation!")});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(ReadFile(OptionsFile()), before);

    // A cancelled picker keeps the field; a chosen folder fills it.
    Type(dialog->edit_SyncFolder, QStringLiteral("/nirgends"));
    QTest::mouseClick(dialog->Button_SyncFolder, Qt::LeftButton);
    EXPECT_EQ(dialog->edit_SyncFolder->text(), QStringLiteral("/nirgends"));
    dialogs.FileAnswers.push_back(shared + QStringLiteral("/"));
    QTest::mouseClick(dialog->Button_SyncFolder, Qt::LeftButton);
    EXPECT_EQ(dialog->edit_SyncFolder->text(), shared);
    QTest::mouseClick(dialog->dxButton3, Qt::LeftButton);
    ASSERT_EQ(dialogs.Errors.size(), 1) << dialogs.Errors.join('|').toStdString();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(core.Options->SharedSyncFolder(), shared);
    TQVL_Options written;
    written.Open(OptionsFile());
    EXPECT_EQ(written.SharedSyncFolder(), shared);
    written.CloseFile();

    // Shown again as stored; switched off it keeps the folder for later.
    const auto again = Open();
    Choose(*again, QStringLiteral("Synchronisation"));
    EXPECT_TRUE(again->check_Sync_Folder->isChecked());
    EXPECT_EQ(again->edit_SyncFolder->text(), shared);
    // On its short caption, not the empty rest of its row.
    QTest::mouseClick(again->check_Sync_Off, Qt::LeftButton, {}, QPoint(8, again->check_Sync_Off->height() / 2));
    EXPECT_FALSE(again->Button_SyncFolder->isEnabled());
    QTest::mouseClick(again->dxButton3, Qt::LeftButton);
    EXPECT_EQ(core.Options->SharedSyncFolder(), QString());
    EXPECT_EQ(core.Options->sync_folder, shared);
}
