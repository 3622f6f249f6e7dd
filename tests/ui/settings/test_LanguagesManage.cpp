#include "app/QVL.h"
#include "content/QVL_Language.h"
#include "tests/support/LoggedInCoreTest.h"
#include "tests/support/NoticeRecorder.h"
#include "tests/support/ScriptedDialogService.h"
#include "ui/settings/Form_LanguagesManage.h"
#include "ui/shell/FormDataModule.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/Main.h"
#include "users/QVL_User.h"
#include "users/QVL_User_Rights.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

QTreeWidgetItem* rowWithText(QTreeWidget* list, const QString& text)
{
    const QList<QTreeWidgetItem*> rows = list->findItems(text, Qt::MatchExactly);
    return rows.isEmpty() ? nullptr : rows.front();
}

void click(QTreeWidget* list, QTreeWidgetItem* row, Qt::MouseButton button = Qt::LeftButton)
{
    list->scrollToItem(row);
    QTest::mouseClick(list->viewport(), button, {}, list->visualItemRect(row).center());
}

// Replaces the field's text key by key; QTest's own key clicks know only ASCII.
void type(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(edit, &release);
    }
}

void showPage(QTabWidget* pages, int index)
{
    QTabBar* bar = pages->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

// The installed profiles with the sample learner logged in, and the dialog open.
class LanguagesDialogTest : public LoggedInCoreTest
{
protected:
    QString Profile(const QString& name) const
    {
        return folders.AppData() + QStringLiteral("/Languages/") + name + QStringLiteral(".qxl");
    }
    std::unique_ptr<TQVL_Language> Read(const QString& name) const
    {
        auto language = std::make_unique<TQVL_Language>();
        language->Open(Profile(name));
        return language;
    }
    void Open()
    {
        Dialog = std::make_unique<TFormLanguagesManage>(core);
        Dialog->show();
        // Leaving a field needs a window that has the focus.
        Dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Dialog.get()));
    }
    void Select(const QString& shown)
    {
        QTreeWidgetItem* row = rowWithText(Dialog->VST3, shown);
        ASSERT_TRUE(row) << shown.toStdString();
        click(Dialog->VST3, row);
    }
    // Opens a sample unit with its two profiles, as the main window does.
    void OpenEnglishUnit()
    {
        core.Units->GetActiveUnit().Open(folders.Documents() +
                                         QStringLiteral("/Lektionen/Englisch - Grundwortschatz.qxu"));
        core.OpenUnitLanguages({});
    }
    void TearDown() override
    {
        Dialog.reset();
        core.CloseUnitCompanions();
        LoggedInCoreTest::TearDown();
    }

    ScriptedDialogService Dialogs;
    NoticeRecorder Notices;
    std::unique_ptr<TFormLanguagesManage> Dialog;
};

} // namespace

TEST_F(LanguagesDialogTest, ListsTheProfilesAndLoadsTheChosenOne)
{
    Open();
    EXPECT_EQ(Dialog->Label1->text(), QStringLiteral("Sprachprofile verwalten"));
    EXPECT_EQ(Dialog->VST3->topLevelItemCount(), 10);
    EXPECT_EQ(Dialog->Panel5->text(), QStringLiteral("[Kein Sprachprofil gewählt]"));
    EXPECT_FALSE(Dialog->Panel6->isVisible());
    EXPECT_FALSE(Dialog->dxButton3->isVisible());

    Select(QStringLiteral("Französisch"));
    EXPECT_EQ(Dialog->Panel5->text(), QStringLiteral("Französisch"));
    EXPECT_TRUE(Dialog->Panel6->isVisible());
    EXPECT_TRUE(Dialog->Panel6->isEnabled());
    EXPECT_EQ(Dialog->Edit1->text(), QStringLiteral("Französisch"));
    EXPECT_EQ(Dialog->Combo_LanguageCode->currentText(), QStringLiteral("fre"));
    const QString characters = Read(QStringLiteral("Französisch"))->Characters;
    EXPECT_EQ(Dialog->VST1->topLevelItemCount(), characters.size());
    EXPECT_EQ(Dialog->KQ_ClickMatrix_Preview->Items().Count(), characters.size());
    EXPECT_EQ(Dialog->VST2->topLevelItemCount(), 5);
    EXPECT_EQ(Dialog->VST2->topLevelItem(0)->text(0), QStringLiteral("ä"));
    EXPECT_EQ(Dialog->VST2->topLevelItem(0)->text(1), QStringLiteral("à"));
    EXPECT_EQ(Dialog->Edit_FontBig->text(), QStringLiteral("24"));
    EXPECT_EQ(Dialog->Combo_Font->currentText(), QStringLiteral("Tahoma"));
}

TEST_F(LanguagesDialogTest, TheDialogNeverOpensOnADeleteButton)
{
    Open();
    for (QWidget* button :
         {static_cast<QWidget*>(Dialog->Button_DeleteProfile), static_cast<QWidget*>(Dialog->Button_CharDelete),
          static_cast<QWidget*>(Dialog->Button_ReplacementDelete)})
        EXPECT_TRUE(TFormDialogMeta::IsDestructive(button)) << button->objectName().toStdString();
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    EXPECT_FALSE(TFormDialogMeta::IsDestructive(focused)) << focused->objectName().toStdString();

    // Even where the focus was left on the delete button, the dialog opens on a safe control.
    Dialog = std::make_unique<TFormLanguagesManage>(core);
    Dialog->Button_DeleteProfile->setFocus();
    Dialog->show();
    ASSERT_NE(Dialog->focusWidget(), nullptr);
    EXPECT_FALSE(TFormDialogMeta::IsDestructive(Dialog->focusWidget()))
        << Dialog->focusWidget()->objectName().toStdString();
}

TEST_F(LanguagesDialogTest, ReplacementPairsKeepOnlyTheFirstCharacterOfEachField)
{
    Open();
    Select(QStringLiteral("Französisch"));
    showPage(Dialog->PageControl1, 1);
    // One field empty: nothing is added.
    type(Dialog->TntEdit2, QStringLiteral("qu"));
    QTest::mouseClick(Dialog->Button_ReplacementSet, Qt::LeftButton);
    EXPECT_EQ(Dialog->VST2->topLevelItemCount(), 5);
    type(Dialog->TntEdit3, QStringLiteral("QU"));
    QTest::mouseClick(Dialog->Button_ReplacementSet, Qt::LeftButton);
    ASSERT_EQ(Dialog->VST2->topLevelItemCount(), 6);
    EXPECT_EQ(Dialog->VST2->topLevelItem(5)->text(0), QStringLiteral("q"));
    EXPECT_EQ(Dialog->VST2->topLevelItem(5)->text(1), QStringLiteral("Q"));
    EXPECT_TRUE(Dialog->TntEdit2->text().isEmpty());

    // A chosen row fills both fields; Enter takes the changed pair.
    click(Dialog->VST2, Dialog->VST2->topLevelItem(0));
    EXPECT_EQ(Dialog->TntEdit2->text(), QStringLiteral("ä"));
    EXPECT_EQ(Dialog->Button_ReplacementSet->text(), QStringLiteral("Übernehmen"));
    EXPECT_TRUE(Dialog->Button_ReplacementDelete->isEnabled());
    type(Dialog->TntEdit3, QStringLiteral("âx"));
    QTest::keyClick(Dialog->TntEdit3, Qt::Key_Return);
    EXPECT_TRUE(Dialog->isVisible()) << "Enter belongs to the field, not to Ok";
    EXPECT_EQ(Dialog->VST2->topLevelItem(0)->text(1), QStringLiteral("â"));
    EXPECT_EQ(Dialog->Button_ReplacementSet->text(), QStringLiteral("Hinzufügen"));
    EXPECT_FALSE(Dialog->Button_ReplacementDelete->isEnabled());

    click(Dialog->VST2, Dialog->VST2->topLevelItem(1));
    QTest::mouseClick(Dialog->Button_ReplacementDelete, Qt::LeftButton);
    EXPECT_EQ(Dialog->VST2->topLevelItemCount(), 5);

    Select(QStringLiteral("Englisch"));
    const auto saved = Read(QStringLiteral("Französisch"));
    EXPECT_EQ(saved->ReplacementsFrom, QStringLiteral("äßÄÖq"));
    EXPECT_EQ(saved->ReplacementsTo, QStringLiteral("âçÀŒQ"));
}

TEST_F(LanguagesDialogTest, TheCharacterListIsEditedInPlaceAndPreviewedAsTiles)
{
    Open();
    Select(QStringLiteral("Französisch"));
    const int count = Dialog->VST1->topLevelItemCount();
    click(Dialog->VST1, Dialog->VST1->topLevelItem(0));
    EXPECT_EQ(Dialog->TntEdit1->text(), QStringLiteral("à"));
    EXPECT_EQ(Dialog->Button_CharSet->text(), QStringLiteral("Übernehmen"));
    type(Dialog->TntEdit1, QStringLiteral("áb"));
    QTest::mouseClick(Dialog->Button_CharSet, Qt::LeftButton);
    EXPECT_EQ(Dialog->VST1->topLevelItem(0)->text(0), QStringLiteral("á"));
    EXPECT_EQ(Dialog->KQ_ClickMatrix_Preview->Items().Item(0)->Caption(), QStringLiteral("á"));

    // A right click starts a new entry; Enter adds it at the end.
    click(Dialog->VST1, Dialog->VST1->topLevelItem(1));
    click(Dialog->VST1, Dialog->VST1->topLevelItem(1), Qt::RightButton);
    EXPECT_TRUE(Dialog->TntEdit1->text().isEmpty());
    EXPECT_FALSE(Dialog->Button_CharDelete->isEnabled());
    type(Dialog->TntEdit1, QStringLiteral("ŷ"));
    QTest::keyClick(Dialog->TntEdit1, Qt::Key_Return);
    ASSERT_EQ(Dialog->VST1->topLevelItemCount(), count + 1);
    EXPECT_EQ(Dialog->VST1->topLevelItem(count)->text(0), QStringLiteral("ŷ"));
    EXPECT_EQ(Dialog->KQ_ClickMatrix_Preview->Items().Count(), count + 1);

    click(Dialog->VST1, Dialog->VST1->topLevelItem(1));
    QTest::mouseClick(Dialog->Button_CharDelete, Qt::LeftButton);
    EXPECT_EQ(Dialog->VST1->topLevelItemCount(), count);
    QTest::mouseClick(Dialog->check_CharactersShow, Qt::LeftButton);

    QTest::mouseClick(Dialog->dxButton2, Qt::LeftButton);
    EXPECT_FALSE(Dialog->isVisible());
    const auto saved = Read(QStringLiteral("Französisch"));
    EXPECT_TRUE(saved->Characters.startsWith(QStringLiteral("á")));
    EXPECT_TRUE(saved->Characters.endsWith(QStringLiteral("ŷ")));
    EXPECT_FALSE(saved->Characters.contains(QStringLiteral("â")));
    EXPECT_FALSE(saved->CharactersShow);
}

TEST_F(LanguagesDialogTest, FontSizesTakeDigitsOnlyAndAnEmptiedFieldShowsItsDefault)
{
    Open();
    Select(QStringLiteral("Englisch"));
    showPage(Dialog->PageControl1, 2);
    type(Dialog->Edit_FontSmall, QStringLiteral("1a2"));
    EXPECT_EQ(Dialog->Edit_FontSmall->text(), QStringLiteral("12"));
    type(Dialog->Edit_FontBig, QString());
    type(Dialog->Edit_FontSmall, QString());
    EXPECT_EQ(Dialog->Edit_FontBig->text(), QStringLiteral("24")) << "leaving the field fills it";
    QTest::keyClick(Dialog->Edit_FontSmall, Qt::Key_Tab);
    EXPECT_EQ(Dialog->Edit_FontSmall->text(), QStringLiteral("8"));
    type(Dialog->Edit2, QStringLiteral("Englisch-britisch"));
    QTest::mouseClick(Dialog->Check_UseFont, Qt::LeftButton);

    // Choosing another profile saves this one first.
    Select(QStringLiteral("Deutsch"));
    const auto saved = Read(QStringLiteral("Englisch"));
    EXPECT_EQ(saved->Adjective, QStringLiteral("Englisch-britisch"));
    EXPECT_EQ(saved->SmallFont().Size, 8);
    EXPECT_TRUE(saved->FontUse);
}

TEST_F(LanguagesDialogTest, ACodeOutsideTheListAndAShortReplacementTableSurviveASave)
{
    QByteArray bytes = ReadFile(Profile(QStringLiteral("Latein")));
    bytes.replace("<langcode>lat</langcode>", "<langcode>qla</langcode>");
    const qsizetype to = bytes.indexOf("<to>") + 4;
    ASSERT_GT(to, 4);
    bytes.replace(to, bytes.indexOf("</to>") - to, "");
    WriteFile(Profile(QStringLiteral("Latein")), bytes);
    const auto before = Read(QStringLiteral("Latein"));
    ASSERT_FALSE(before->ReplacementsFrom.isEmpty());

    Open();
    Select(QStringLiteral("Latein"));
    EXPECT_EQ(Dialog->Combo_LanguageCode->currentIndex(), -1);
    EXPECT_EQ(Dialog->Combo_LanguageCode->placeholderText(), QStringLiteral("qla"));
    EXPECT_TRUE(Dialog->VST2->topLevelItem(0)->text(1).isEmpty()) << "no target stored";
    type(Dialog->Edit1, QStringLiteral("Latein (klassisch)"));
    Select(QStringLiteral("Deutsch"));

    const auto saved = Read(QStringLiteral("Latein"));
    EXPECT_EQ(saved->LangCode, QStringLiteral("qla"));
    EXPECT_EQ(saved->Name, QStringLiteral("Latein (klassisch)"));
    EXPECT_EQ(saved->ReplacementsTo, before->ReplacementsFrom) << "every source keeps a target: itself";
    EXPECT_TRUE(rowWithText(Dialog->VST3, QStringLiteral("Latein (klassisch)"))) << "the list follows the new name";
}

TEST_F(LanguagesDialogTest, ProfilesOfTheOpenUnitAreEditedInPlaceAndReopenedOnClose)
{
    OpenEnglishUnit();
    TQVL_Language& active = core.Languages->GetActiveLanguage();
    int opened = 0;
    core.Languages->OnFileOpened = [&] { ++opened; };
    Open();
    Select(QStringLiteral("Englisch"));
    EXPECT_EQ(Dialog->Panel5->text(), QStringLiteral("Englisch [Verwendet]"));
    EXPECT_EQ(Dialog->Profile(), &active);
    Select(QStringLiteral("Deutsch"));
    EXPECT_EQ(Dialog->Panel5->text(), QStringLiteral("Deutsch [Verwendet]"));
    EXPECT_EQ(Dialog->Profile(), core.Languages->HomeLanguage.get());
    type(Dialog->Edit3, QStringLiteral("Hochdeutsche"));
    Select(QStringLiteral("Englisch"));
    EXPECT_EQ(core.Languages->HomeLanguage->AdjectivePlural, QStringLiteral("Hochdeutsche"));
    EXPECT_FALSE(core.Languages->HomeLanguage->WriteAccess) << "saved and let go";
    type(Dialog->TntEdit1, QStringLiteral("þ"));
    QTest::mouseClick(Dialog->Button_CharSet, Qt::LeftButton);

    QTest::mouseClick(Dialog->dxButton2, Qt::LeftButton);
    EXPECT_FALSE(Dialog->isVisible());
    EXPECT_EQ(opened, 1) << "the main window hears of the edited profile";
    EXPECT_TRUE(active.IsOpen);
    EXPECT_FALSE(active.WriteAccess);
    EXPECT_TRUE(active.Characters.endsWith(QStringLiteral("þ")));
}

TEST_F(LanguagesDialogTest, AFailedSaveLeavesTheProfileInUseAsItWasAndTheDialogOpen)
{
    OpenEnglishUnit();
    TQVL_Language& active = core.Languages->GetActiveLanguage();
    const QString characters = active.Characters;
    Open();
    Select(QStringLiteral("Englisch"));
    type(Dialog->TntEdit1, QStringLiteral("þ"));
    QTest::mouseClick(Dialog->Button_CharSet, Qt::LeftButton);
    type(Dialog->Edit2, QStringLiteral("Britisch"));

    // A folder where the file was: the rename of the save cannot replace it.
    const QString path = Profile(QStringLiteral("Englisch"));
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/x")));
    QTest::mouseClick(Dialog->dxButton2, Qt::LeftButton);
    EXPECT_TRUE(Dialog->isVisible());
    ASSERT_EQ(Dialogs.Errors.size(), 1);
    EXPECT_TRUE(
        Dialogs.Errors.first().startsWith(QStringLiteral("Fehler beim Speichern des Sprachprofils \"Englisch\"!\r")))
        << Dialogs.Errors.first().toStdString();
    EXPECT_EQ(active.Characters, characters) << "the main window must not show what was never saved";
    EXPECT_NE(active.Adjective, QStringLiteral("Britisch"));
    EXPECT_EQ(Dialog->Profile(), &active);
    EXPECT_EQ(Dialog->VST1->topLevelItemCount(), characters.size() + 1) << "the pages keep what was typed";

    ASSERT_TRUE(QDir(path).removeRecursively());
    QTest::mouseClick(Dialog->dxButton2, Qt::LeftButton);
    EXPECT_FALSE(Dialog->isVisible());
    EXPECT_EQ(Dialogs.Errors.size(), 1);
    EXPECT_EQ(active.Characters, characters + QStringLiteral("þ"));
    EXPECT_EQ(active.Adjective, QStringLiteral("Britisch"));
}

TEST_F(LanguagesDialogTest, DeletingNeedsTheRightTheConfirmationAndAProfileNotInUse)
{
    OpenEnglishUnit();
    Open();
    TQVL_User_Rights& rights = core.Users->GetActiveUser().Rights();
    rights.LANGUAGES_DELETE = false;
    Select(QStringLiteral("Türkisch"));
    QTest::mouseClick(Dialog->Button_DeleteProfile, Qt::LeftButton);
    EXPECT_EQ(Notices.Titles, QStringList{QStringLiteral("Keine Rechte")});
    EXPECT_TRUE(Dialogs.Questions.isEmpty());

    rights.LANGUAGES_DELETE = true;
    Select(QStringLiteral("Deutsch"));
    QTest::mouseClick(Dialog->Button_DeleteProfile, Qt::LeftButton);
    EXPECT_EQ(Dialogs.Errors.takeFirst(),
              QStringLiteral("Profil kann nicht gelöscht werden, das es gerade verwendet wird."));
    EXPECT_TRUE(QFileInfo::exists(Profile(QStringLiteral("Deutsch"))));

    Select(QStringLiteral("Türkisch"));
    Dialogs.ConfirmAnswers = {false, true};
    QTest::mouseClick(Dialog->Button_DeleteProfile, Qt::LeftButton);
    EXPECT_EQ(Dialogs.Questions.last(), QStringLiteral("Wollen Sie wirklich das Profil \"Türkisch\" löschen?"));
    EXPECT_EQ(Dialogs.Errors, QStringList{QStringLiteral("Abbruch durch Benutzer")});
    EXPECT_TRUE(QFileInfo::exists(Profile(QStringLiteral("Türkisch"))));

    QTest::mouseClick(Dialog->Button_DeleteProfile, Qt::LeftButton);
    EXPECT_FALSE(QFileInfo::exists(Profile(QStringLiteral("Türkisch"))));
    EXPECT_EQ(Dialog->VST3->topLevelItemCount(), 9);
    EXPECT_FALSE(Dialog->Panel6->isVisible());
    EXPECT_EQ(Dialog->Profile(), nullptr);
}

TEST_F(LanguagesDialogTest, AProfileHeldElsewhereIsShownReadOnlyAndNotSaved)
{
    TQVL_Language other;
    other.Open(Profile(QStringLiteral("Spanisch")));
    ASSERT_TRUE(other.RequestWriteAccess());
    const QByteArray before = ReadFile(Profile(QStringLiteral("Spanisch")));
    Open();
    Select(QStringLiteral("Spanisch"));
    EXPECT_EQ(Dialog->Panel5->text(), QStringLiteral("Spanisch [Schreibgeschützt]"));
    EXPECT_FALSE(Dialog->Panel6->isEnabled());
    Select(QStringLiteral("Deutsch"));
    EXPECT_TRUE(Dialogs.Errors.isEmpty()) << Dialogs.Errors.join('|').toStdString();
    EXPECT_EQ(ReadFile(Profile(QStringLiteral("Spanisch"))), before);
    other.CloseFile();
}

TEST_F(LanguagesDialogTest, ANewProfileIsCreatedAndOpenedForEditing)
{
    core.Users->GetActiveUser().Rights().LANGUAGES_NEW = false;
    Open();
    QTest::mouseClick(Dialog->Button_AddProfile, Qt::LeftButton);
    EXPECT_EQ(Notices.Titles, QStringList{QStringLiteral("Keine Rechte")});

    core.Users->GetActiveUser().Rights().LANGUAGES_NEW = true;
    Dialogs.InputAnswers = {QStringLiteral("Kroatisch"), QStringLiteral("kroatisch")};
    QTest::mouseClick(Dialog->Button_AddProfile, Qt::LeftButton);
    EXPECT_EQ(Dialog->VST3->topLevelItemCount(), 11);
    EXPECT_EQ(Dialog->Panel5->text(), QStringLiteral("Kroatisch"));
    EXPECT_TRUE(Dialog->Panel6->isVisible());
    EXPECT_EQ(Dialog->Combo_LanguageCode->currentIndex(), -1) << "the learner chooses the code";
    Dialog->Combo_LanguageCode->setFocus();
    QTest::keyClicks(Dialog->Combo_LanguageCode, QStringLiteral("hrv"));
    EXPECT_EQ(Dialog->Combo_LanguageCode->currentText(), QStringLiteral("hrv"));

    // The same name again is refused and the first one is saved.
    QTest::mouseClick(Dialog->Button_AddProfile, Qt::LeftButton);
    EXPECT_EQ(Dialogs.Errors,
              QStringList{QStringLiteral("Ein Sprachprofil mit der Bezeichnung \"kroatisch\" besteht bereits!")});
    EXPECT_EQ(Read(QStringLiteral("Kroatisch"))->LangCode, QStringLiteral("hrv"));
}

// The main window applies the edited special characters as soon as the dialog closes.
TEST(LanguagesDialogInMainWindow, TheSpecialCharacterBarFollowsTheEditedProfile)
{
    TestFolders folders;
    ScriptedDialogService dialogs;
    qputenv("SDL_AUDIODRIVER", "dummy");
    TMainForm window;
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.StartedUp(); }, 10000));
    window.Core().Users->GetActiveUser().Open(folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs"));
    window.Core().Units->GetActiveUnit().Open(folders.Documents() +
                                              QStringLiteral("/Lektionen/Englisch - Grundwortschatz.qxu"));
    const int before = window.KQ_ClickMatrix1->Items().Count();

    const auto previous = TFormDialogMeta::InstallModalRunner([&](QDialog& shown) {
        auto* dialog = qobject_cast<TFormLanguagesManage*>(&shown);
        if (!dialog)
            return 0;
        dialog->show();
        click(dialog->VST3, rowWithText(dialog->VST3, QStringLiteral("Englisch")));
        QTest::mouseClick(dialog->check_CharactersShow, Qt::LeftButton);
        type(dialog->TntEdit1, QStringLiteral("ʃ"));
        QTest::mouseClick(dialog->Button_CharSet, Qt::LeftButton);
        QTest::mouseClick(dialog->dxButton2, Qt::LeftButton);
        EXPECT_FALSE(dialog->isVisible());
        return dialog->result();
    });
    window.DataModule().Action_LanguagesManage->trigger();
    TFormDialogMeta::InstallModalRunner(previous);

    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    ASSERT_GT(window.KQ_ClickMatrix1->Items().Count(), before);
    EXPECT_EQ(window.KQ_ClickMatrix1->Items().Item(window.KQ_ClickMatrix1->Items().Count() - 1)->Caption(),
              QStringLiteral("ʃ"));
    window.close();
}
