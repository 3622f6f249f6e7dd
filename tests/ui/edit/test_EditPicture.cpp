#include "tests/ui/edit/EditFixture.h"

#include "content/QVL_Card_Pic.h"
#include "content/QVL_Card_Pic_ClickArea_Circle.h"
#include "ui/edit/Form_EditPicture.h"
#include "ui/edit/PictureArea.h"
#include "ui/shell/ForeignInput.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStackedWidget>

#include <cmath>

#include <sys/stat.h>

namespace {

class EditPictureTest : public EditorTest
{
protected:
    TFormEditPicture* Open()
    {
        path = MakeUnit(QStringLiteral("Tiere"), tPic);
        OpenUnit(path);
        auto* editor = OpenEditor<TFormEditPicture>();
        QTest::qWait(20);
        return editor;
    }
    // A picture file of `size` in `folder`.
    static QString Picture(const QString& folder, const QString& name, QSize size, QColor colour = Qt::darkGreen)
    {
        QDir().mkpath(folder);
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString file = folder + QLatin1Char('/') + name;
        EXPECT_TRUE(image.save(file));
        return file;
    }
    // Loads `file` by clicking the placeholder, as the learner does.
    void Load(TFormEditPicture& editor, const QString& file)
    {
        dialogs.FileAnswers = {file};
        QTest::mouseClick(editor.Image1, Qt::LeftButton, {}, editor.Image1->rect().center());
    }
    static const TQVL_Card_Pic& Card(const TQVL_Unit& unit, int index)
    {
        return *static_cast<const TQVL_Card_Pic*>(unit.Cards->Card(index));
    }

    QString path;
};

} // namespace

TEST_F(EditPictureTest, AClickPositionOnAScaledPictureIsStoredInPicturePixels)
{
    TFormEditPicture* editor = Open();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Caption(), QStringLiteral("Karte hinzufügen"));
    EXPECT_TRUE(IsForeignInput(editor->TntEdit1));
    EXPECT_TRUE(IsForeignInput(editor->TntEdit2));
    EXPECT_FALSE(editor->Button_SetPosition->isEnabled());
    EXPECT_EQ(editor->ComboBox_Radius->currentText(), QStringLiteral("20"));

    // Larger than the screen: shown scaled down.
    Load(*editor, Picture(UnitsFolder(), QStringLiteral("gross.png"), QSize(3000, 2000)));
    EXPECT_EQ(Card(Unit(), 0).picture_filename, QStringLiteral("gross.png"));
    EXPECT_TRUE(dialogs.Questions.isEmpty()) << "a picture inside the graphics folder is not copied";

    QTest::mouseClick(editor->RadioButton_Click, Qt::LeftButton);
    EXPECT_EQ(editor->PageControl1->currentIndex(), 1);
    editor->ComboBox_Radius->setCurrentIndex(editor->ComboBox_Radius->findText(QStringLiteral("40")));
    Click(editor->Button_SetPosition);
    EXPECT_TRUE(editor->Placing());
    EXPECT_TRUE(editor->Label_Prompt->isVisible());
    const QRect shown = editor->PictureRect();
    ASSERT_LT(shown.width(), 3000);
    EXPECT_NEAR(double(shown.width()) / shown.height(), 1.5, 0.01);
    const QPoint inPicture(shown.width() / 4, shown.height() / 3);
    QTest::mouseClick(editor->Image1, Qt::LeftButton, {}, shown.topLeft() + inPicture);
    EXPECT_FALSE(editor->Placing());
    EXPECT_FALSE(editor->Button_SetPosition->isEnabled());
    EXPECT_TRUE(editor->Button_DeletePosition->isEnabled());

    TQVL_Card_Pic_Clickareas& areas = *Card(Unit(), 0).clickareas;
    ASSERT_EQ(areas.Count(), 1);
    const auto* circle = dynamic_cast<const TQVL_Card_Pic_ClickArea_Circle*>(areas.Item(0));
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->left, std::lround(inPicture.x() * 3000.0 / shown.width()));
    EXPECT_EQ(circle->top, std::lround(inPicture.y() * 2000.0 / shown.height()));
    EXPECT_NEAR(circle->left, 750, 3000.0 / shown.width());
    EXPECT_EQ(circle->radius, 40);

    QTest::keyClicks(editor->TntEdit1, QStringLiteral("Wo ist der Hund?"));
    Click(editor->Button_SaveAndDone);
    TQVL_Unit saved;
    saved.Open(path);
    ASSERT_EQ(saved.Cards->Count(), 1);
    EXPECT_EQ(Card(saved, 0).answer_typ, 1);
    EXPECT_EQ(Card(saved, 0).question, QStringLiteral("Wo ist der Hund?"));
    EXPECT_EQ(Card(saved, 0).clickareas->Count(), 1);
    saved.CloseFile();
}

TEST_F(EditPictureTest, APictureFromElsewhereIsCopiedOnlyAfterYesAndNeverReplacesAnother)
{
    TFormEditPicture* editor = Open();
    ASSERT_NE(editor, nullptr);
    const QString elsewhere = folders.Root() + QStringLiteral("/woanders");
    const QString chosen = Picture(elsewhere, QStringLiteral("katze.png"), QSize(200, 100));
    const QString question = QStringLiteral("Die gewählte Grafik befindet sich nicht in dem für die Lektion "
                                            "festgelegten Grafikverzeichnis \"%1\". Jetzt kopieren?")
                                 .arg(UnitsFolder());

    dialogs.ConfirmAnswers = {false};
    Load(*editor, chosen);
    EXPECT_EQ(dialogs.Questions, QStringList{question});
    EXPECT_EQ(dialogs.Errors,
              QStringList{QStringLiteral("Grafiken müssen sich in dem für die Lektion festgelegten Grafikverzeichnis "
                                         "liegen.")});
    EXPECT_FALSE(QFileInfo::exists(UnitsFolder() + QStringLiteral("/katze.png")));
    EXPECT_EQ(Card(Unit(), 0).picture_filename, QStringLiteral("katze.png"));

    // A different picture of the same name is in the folder already: it stays, the copy gets its own name.
    const QString other = Picture(UnitsFolder(), QStringLiteral("katze.png"), QSize(10, 10), Qt::red);
    const QByteArray otherBytes = ReadFile(other);
    dialogs.ConfirmAnswers = {true};
    dialogs.Errors.clear();
    Load(*editor, chosen);
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    EXPECT_EQ(ReadFile(other), otherBytes);
    EXPECT_EQ(Card(Unit(), 0).picture_filename, QStringLiteral("katze_1.png"));
    EXPECT_EQ(ReadFile(UnitsFolder() + QStringLiteral("/katze_1.png")), ReadFile(chosen));
    EXPECT_EQ(editor->Image1->Picture().size(), QSize(200, 100));
    EXPECT_TRUE(editor->Button_SetPosition->isEnabled());
}

TEST_F(EditPictureTest, APictureNamedAsAFifoIsRefusedInsteadOfHangingTheEditor)
{
    TFormEditPicture* editor = Open();
    ASSERT_NE(editor, nullptr);
    // In the graphics folder, so it is taken as it is: a FIFO nobody writes to.
    const QString fifo = UnitsFolder() + QStringLiteral("/Warteschlange.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0) << fifo.toStdString();
    Load(*editor, fifo);
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_EQ(dialogs.Errors.first(),
              QStringLiteral("Die Grafik \"%1\" kann nicht geladen werden.\rDie Datei \"%1\" wird nicht geöffnet, "
                             "weil sie keine gewöhnliche Datei ist.")
                  .arg(fifo));
    EXPECT_TRUE(editor->Image1->Picture().isNull()) << "the placeholder stays";

    // The editor goes on: a real picture loads in its place.
    dialogs.Errors.clear();
    Load(*editor, Picture(UnitsFolder(), QStringLiteral("klein.png"), QSize(40, 30)));
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    EXPECT_EQ(editor->Image1->Picture().size(), QSize(40, 30));
}

TEST_F(EditPictureTest, KeepTogglesCarryQuestionAndPictureButNoAnswerToTheNewCard)
{
    TFormEditPicture* editor = Open();
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(editor->Action_KeepQuestion->isChecked());
    EXPECT_FALSE(editor->Action_KeepPicture->isChecked());
    Load(*editor, Picture(UnitsFolder(), QStringLiteral("hof.png"), QSize(300, 200)));
    QTest::keyClicks(editor->TntEdit1, QStringLiteral("Wo ist die Kuh?"));
    QTest::mouseClick(editor->RadioButton_Click, Qt::LeftButton);
    Click(editor->Button_SetPosition);
    QTest::mouseClick(editor->Image1, Qt::LeftButton, {}, editor->PictureRect().center());

    // Without the toggles the new card starts empty.
    Click(editor->Button_SaveAndNext);
    EXPECT_TRUE(editor->TntEdit1->text().isEmpty());
    EXPECT_TRUE(editor->Image1->Picture().isNull());

    Click(editor->Button_First);
    editor->Action_KeepQuestion->trigger();
    editor->Action_KeepPicture->trigger();
    Click(editor->Button_SaveAndNext);
    ASSERT_EQ(Unit().Cards->Count(), 2);
    EXPECT_EQ(editor->CardIndex, 1);
    EXPECT_EQ(editor->TntEdit1->text(), QStringLiteral("Wo ist die Kuh?"));
    EXPECT_FALSE(editor->Image1->Picture().isNull());
    const TQVL_Card_Pic& fresh = Card(Unit(), 1);
    EXPECT_EQ(fresh.picture_filename, QStringLiteral("hof.png"));
    EXPECT_EQ(fresh.clickareas->Count(), 0);
    EXPECT_TRUE(fresh.answer_text.isEmpty());
    EXPECT_TRUE(editor->TntEdit2->text().isEmpty());
    EXPECT_TRUE(editor->RadioButton_Text->isChecked());
}

TEST_F(EditPictureTest, AClickAnswerWithoutAreaEnablesOnlySettingAPosition)
{
    TFormEditPicture* editor = Open();
    ASSERT_NE(editor, nullptr);
    auto& card = const_cast<TQVL_Card_Pic&>(Card(Unit(), 0));
    Picture(UnitsFolder(), QStringLiteral("feld.png"), QSize(100, 100));
    card.picture_filename = QStringLiteral("feld.png");
    card.answer_typ = 1;
    card.question = QStringLiteral("?");
    editor->ShowCard(0);
    EXPECT_TRUE(editor->RadioButton_Click->isChecked());
    EXPECT_TRUE(editor->Button_SetPosition->isEnabled());
    EXPECT_FALSE(editor->Button_DeletePosition->isEnabled());
    EXPECT_FALSE(editor->ComboBox_Radius->isEnabled());

    // Placing, then deleting the position, then the text answer.
    Click(editor->Button_SetPosition);
    QTest::mouseClick(editor->Image1, Qt::LeftButton, {}, editor->PictureRect().center());
    EXPECT_EQ(card.clickareas->Count(), 1);
    Click(editor->Button_DeletePosition);
    EXPECT_EQ(card.clickareas->Count(), 0);
    EXPECT_TRUE(editor->Button_SetPosition->isEnabled());
    Click(editor->Button_SetPosition);
    QTest::mouseClick(editor->Image1, Qt::LeftButton, {}, editor->PictureRect().center());
    QTest::mouseClick(editor->RadioButton_Text, Qt::LeftButton);
    EXPECT_EQ(card.clickareas->Count(), 0);
    EXPECT_EQ(editor->PageControl1->currentIndex(), 0);
}

TEST(PictureArea, FitNeverEnlargesAndKeepsTheProportions)
{
    const QRect area(0, 0, 400, 300);
    EXPECT_EQ(TPictureArea::Fit(QSize(200, 100), area), QRect(100, 100, 200, 100));
    EXPECT_EQ(TPictureArea::Fit(QSize(800, 400), area), QRect(0, 50, 400, 200));
    EXPECT_EQ(TPictureArea::Fit(QSize(300, 600), area), QRect(125, 0, 150, 300));
    EXPECT_EQ(TPictureArea::Fit(QSize(1600, 1500), area), QRect(40, 0, 320, 300));
}
