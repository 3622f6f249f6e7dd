// The picture window: clicks inside and outside the click areas, the areas
// drawn over the picture with the answer, typed answers, and the slim or
// taller answer window.
#include "content/QVL_Card_Pic.h"
#include "tests/ui/query/test_QueryFixture.h"
#include "ui/query/Form_QueryResultPic.h"
#include "ui/query/Form_QueryResultStatistics.h"
#include "ui/query/Form_Query_Pic.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

class PictureQueryTest : public QueryWindowTest
{
protected:
    TFormQueryPic* StartPictures(std::initializer_list<int> uids)
    {
        OpenUnit(QStringLiteral("Englisch - Bilder.qxu"));
        Pile(uids);
        return Start<TFormQueryPic>();
    }
    // Clicks the picture at a point given in the picture's own pixels.
    TFormQueryResultPic* ClickAt(TFormQueryPic& screen, QPoint picturePoint)
    {
        const QSize shown = screen.ShownRect().size();
        const QSize own = screen.PictureSize();
        const QPoint widgetPoint(picturePoint.x() * shown.width() / own.width(),
                                 picturePoint.y() * shown.height() / own.height());
        QTest::mouseClick(screen.PaintBox1, Qt::LeftButton, Qt::NoModifier, widgetPoint);
        return dynamic_cast<TFormQueryResultPic*>(screen.ResultWindow());
    }
    // Pure red pixels of the overlay: the drawn click areas.
    int RedPixels(TFormQueryPic& screen) const
    {
        const QImage image = screen.PaintBox1->grab().toImage();
        int red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == QColor(255, 0, 0))
                    ++red;
        return red;
    }
    int Bottom(const QWidget& result) const { return result.geometry().bottom(); }
};

} // namespace

TEST_F(PictureQueryTest, AClickInsideAnAreaIsRightOutsideWrongAndTheAreasAreDrawnWithTheAnswer)
{
    TFormQueryPic* screen = StartPictures({8, 9});
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->HelpPage(), QStringLiteral("help_query_pic.html"));
    EXPECT_EQ(screen->TntLabel1->text(), QStringLiteral("Click on an eye."));
    EXPECT_FALSE(screen->TntEdit1->isVisible()) << "click mode";
    EXPECT_EQ(screen->PaintBox1->cursor().shape(), Qt::PointingHandCursor);
    ASSERT_EQ(screen->PictureSize(), QSize(300, 300));
    EXPECT_TRUE(screen->Shape1->isVisible()) << "the picture has its shadow";
    EXPECT_EQ(RedPixels(*screen), 0) << "no areas with the question";

    TFormQueryResultPic* result = ClickAt(*screen, QPoint(112, 135));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Label1->text(), QStringLiteral("R i c h t i g"));
    EXPECT_EQ(result->height(), TFormQueryResultPic::SlimHeight);
    EXPECT_FALSE(result->Label_RightAnswersAbove->isVisibleTo(result));
    EXPECT_FALSE(result->Label_Success->isVisibleTo(result));
    EXPECT_GT(RedPixels(*screen), 20);
    EXPECT_EQ(Bottom(*result), screen->Button_Abort->y() - 5) << "the answer sits at the bottom, above the buttons";
    EXPECT_EQ(result->x(), (screen->Content()->width() - result->width()) / 2);

    // A second click on the same card changes nothing.
    ClickAt(*screen, QPoint(10, 10));
    EXPECT_EQ(screen->ResultWindow(), result);
    EXPECT_EQ(result->Label1->text(), QStringLiteral("R i c h t i g"));
    QTest::mouseClick(result->Button_Ok, Qt::LeftButton);
    EXPECT_EQ(Query().GetRightTotal(), 1);
    EXPECT_EQ(Query().GetQueriedTotal(), 1);

    EXPECT_EQ(screen->TntLabel1->text(), QStringLiteral("Click on the nose."));
    EXPECT_EQ(RedPixels(*screen), 0);
    result = ClickAt(*screen, QPoint(10, 10));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Label1->text(), QStringLiteral("F a l s c h"));
    EXPECT_EQ(result->height(), TFormQueryResultPic::SlimHeight);
    EXPECT_TRUE(result->Label_RightAnswersAbove->isVisibleTo(result));
    EXPECT_EQ(result->Label_RightAnswersAbove->text(),
              QStringLiteral("Die richtigen Antworten werden oben angezeigt."));
    EXPECT_GT(RedPixels(*screen), 20);
}

TEST_F(PictureQueryTest, ATypedAnswerShowsTheRightTextInATallerAnswerWindow)
{
    TFormQueryPic* screen = StartPictures({1, 2});
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->TntEdit1->isVisible());
    EXPECT_TRUE(screen->TntEdit1->hasFocus());
    EXPECT_EQ(screen->PaintBox1->cursor().shape(), Qt::ArrowCursor);
    // The sample pictures do not fit the window at its start size.
    EXPECT_TRUE(screen->Scaled());
    EXPECT_EQ(window->Label_Status->text(), QStringLiteral("Drücken Sie F11, um in den Vollbildmodus zu wechseln."));

    // A click does nothing in typed mode.
    ClickAt(*screen, QPoint(100, 100));
    EXPECT_EQ(screen->ResultWindow(), nullptr);

    TypeText(*screen->TntEdit1, QStringLiteral("hose"));
    QTest::keyClick(screen->TntEdit1, Qt::Key_Return);
    auto* result = dynamic_cast<TFormQueryResultPic*>(screen->ResultWindow());
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Label1->text(), QStringLiteral("F a s t   r i c h t i g"));
    EXPECT_EQ(result->height(), TFormQueryResultPic::TextHeight);
    EXPECT_TRUE(result->Label_Answer->isVisibleTo(result));
    EXPECT_EQ(result->Label_Answer->text(), QStringLiteral("Richtige Antwort:"));
    EXPECT_EQ(result->Label_AnswerText->text(), QStringLiteral("\"house\""));
    EXPECT_FALSE(result->Label_RightAnswersAbove->isVisibleTo(result));
    QTest::mouseClick(result->Button_Ok, Qt::LeftButton);

    QTest::mouseClick(screen->Button_Abort, Qt::LeftButton);
    EXPECT_TRUE(qobject_cast<TFormQueryResultStatistics*>(Screen()));
    EXPECT_TRUE(window->Label_Status->text().isEmpty()) << "\"Abbruch\" clears the hint";
}

TEST_F(PictureQueryTest, APictureThatCannotBeLoadedIsReportedAndTheQuestionGoesOn)
{
    OpenUnit(QStringLiteral("Englisch - Bilder.qxu"));
    auto* card = static_cast<TQVL_Card_Pic*>(Unit().Cards->FindByUid(8));
    card->picture_filename = QStringLiteral("Fehlt.png");
    Pile({8, 1});
    auto* screen = Start<TFormQueryPic>();
    ASSERT_NE(screen, nullptr);
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_TRUE(dialogs.Errors.first().contains(QStringLiteral("Fehlt.png")));

    QTest::mouseClick(screen->Button_Result, Qt::LeftButton);
    ASSERT_NE(screen->ResultWindow(), nullptr);
    EXPECT_EQ(screen->ResultWindow()->Label1->text(), QStringLiteral("F a l s c h")) << "nothing was clicked";
}
