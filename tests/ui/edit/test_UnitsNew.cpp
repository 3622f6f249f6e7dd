#include "tests/ui/edit/EditFixture.h"

#include "ui/edit/Form_EditSound.h"
#include "ui/edit/Form_EditVoc.h"
#include "ui/edit/Form_UnitsNew.h"
#include "ui/units/Form_MenuUnitsNew.h"
#include "ui/shell/FormDataModule.h"
#include "users/QVL_User_Rights.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace {

class UnitsNewTest : public EditorTest
{
protected:
    // Shows the menu of new units and chooses the tile with `caption` with the mouse.
    void ChooseKind(const QString& caption)
    {
        window->WindowManager().SwitchWindow<TFormMenuUnitsNew>();
        auto* menu = dynamic_cast<TFormMenuUnitsNew*>(Screen());
        ASSERT_NE(menu, nullptr);
        TKQ_ClickMatrix& tiles = *menu->KQ_ClickMatrix1;
        QTest::qWait(20);
        int tile = -1;
        for (int i = 0; i < tiles.Items().Count(); ++i)
            if (tiles.Items().Item(i)->Caption() == caption)
                tile = i;
        ASSERT_GE(tile, 0) << caption.toStdString();
        const QPoint centre = tiles.Items().Item(tile)->Rect().center();
        QTest::mouseClick(&tiles, Qt::LeftButton, {}, centre);
        // Where a click only focuses the tile, Enter chooses it.
        if (Screen() == menu && opened == 0 && Notices.isEmpty() && tiles.FocusedItem() == tiles.Items().Item(tile))
            QTest::keyClick(&tiles, Qt::Key_Return);
    }
    // Answers the dialog: types `name`, lets `choose` set the rest, clicks "Ok"
    // (and "Abbruch" when "Ok" left it open).
    void Answer(const QString& name, std::function<void(TFormUnitsNew&)> choose = {})
    {
        runDialog = [this, name, choose](QDialog& dialog) {
            auto* form = qobject_cast<TFormUnitsNew*>(&dialog);
            if (!form)
                return 0;
            ++opened;
            dialog.open();
            titles << form->Label1->text();
            TypeText(form->Edit_Name, name);
            if (choose)
                choose(*form);
            QTest::mouseClick(form->dxButton3, Qt::LeftButton);
            if (dialog.isVisible())
                QTest::mouseClick(form->dxButton2, Qt::LeftButton);
            EXPECT_FALSE(dialog.isVisible());
            return dialog.result();
        };
    }

    int opened = 0;
    QStringList titles;
};

} // namespace

TEST_F(UnitsNewTest, ATileCreatesTheUnitOpensItAndShowsItsEditor)
{
    struct Case
    {
        const char* tile;
        TQVL_CardType typ;
        const char* title;
        bool sound;
    };
    for (const Case& c : {Case{"Vokabel-Lektion", tVoc, "Neue Vokabel-Lektion erstellen", false},
                          Case{"Töne", tSound, "Neue Töne-Lektion erstellen", true}}) {
        SCOPED_TRACE(c.tile);
        opened = 0;
        titles.clear();
        const QString name = QStringLiteral("Meine %1").arg(QString::fromUtf8(c.tile));
        Answer(name, [](TFormUnitsNew& form) {
            // The home language comes preset from the options, English as the foreign one.
            EXPECT_EQ(form.ComboBox_Home->currentData().toString(), QStringLiteral("ger"));
            EXPECT_EQ(form.ComboBox_Foreign->currentData().toString(), QStringLiteral("eng"));
            EXPECT_GE(form.ComboBox_Foreign->findText(QStringLiteral("Französisch")), 0);
            form.ComboBox_Foreign->setCurrentIndex(form.ComboBox_Foreign->findData(QStringLiteral("fre")));
        });
        ChooseKind(QString::fromUtf8(c.tile));
        EXPECT_EQ(opened, 1);
        EXPECT_EQ(titles, QStringList{QString::fromUtf8(c.title)});
        const QString path = UnitsFolder() + QLatin1Char('/') + name + QStringLiteral(".qxu");
        ASSERT_TRUE(Unit().IsOpen);
        EXPECT_EQ(Unit().FileName, path);
        EXPECT_EQ(Unit().Typ, c.typ);
        EXPECT_EQ(Unit().LangCodeForeign, QStringLiteral("fre"));
        EXPECT_EQ(window->Label_ActiveUnit->text(), name + QStringLiteral(".qxu"));
        auto* editor = dynamic_cast<TFormEditVoc*>(Screen());
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(dynamic_cast<TFormEditSound*>(editor) != nullptr, c.sound);
        EXPECT_EQ(editor->Label_Foreign->text(), QStringLiteral("Französische Bedeutungen:"));

        // Filled and saved in its editor.
        editor->TntEdit1->setFocus();
        QTest::keyClicks(editor->TntEdit1, QStringLiteral("maison"));
        QTest::keyClicks(editor->TntEdit2, QStringLiteral("Haus"));
        Click(editor->Button_SaveAndDone);
        EXPECT_EQ(WordsOnDisk(path), QStringList{QStringLiteral("maison=Haus")});
        EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    }
}

TEST_F(UnitsNewTest, ATakenOrInvalidNameIsReportedAndTheDialogStays)
{
    const QString existing = MakeUnit(QStringLiteral("Tiere"), tVoc, {{"cat", "Katze"}});
    const QByteArray before = ReadFile(existing);
    for (const QString& name : {QStringLiteral("Tiere"), QStringLiteral("a/b"), QStringLiteral("  ")}) {
        dialogs.Errors.clear();
        Answer(name);
        ChooseKind(QStringLiteral("Vokabel-Lektion"));
        ASSERT_EQ(dialogs.Errors.size(), 1) << name.toStdString();
        EXPECT_EQ(dynamic_cast<TFormMenuUnitsNew*>(Screen()) != nullptr, true);
        opened = 0;
    }
    EXPECT_EQ(dialogs.Errors.last(), QStringLiteral("Bitte geben Sie eine Bezeichnung für die Lektion ein."));
    EXPECT_EQ(ReadFile(existing), before);
    EXPECT_EQ(QDir(UnitsFolder()).entryList({QStringLiteral("*.qxu")}).size(), 5);
}

TEST_F(UnitsNewTest, APictureUnitMayGetItsOwnFolderAndAGrammarUnitNamesItsArrangement)
{
    Answer(QStringLiteral("Tiere"), [](TFormUnitsNew& form) {
        ASSERT_NE(form.CheckBox_OwnFolder, nullptr);
        EXPECT_EQ(form.ComboBox_Arrangement, nullptr);
        QTest::mouseClick(form.CheckBox_OwnFolder, Qt::LeftButton, {}, QPoint(6, form.CheckBox_OwnFolder->height() / 2));
        EXPECT_TRUE(form.CheckBox_OwnFolder->isChecked());
    });
    ChooseKind(QStringLiteral("Bilder"));
    ASSERT_TRUE(Unit().IsOpen);
    EXPECT_EQ(Unit().Typ, tPic);
    EXPECT_EQ(Unit().ExternalFilesDir, QStringLiteral("Tiere Bilder"));
    EXPECT_TRUE(QFileInfo(UnitsFolder() + QStringLiteral("/Tiere Bilder")).isDir());

    window->ShowMainMenu();
    opened = 0;
    QString chosenUid;
    Answer(QStringLiteral("Verben"), [&chosenUid](TFormUnitsNew& form) {
        ASSERT_NE(form.ComboBox_Arrangement, nullptr);
        ASSERT_GT(form.ComboBox_Arrangement->count(), 0);
        chosenUid = form.ComboBox_Arrangement->currentData().toString();
    });
    ChooseKind(QStringLiteral("Grammatik-Lektion"));
    ASSERT_TRUE(Unit().IsOpen);
    EXPECT_EQ(Unit().Typ, tGrammar);
    EXPECT_EQ(Unit().ArrangementId, chosenUid);
    EXPECT_TRUE(Core().CardArrangements->GetActiveArrangement().IsOpen);
}

TEST_F(UnitsNewTest, WithoutTheRightToEditUnitsNoDialogOpens)
{
    Core().Users->GetActiveUser().Rights().UNITS_EDIT = false;
    Answer(QStringLiteral("Tiere"));
    ChooseKind(QStringLiteral("Vokabel-Lektion"));
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(Notices.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(UnitsFolder() + QStringLiteral("/Tiere.qxu")));
}
