// Texts from files are shown as typed: a card, a lesson's or a learner's name
// that looks like HTML is never taken for markup, in labels, tool tips and
// message boxes, on the screens that show cards and in a printout.
#include "content/QVL_Card_Voc.h"
#include "tests/ui/query/test_QueryFixture.h"
#include "tests/ui/shell/SeenText.h"
#include "ui/play/Form_MenuPlay.h"
#include "ui/play/Form_PlayVoc.h"
#include "ui/query/Form_QueryResultVoc.h"
#include "ui/query/Form_Query_Voc.h"
#include "ui/shell/Form_MainMenu.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/MessageBoxDialogService.h"
#include "ui/shell/PlainText.h"
#include "ui/show/Form_ShowVoc.h"

#include <QImage>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include <sys/stat.h>

namespace {

// Texts Qt would take for markup: bold, an entity, a picture, and a comparison
// that looks like a tag.
QStringList markupLike(const QString& picture)
{
    return {QStringLiteral("<b>dog</b>"), QStringLiteral("&lt;"), QStringLiteral("<img src=\"%1\">").arg(picture),
            QStringLiteral("a < b & c > d")};
}

QString writePicture(const QString& path)
{
    QImage dot(4, 4, QImage::Format_RGB32);
    dot.fill(Qt::red);
    EXPECT_TRUE(dot.save(path));
    return path;
}

} // namespace

TEST(PlainText, LabelsAndToolTipsShowMarkupLikeTextsAsTypedAndNeverReadTheFilesTheyName)
{
    TestFolders folders;
    const QString pipe = folders.Root() + QStringLiteral("/pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QStringList texts = markupLike(writePicture(folders.Root() + QStringLiteral("/dot.png")));
    // Last, a pipe nobody writes to: reading it would hang the window for good.
    texts << QStringLiteral("Zeile 1\nZeile <2>") << QStringLiteral("<img src=\"%1\">").arg(pipe);
    for (const QString& text : std::as_const(texts)) {
        QWidget window;
        window.resize(300, 100);
        QLabel* label = AsPlainText(new QLabel(text, &window));
        label->setWordWrap(true);
        window.setToolTip(PlainToolTip(text));
        window.show();
        label->adjustSize();
        window.grab(); // lays out and paints
        EXPECT_EQ(SeenText(*label).toStdString(), text.toStdString());
        EXPECT_EQ(SeenToolTip(window, QPoint(5, 5)).toStdString(), text.toStdString());
    }
    EXPECT_EQ(PlainToolTip(QStringLiteral("Haus & Hof")), QStringLiteral("Haus & Hof")) << "left as it is";
    EXPECT_TRUE(PlainToolTip(QString()).isEmpty());
}

TEST(PlainText, TheRealMessageAndInputBoxesShowTheirTextsAsTyped)
{
    TMessageBoxDialogService boxes;
    const QString text = QStringLiteral("Die Datei \"<b>Lektion</b> &lt;1&gt;.qxu\" kann nicht geöffnet werden.");
    QString seen;
    // Reads the open box's text and closes it with its first button.
    const auto answer = [&] {
        QTimer::singleShot(0, [&] {
            QWidget* open = QApplication::activeModalWidget();
            ASSERT_NE(open, nullptr);
            const auto labels = open->findChildren<QLabel*>();
            for (QLabel* label : labels)
                if (SeenText(*label).contains(QStringLiteral("Lektion")))
                    seen = SeenText(*label);
            if (auto* box = qobject_cast<QMessageBox*>(open))
                box->buttons().constFirst()->click();
            else
                static_cast<QDialog*>(open)->reject();
        });
    };
    const std::function<void()> shows[] = {
        [&] { boxes.ShowError(text); },
        [&] { boxes.ShowInformation(text); },
        [&] { (void)boxes.Confirm(text); },
        [&] { (void)boxes.ConfirmOrCancel(text); },
        [&] { (void)boxes.InputText(QStringLiteral("Quorvel"), text, QString(), false); },
    };
    for (const auto& show : shows) {
        seen.clear();
        answer();
        show();
        EXPECT_EQ(seen.toStdString(), text.toStdString());
    }
}

namespace {

// The main window with the sample learner and a lesson whose cards look like markup.
class PlainCardTextTest : public QueryWindowTest
{
protected:
    void SetUp() override
    {
        QueryWindowTest::SetUp();
        texts = markupLike(writePicture(folders.Root() + QStringLiteral("/dot.png")));
        TQVL_Unit unit;
        unit.Typ = tVoc;
        unit.LangCodeHome = QStringLiteral("ger");
        unit.LangCodeForeign = QStringLiteral("eng");
        // Card n asks text n, is answered by text n+1, has text n+2 as its note and n+3 as its tip.
        for (int n = 0; n < texts.size(); ++n) {
            auto* card = static_cast<TQVL_Card_Voc*>(unit.Cards->NewCard(tVoc));
            card->foreign1 = text(n);
            card->home1 = text(n + 1);
            card->note = text(n + 2);
            card->hint = text(n + 3);
        }
        unit.NewFile(folders.Documents() + QStringLiteral("/Lektionen/Markup.qxu"));
        unit.CloseFile();
        OpenUnit(QStringLiteral("Markup.qxu"));
    }
    QString text(int n) const { return texts.at(n % texts.size()); }
    void clickTile(TKQ_ClickMatrix& tiles, int index)
    {
        QTest::mouseClick(&tiles, Qt::LeftButton, {}, tiles.Items().Item(index)->Rect().center());
    }

    QStringList texts;
};

} // namespace

TEST_F(PlainCardTextTest, TheQueryAndItsAnswerWindowShowTheCardsAsTyped)
{
    Pile({1, 2, 3, 4});
    auto* screen = Start<TFormQueryVoc>();
    ASSERT_NE(screen, nullptr);
    for (int n = 0; n < texts.size(); ++n) {
        SCOPED_TRACE(n);
        ASSERT_EQ(Asked(), Unit().Cards->FindByUid(n + 1));
        EXPECT_TRUE(ShowsAsTyped(*screen, text(n))) << "the question";
        EXPECT_TRUE(ShowsAsTyped(*screen, text(n + 2))) << "the note";
        QTest::mouseClick(screen->Button_Hint, Qt::LeftButton);
        EXPECT_TRUE(ShowsAsTyped(*screen, text(n + 3))) << "the tip";
        QTest::mouseClick(screen->TntEdit1, Qt::LeftButton);
        TypeText(*screen->TntEdit1, QStringLiteral("falsch"));
        QTest::keyClick(screen->TntEdit1, Qt::Key_Return);
        auto* result = dynamic_cast<TFormQueryResultVoc*>(screen->ResultWindow());
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(SeenText(*result->Label_Foreign).toStdString(), text(n).toStdString());
        EXPECT_EQ(SeenText(*result->Label_Home).toStdString(), text(n + 1).toStdString());
        EXPECT_TRUE(ShowsAsTyped(*screen, text(n + 1))) << "the answer";
        QTest::mouseClick(result->Button_Ok, Qt::LeftButton);
    }
}

TEST_F(PlainCardTextTest, TheViewersTipsAndThePlayScreenShowTheCardsAsTyped)
{
    window->ShowMainMenu();
    clickTile(*Screen()->findChild<TKQ_ClickMatrix*>(QStringLiteral("KQ_ClickMatrix1")), 3);
    auto* viewer = qobject_cast<TFormShowVoc*>(Screen());
    ASSERT_NE(viewer, nullptr);
    QTreeView& list = *viewer->VST1;
    for (int row = 0; row < viewer->Model->rowCount(); ++row) {
        for (const int column : {int(TFormShowVoc::colHint), 1}) {
            const QModelIndex cell = viewer->Model->index(row, column);
            list.scrollTo(cell);
            const QString shown = cell.data().toString();
            EXPECT_TRUE(texts.contains(shown)) << shown.toStdString();
            EXPECT_EQ(SeenToolTip(*list.viewport(), list.visualRect(cell).center()).toStdString(), shown.toStdString());
        }
    }

    window->ShowMainMenu();
    clickTile(*Screen()->findChild<TKQ_ClickMatrix*>(QStringLiteral("KQ_ClickMatrix1")), 2);
    auto* menu = dynamic_cast<TFormMenuPlay*>(Screen());
    ASSERT_NE(menu, nullptr);
    clickTile(*menu->KQ_ClickMatrix1, int(TQVL_PlayForm::Together));
    auto* play = dynamic_cast<TFormPlayVoc*>(Screen());
    ASSERT_NE(play, nullptr);
    const auto* card = dynamic_cast<const TQVL_Card_Voc*>(Asked());
    ASSERT_NE(card, nullptr);
    QTest::mouseClick(play->Button_Next, Qt::LeftButton); // the answer
    EXPECT_TRUE(ShowsAsTyped(*play, card->foreign1));
    EXPECT_TRUE(ShowsAsTyped(*play, card->home1));
}
