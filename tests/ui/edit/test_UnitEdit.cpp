#include "tests/ui/edit/EditFixture.h"

#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "ui/edit/Form_EditVoc.h"
#include "ui/edit/Form_UnitEdit.h"
#include "ui/shell/FormDataModule.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

class UnitEditTest : public EditorTest
{
protected:
    // Runs "Bearbeiten" with `drive` acting in the dialog.
    void Edit(std::function<void(TFormUnitEdit&)> drive)
    {
        runDialog = [this, drive](QDialog& dialog) {
            auto* form = qobject_cast<TFormUnitEdit*>(&dialog);
            if (!form)
                return 0;
            ++opened;
            dialog.open();
            drive(*form);
            if (dialog.isVisible())
                QTest::mouseClick(form->dxButton2, Qt::LeftButton);
            EXPECT_FALSE(dialog.isVisible());
            return dialog.result();
        };
        window->DataModule().Action_Unit_Edit->trigger();
    }
    static void ShowPage(TFormUnitEdit& form, int page)
    {
        QTabBar* tabs = form.PageControl1->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
        ASSERT_EQ(form.PageControl1->currentIndex(), page);
    }

    int opened = 0;
};

} // namespace

TEST_F(UnitEditTest, CleaningSplitsMeaningsAfterThePreviewAndOnlyOnConfirmation)
{
    const QString path = MakeUnit(QStringLiteral("Wohnen"), tVoc, {{"house", "Haus, Gebäude; Heim"}, {"tree", "Baum"}});
    OpenUnit(path);
    const QByteArray before = ReadFile(path);
    QStringList previewed;
    Edit([&](TFormUnitEdit& form) {
        ShowPage(form, 1);
        EXPECT_TRUE(form.CheckBox_Comma->isChecked());
        QTest::mouseClick(form.CheckBox_Semicolon, Qt::LeftButton, {}, QPoint(6, form.CheckBox_Semicolon->height() / 2));
        ASSERT_EQ(form.Delimiters(), QStringLiteral(",;"));
        EXPECT_FALSE(form.Button_Clean->isEnabled());
        QTest::mouseClick(form.Button_Preview, Qt::LeftButton);
        ASSERT_EQ(form.VST1->topLevelItemCount(), 1);
        previewed << form.VST1->topLevelItem(0)->text(1) << form.VST1->topLevelItem(0)->text(2);
        EXPECT_EQ(form.Label_Changes->text(), QStringLiteral("1 Karten werden geändert."));

        dialogs.ConfirmAnswers = {false};
        QTest::mouseClick(form.Button_Clean, Qt::LeftButton);
        EXPECT_EQ(static_cast<TQVL_Card_Voc*>(Unit().Cards->Card(0))->home1, QStringLiteral("Haus, Gebäude; Heim"));
        EXPECT_EQ(ReadFile(path), before);

        dialogs.ConfirmAnswers = {true};
        QTest::mouseClick(form.Button_Clean, Qt::LeftButton);
        EXPECT_EQ(form.VST1->topLevelItemCount(), 0);
    });
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(previewed, (QStringList{QStringLiteral("house = Haus, Gebäude; Heim"),
                                      QStringLiteral("house = Haus | Gebäude | Heim")}));
    EXPECT_EQ(dialogs.Questions, (QStringList{QStringLiteral("Sollen die 1 Karten jetzt bereinigt werden?"),
                                              QStringLiteral("Sollen die 1 Karten jetzt bereinigt werden?")}));
    TQVL_Unit saved;
    saved.Open(path);
    const auto* house = static_cast<const TQVL_Card_Voc*>(saved.Cards->Card(0));
    EXPECT_EQ(house->home1, QStringLiteral("Haus"));
    EXPECT_EQ(house->home2, QStringLiteral("Gebäude"));
    EXPECT_EQ(house->home3, QStringLiteral("Heim"));
    EXPECT_EQ(static_cast<const TQVL_Card_Voc*>(saved.Cards->Card(1))->home1, QStringLiteral("Baum"));
    saved.CloseFile();
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
}

TEST_F(UnitEditTest, RenamingKeepsTheResultsAndTheMainWindowShowsTheNewName)
{
    const QString path = MakeUnit(QStringLiteral("Tiere"), tVoc, {{"cat", "Katze"}});
    MakeUnit(QStringLiteral("Pflanzen"), tVoc);
    OpenUnit(path);
    const QString uid = Unit().Uid;
    TQVL_Result_User& results = Core().Users->GetActiveUser().Results();
    results.GetOrCreateUnit(uid, path).GetOrCreateCard(1).stage = 3;

    // A taken name is refused and the dialog stays.
    Edit([&](TFormUnitEdit& form) {
        EXPECT_EQ(form.Edit_Name->text(), QStringLiteral("Tiere"));
        EXPECT_EQ(form.ComboBox_Foreign->currentData().toString(), QStringLiteral("eng"));
        form.Edit_Name->selectAll();
        QTest::keyClicks(form.Edit_Name, QStringLiteral("Pflanzen"));
        QTest::mouseClick(form.dxButton3, Qt::LeftButton);
        EXPECT_TRUE(form.isVisible());
    });
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_TRUE(dialogs.Errors.first().contains(QStringLiteral("besteht bereits")));
    EXPECT_EQ(Unit().FileName, path);

    Edit([&](TFormUnitEdit& form) {
        form.Edit_Name->selectAll();
        QTest::keyClicks(form.Edit_Name, QStringLiteral("Haustiere"));
        form.ComboBox_Foreign->setCurrentIndex(form.ComboBox_Foreign->findData(QStringLiteral("fre")));
        QTest::mouseClick(form.dxButton3, Qt::LeftButton);
    });
    const QString renamed = UnitsFolder() + QStringLiteral("/Haustiere.qxu");
    EXPECT_EQ(dialogs.Errors.size(), 1) << dialogs.Errors.join('|').toStdString();
    EXPECT_EQ(opened, 2);
    ASSERT_TRUE(Unit().IsOpen);
    EXPECT_EQ(Unit().FileName, renamed);
    EXPECT_EQ(Unit().Uid, uid);
    EXPECT_EQ(Unit().LangCodeForeign, QStringLiteral("fre"));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(window->Label_ActiveUnit->text(), QStringLiteral("Haustiere.qxu"));
    EXPECT_EQ(Core().Languages->GetActiveLanguage().LangCode, QStringLiteral("fre"));
    const TQVL_Result_Unit* kept = results.FindUnit(uid);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->unit_lastknownfilename, renamed);
    ASSERT_NE(kept->FindCard(1), nullptr);
    EXPECT_EQ(kept->FindCard(1)->stage, 3);
}

TEST_F(UnitEditTest, AnOpenEditorIsLeftFirstWithItsQuestion)
{
    const QString path = MakeUnit(QStringLiteral("Tiere"), tVoc, {{"cat", "Katze"}});
    OpenUnit(path);
    auto* editor = OpenEditor<TFormEditVoc>();
    ASSERT_NE(editor, nullptr);
    editor->TntEdit1->setFocus();
    QTest::keyClicks(editor->TntEdit1, QStringLiteral("dog"));
    dialogs.ChoiceAnswers = {TDialogChoice::Yes};
    Edit([](TFormUnitEdit&) {});
    EXPECT_EQ(dialogs.Questions, QStringList{QStringLiteral("Änderungen an der Lektion speichern?")});
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(WordsOnDisk(path), (QStringList{QStringLiteral("cat=Katze"), QStringLiteral("dog=")}));
}
