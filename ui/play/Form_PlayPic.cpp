#include "ui/play/Form_PlayPic.h"

#include "content/QVL_Card_Pic.h"
#include "content/QVL_Language.h"
#include "content/QVL_Unit.h"
#include "query/QVL_Query_Card.h"
#include "query/QVL_ReadAloud.h"
#include "ui/play/ReadAloud.h"
#include "ui/query/Form_QueryMeta.h"
#include "ui/shell/CardPicture.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/PlainText.h"
#include "ui/shell/Theme.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

#include <algorithm>

namespace {

// 79 and 124 pixels below the screen's top, whose header takes 28.
constexpr int lineTop = 79 - TFormMeta::DefaultHeaderHeight;
constexpr int pictureTop = 124 - TFormMeta::DefaultHeaderHeight;
constexpr int pictureBottomMargin = 105;

QLabel* line(QWidget* parent, const char* name, const QColor& colour)
{
    auto* label = AsPlainText(new QLabel(parent));
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(24);
    label->setFont(font);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    label->setPalette(colours);
    return label;
}

} // namespace

TFormPlayPic::TFormPlayPic(QWidget* parent, TQVL& qvl) : TFormPlayMeta(parent, qvl)
{
    setObjectName(QStringLiteral("FormPlayPic"));
    SetHelpPage(QStringLiteral("help_play_pic.html"));
    QWidget* area = Content();

    CardPicture::CreateFrameIn(*this, area);

    Label_QuestionShadow = line(area, "Label_QuestionShadow", Qt::white);
    Label_AnswerShadow = line(area, "Label_AnswerShadow", Qt::white);
    Label_Question = line(area, "Label_Question", Theme::Ink);
    Label_Answer = line(area, "Label_Answer", Theme::Ink);
    // The foreign language's own font for all four lines when its profile says so.
    const QFont profileFont = TFormQueryMeta::ProfileBigFont(TFormQueryMeta::ForeignLanguage(), Label_Question->font());
    for (QLabel* label : {Label_Question, Label_QuestionShadow, Label_Answer, Label_AnswerShadow})
        label->setFont(profileFont);
    Button_ReadAloud = ReadAloud::CreateButton(area);
}

QRect TFormPlayPic::ShownRect() const
{
    return Image1->geometry().translated(Panel1->pos());
}

void TFormPlayPic::setLine(QLabel* text, QLabel* shadowCopy, const QString& value)
{
    text->setText(value);
    shadowCopy->setText(value);
}

void TFormPlayPic::OnDisplayQuestion(TQVL_Query_Card& card, int)
{
    // Screen updates wait until picture and texts are in place.
    setUpdatesEnabled(false);
    clickAreas = nullptr;
    const auto* pic = dynamic_cast<const TQVL_Card_Pic*>(card.Card);
    setLine(Label_Question, Label_QuestionShadow, pic ? pic->question : QString());
    setLine(Label_Answer, Label_AnswerShadow, QString());
    const bool typed = !pic || pic->answer_typ == 0;
    Label_Answer->setVisible(typed);
    Label_AnswerShadow->setVisible(typed);
    loadPicture(pic && card.Unit ? card.Unit->ExternalFilePath(pic->picture_filename) : QString());
    shadow = pic && pic->picture_shadow && !picture.isNull();
    for (QFrame* shape : {Shape1, Shape2, Shape3, Shape4})
        shape->setVisible(shadow);
    Arrange();
    setUpdatesEnabled(true);
    PaintBox1->update();
    // The question asks in the learner's language, the typed answer is the foreign word.
    if (pic)
        ReadAloud::Play(TQVL_ReadAloud::For(*card.Card, card.Unit, false, pic->question, false, ReadAloud::IsOn()),
                        this);
}

void TFormPlayPic::OnDisplayAnswer(TQVL_Query_Card& card, int)
{
    const auto* pic = dynamic_cast<const TQVL_Card_Pic*>(card.Card);
    if (pic && pic->answer_typ == 1)
        clickAreas = pic->clickareas.get();
    setLine(Label_Answer, Label_AnswerShadow, pic ? pic->answer_text : QString());
    Arrange();
    PaintBox1->update();
    if (pic && pic->answer_typ == 0)
        ReadAloud::Play(TQVL_ReadAloud::For(*card.Card, card.Unit, true, pic->answer_text, false, ReadAloud::IsOn()),
                        this);
}

void TFormPlayPic::loadPicture(const QString& fileName)
{
    picture = QImage();
    Image1->clear();
    if (fileName.isEmpty())
        return;
    QString error;
    picture = CardPicture::Read(fileName, error);
    if (picture.isNull()) {
        // The run goes on with the card's texts.
        if (!reported.contains(fileName)) {
            reported.insert(fileName);
            TDialogService::Current().ShowError(error);
        }
        return;
    }
    Image1->setPixmap(QPixmap::fromImage(picture));
}

void TFormPlayPic::Arrange()
{
    const int w = Content()->width();
    const int h = Content()->height();
    const int width = std::max(0, w - 40);
    Button_ReadAloud->setGeometry(w - 20 - 26 - 30, 6, 26, 26);
    const int questionHeight = std::max(30, pictureTop - lineTop - 4);
    Label_Question->setGeometry(20, lineTop, width, questionHeight);
    Label_QuestionShadow->setGeometry(21, lineTop + 1, width, questionHeight);
    const int answerHeight = std::max(30, std::min(Label_Answer->heightForWidth(std::max(1, width)), 60));
    const int answerTop = std::min(h - answerHeight / 2 - 75, ButtonRowTop() - answerHeight - 4);
    Label_Answer->setGeometry(20, answerTop, width, answerHeight);
    Label_AnswerShadow->setGeometry(21, answerTop + 1, width, answerHeight);

    // Fitted into the room between the lines: shrunk to the width, then to the height, never enlarged.
    const QRect room(0, pictureTop, w, std::max(0, std::min(h - pictureBottomMargin, answerTop - 4) - pictureTop));
    Panel1->setGeometry(room);
    QSize shown = picture.size();
    if (shown.width() > room.width() && shown.width() > 0)
        shown = QSize(room.width(), std::max(1, shown.height() * room.width() / shown.width()));
    if (shown.height() > room.height() && shown.height() > 0)
        shown = QSize(std::max(1, shown.width() * room.height() / shown.height()), room.height());
    const QRect image(QPoint((room.width() - shown.width()) / 2, (room.height() - shown.height()) / 2), shown);
    Image1->setGeometry(image);
    PaintBox1->setGeometry(image);
    // Two one-pixel lines right of and below the picture, each one pixel further out.
    Shape1->setGeometry(image.right() + 1, image.top() + 2, 1, image.height());
    Shape3->setGeometry(image.right() + 2, image.top() + 3, 1, image.height());
    Shape2->setGeometry(image.left() + 2, image.bottom() + 1, image.width(), 1);
    Shape4->setGeometry(image.left() + 3, image.bottom() + 2, image.width(), 1);
}

bool TFormPlayPic::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == PaintBox1 && event->type() == QEvent::Paint) {
        CardPicture::DrawClickAreas(PaintBox1, picture, clickAreas);
        return true;
    }
    return TFormPlayMeta::eventFilter(watched, event);
}
