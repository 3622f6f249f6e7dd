#pragma once

#include "ui/query/Form_QueryMeta.h"

#include <QImage>
#include <QPoint>

class QFrame;
class QLineEdit;
class TQVL_Card_Pic_Clickareas;

// The query window of picture units: the card's question over its picture,
// answered by typing (answer type 0) or by one click into the picture (type 1).
// The answer draws the card's click areas over the picture.
class TFormQueryPic : public TFormQueryMeta
{
    Q_OBJECT
public:
    // The picture's area: 20 pixels from the sides, 116 below the top, 110 above the bottom.
    static constexpr int PictureMarginSide = 20;
    static constexpr int PictureMarginTop = 116;
    static constexpr int PictureMarginBottom = 110;

    TFormQueryPic(QWidget* parent, TQVL& core);

    void BeforeClose() override;

    // Where the picture is shown (in Panel1's coordinates) and its own size.
    QRect ShownRect() const;
    QSize PictureSize() const { return picture.size(); }
    // Whether the picture had to be scaled down to fit.
    bool Scaled() const { return scaled; }

    QLabel* TntLabel1 = nullptr;
    QLabel* TntLabel2 = nullptr;
    QLineEdit* TntEdit1 = nullptr;
    QWidget* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    // Over the picture: takes the clicks and draws the click areas.
    QWidget* PaintBox1 = nullptr;
    QFrame* Shape1 = nullptr;
    QFrame* Shape2 = nullptr;
    QFrame* Shape3 = nullptr;
    QFrame* Shape4 = nullptr;

protected:
    void DisplayQuestion(TQVL_Query_Card& card, int direction) override;
    std::unique_ptr<TQVL_Card_Return> GetUserInput(TQVL_Query_Card& card) override;
    void DisplayAnswer(const TQVL_Query_AnswerShown& shown) override;
    TFormQueryResultMeta* CreateResultWindow(QWidget* parent) override;
    void PlaceResultWindow() override;
    void LayoutControls() override;
    void AbortClicked() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadPicture(const QString& fileName);
    void pictureClicked(QPoint point);
    void setStatus(const QString& text);

    QImage picture;
    QFont questionFont;
    QFont answerFont;
    bool typedMode = true;
    bool clickAllowed = false;
    bool clickTaken = false;
    QPoint clickPosition;
    bool scaled = false;
    // The areas of the card whose answer is shown; none during the question.
    const TQVL_Card_Pic_Clickareas* clickAreas = nullptr;
};
