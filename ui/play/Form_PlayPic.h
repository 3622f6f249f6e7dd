#pragma once

#include "ui/play/Form_PlayMeta.h"

#include <QImage>
#include <QSet>

class QFrame;
class QLabel;
class QToolButton;
class TQVL_Card_Pic_Clickareas;

// Plays picture units back: the question over the picture; the answer text
// below it, or for click answers the card's click areas drawn over the picture.
// With reading aloud on, question and typed answer are spoken.
class TFormPlayPic : public TFormPlayMeta
{
    Q_OBJECT
public:
    TFormPlayPic(QWidget* parent, TQVL& core);

    // Where the picture is shown, in Content()'s coordinates, and its own size.
    QRect ShownRect() const;
    QSize PictureSize() const { return picture.size(); }
    bool ShowsClickAreas() const { return clickAreas != nullptr; }

    QLabel* Label_Question = nullptr;
    QLabel* Label_QuestionShadow = nullptr;
    QLabel* Label_Answer = nullptr;
    QLabel* Label_AnswerShadow = nullptr;
    QWidget* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    // Over the picture: draws the click areas of the answer.
    QWidget* PaintBox1 = nullptr;
    QFrame* Shape1 = nullptr;
    QFrame* Shape2 = nullptr;
    QFrame* Shape3 = nullptr;
    QFrame* Shape4 = nullptr;
    QToolButton* Button_ReadAloud = nullptr;

protected:
    void OnDisplayQuestion(TQVL_Query_Card& card, int direction) override;
    void OnDisplayAnswer(TQVL_Query_Card& card, int direction) override;
    void Arrange() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadPicture(const QString& fileName);
    void setLine(QLabel* text, QLabel* shadow, const QString& value);

    QImage picture;
    bool shadow = false;
    const TQVL_Card_Pic_Clickareas* clickAreas = nullptr;
    // A picture that cannot be loaded is said once per run, not with every round.
    QSet<QString> reported;
};
