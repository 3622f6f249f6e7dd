// A new lesson of each kind, made the way a learner makes it: the tile of the
// new-lesson menu, the dialog, one card typed into its editor, "Übernehmen &
// Zurück", and then a query over it that takes the typed answer as right.
#include "tests/ui/query/test_QueryFixture.h"

#include "ui/edit/Form_EditGrammar.h"
#include "ui/edit/Form_EditPicture.h"
#include "ui/edit/Form_EditSound.h"
#include "ui/edit/Form_EditVoc.h"
#include "ui/edit/Form_UnitsNew.h"
#include "ui/edit/PictureArea.h"
#include "ui/query/Form_QueryResultMeta.h"
#include "ui/query/Form_Query_Grammar.h"
#include "ui/query/Form_Query_Pic.h"
#include "ui/query/Form_Query_Voc.h"
#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/Form_MainMenu.h"
#include "ui/units/Form_MenuUnitsNew.h"
#include "ui/shell/KQ_ClickMatrix.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>

namespace {

// Types `text` key by key, as a keyboard would (QTest's key clicks know only ASCII).
void typeText(QWidget* field, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(field, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(field, &release);
    }
}

class NewUnitQueryTest : public QueryWindowTest
{
protected:
    void TearDown() override
    {
        TFormDialogMeta::InstallModalRunner(previousRunner);
        QueryWindowTest::TearDown();
    }
    // Chooses the tile `caption` of the new-lesson menu; the dialog gets `name`
    // and, for a grammar lesson, the irregular verbs arrangement.
    TFormEdit* Create(const QString& caption, const QString& name)
    {
        previousRunner = TFormDialogMeta::InstallModalRunner([name](QDialog& dialog) {
            auto* form = qobject_cast<TFormUnitsNew*>(&dialog);
            if (!form)
                return 0;
            dialog.open();
            typeText(form->Edit_Name, name);
            if (form->ComboBox_Arrangement)
                form->ComboBox_Arrangement->setCurrentIndex(
                    form->ComboBox_Arrangement->findText(QStringLiteral("Unregelmäßige"), Qt::MatchContains));
            QTest::mouseClick(form->dxButton3, Qt::LeftButton);
            return dialog.result();
        });
        window->WindowManager().SwitchWindow<TFormMenuUnitsNew>();
        auto* menu = dynamic_cast<TFormMenuUnitsNew*>(Screen());
        EXPECT_NE(menu, nullptr);
        if (!menu)
            return nullptr;
        TKQ_ClickMatrix& tiles = *menu->KQ_ClickMatrix1;
        QTest::qWait(20);
        for (int i = 0; i < tiles.Items().Count(); ++i)
            if (tiles.Items().Item(i)->Caption() == caption)
            {
                QTest::mouseClick(&tiles, Qt::LeftButton, {}, tiles.Items().Item(i)->Rect().center());
                // Where a click only focuses the tile, Enter chooses it.
                if (Screen() == menu && tiles.FocusedItem() == tiles.Items().Item(i))
                    QTest::keyClick(&tiles, Qt::Key_Return);
            }
        return dynamic_cast<TFormEdit*>(Screen());
    }
    // Starts a query over the active unit's cards.
    TFormQueryMeta* StartQuery()
    {
        for (int i = 0; i < Unit().Cards->Count(); ++i)
            Query().Cardpile->AddCard(Unit(), *Unit().Cards->Card(i));
        Query().Cardpile->Units.push_back(&Unit());
        return Start<TFormQueryMeta>();
    }
    static QString Verdict(TFormQueryMeta& screen)
    {
        const TFormQueryResultMeta* result = screen.ResultWindow();
        return result ? result->Label1->text() : QStringLiteral("<no answer window>");
    }

    TFormDialogMeta::TModalRunner previousRunner;
};

void type(QLineEdit* field, const QString& text)
{
    field->setFocus();
    typeText(field, text);
}

} // namespace

TEST_F(NewUnitQueryTest, ANewLessonOfEachKindIsFilledInItsEditorSavedAndQueried)
{
    struct Case
    {
        const char* tile;
        std::function<void(TFormEdit&)> fill;
        std::function<void(TFormQueryMeta&)> answer;
    };
    const auto answerVoc = [](TFormQueryMeta& screen) {
        auto* voc = dynamic_cast<TFormQueryVoc*>(&screen);
        ASSERT_NE(voc, nullptr);
        EXPECT_EQ(voc->TntLabel1->text(), QStringLiteral("dog"));
        type(voc->TntEdit1, QStringLiteral("Hund"));
        QTest::keyClick(voc->TntEdit1, Qt::Key_Return);
    };
    const auto fillVoc = [](TFormEdit& editor) {
        auto& voc = dynamic_cast<TFormEditVoc&>(editor);
        type(voc.TntEdit1, QStringLiteral("dog"));
        type(voc.TntEdit2, QStringLiteral("Hund"));
    };
    const Case cases[] = {
        {"Vokabel-Lektion", fillVoc, answerVoc},
        {"Töne", fillVoc, answerVoc},
        {"Grammatik-Lektion",
         [](TFormEdit& editor) {
             auto& grammar = dynamic_cast<TFormEditGrammar&>(editor);
             ASSERT_FALSE(grammar.Inputs().empty());
             for (const auto& bound : grammar.Inputs())
                 type(bound.Input, QStringLiteral("went"));
         },
         [](TFormQueryMeta& screen) {
             auto* grammar = dynamic_cast<TFormQueryGrammar*>(&screen);
             ASSERT_NE(grammar, nullptr);
             const std::vector<QLineEdit*> fields = grammar->AnswerFields();
             ASSERT_FALSE(fields.empty());
             for (QLineEdit* field : fields)
                 type(field, QStringLiteral("went"));
             QTest::keyClick(fields.back(), Qt::Key_Return);
         }},
        {"Bilder",
         [this](TFormEdit& editor) {
             auto& picture = dynamic_cast<TFormEditPicture&>(editor);
             QImage image(120, 80, QImage::Format_RGB32);
             image.fill(Qt::darkYellow);
             const QString file = picture.GraphicsFolder() + QStringLiteral("/hund.png");
             ASSERT_TRUE(image.save(file));
             dialogs.FileAnswers = {file};
             QTest::mouseClick(picture.Image1, Qt::LeftButton, {}, picture.Image1->rect().center());
             type(picture.TntEdit1, QStringLiteral("Was ist das?"));
             type(picture.TntEdit2, QStringLiteral("Hund"));
         },
         [](TFormQueryMeta& screen) {
             auto* picture = dynamic_cast<TFormQueryPic*>(&screen);
             ASSERT_NE(picture, nullptr);
             ASSERT_TRUE(picture->TntEdit1->isVisible());
             type(picture->TntEdit1, QStringLiteral("Hund"));
             QTest::keyClick(picture->TntEdit1, Qt::Key_Return);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tile);
        const QString name = QStringLiteral("Neu %1").arg(QString::fromUtf8(c.tile));
        TFormEdit* editor = Create(QString::fromUtf8(c.tile), name);
        ASSERT_NE(editor, nullptr);
        c.fill(*editor);
        QTest::mouseClick(editor->Button_SaveAndDone, Qt::LeftButton);
        ASSERT_NE(dynamic_cast<TFormMainMenu*>(Screen()), nullptr);
        TQVL_Unit saved;
        saved.Open(folders.Documents() + QStringLiteral("/Lektionen/") + name + QStringLiteral(".qxu"));
        EXPECT_EQ(saved.Cards->Count(), 1);
        saved.CloseFile();

        TFormQueryMeta* screen = StartQuery();
        ASSERT_NE(screen, nullptr);
        c.answer(*screen);
        EXPECT_EQ(Verdict(*screen), QStringLiteral("R i c h t i g"));
        EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
        window->ShowMainMenu();
        TFormDialogMeta::InstallModalRunner(previousRunner);
    }
}
