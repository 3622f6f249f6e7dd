#include "ui/query/Form_Query_Pic.h"

#include "content/QVL_Card_Pic.h"
#include "content/QVL_Language.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Math.h"
#include "query/QVL_Card_Return_Pic.h"
#include "query/QVL_Query.h"
#include "query/QVL_Query_Card.h"
#include "ui/query/Form_QueryResultPic.h"
#include "ui/shell/CardPicture.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/ForeignInput.h"
#include "ui/shell/Navigator.h"
#include "ui/shell/PlainText.h"
#include "ui/shell/Theme.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>

TFormQueryPic::TFormQueryPic(QWidget* parent, TQVL& qvl) : TFormQueryMeta(parent, qvl)
{
    setObjectName(QStringLiteral("FormQueryPic"));
    SetHelpPage(QStringLiteral("help_query_pic.html"));
    QWidget* area = Content();

    CardPicture::CreateFrameIn(*this, area);

    TntLabel2 = new QLabel(area);
    TntLabel2->setObjectName(QStringLiteral("TntLabel2"));
    TntLabel1 = new QLabel(area);
    TntLabel1->setObjectName(QStringLiteral("TntLabel1"));
    for (QLabel* label : {TntLabel1, TntLabel2}) {
        AsPlainText(label);
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        QFont question = label->font();
        question.setPointSize(Theme::PictureQuestionPointSize);
        question.setBold(true);
        label->setFont(question);
        questionFont = question;
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, label == TntLabel1 ? Theme::Ink : QColor(Qt::white));
        label->setPalette(colours);
    }

    TntEdit1 = new QLineEdit(area);
    TntEdit1->setObjectName(QStringLiteral("TntEdit1"));
    TntEdit1->setAccessibleName(QStringLiteral("Antwort"));
    QFont answer = TntEdit1->font();
    answer.setPointSize(Theme::AnswerPointSize);
    TntEdit1->setFont(answer);
    answerFont = answer;
    TntEdit1->hide();
    connect(TntEdit1, &QLineEdit::returnPressed, this, [this] { ResultClicked(); });
}

QRect TFormQueryPic::ShownRect() const
{
    return Image1->geometry();
}

void TFormQueryPic::BeforeClose()
{
    clickAreas = nullptr;
    setStatus(QString());
    TFormQueryMeta::BeforeClose();
}

void TFormQueryPic::DisplayQuestion(TQVL_Query_Card& card, int direction)
{
    TFormQueryMeta::DisplayQuestion(card, direction);
    clickAreas = nullptr;
    PaintBox1->update();
    const auto* pic = dynamic_cast<const TQVL_Card_Pic*>(card.Card);
    const QString question = pic ? pic->question : QString();
    TntLabel1->setText(question);
    TntLabel2->setText(question);

    typedMode = !pic || pic->answer_typ == 0;
    TntEdit1->setVisible(typedMode);
    TntEdit1->clear();
    PaintBox1->setCursor(typedMode ? Qt::ArrowCursor : Qt::PointingHandCursor);

    if (pic && card.Unit)
        loadPicture(card.Unit->ExternalFilePath(pic->picture_filename));
    else
        loadPicture(QString());
    const bool shadow = pic && pic->picture_shadow && !picture.isNull();
    for (QFrame* shape : {Shape1, Shape2, Shape3, Shape4})
        shape->setVisible(shadow);

    const TQVL_Language* foreign = ForeignLanguage();
    const QFont shownQuestionFont = ProfileBigFont(foreign, questionFont);
    TntLabel1->setFont(shownQuestionFont);
    TntLabel2->setFont(shownQuestionFont);
    TntEdit1->setFont(ProfileBigFont(foreign, answerFont));
    if (foreign && foreign->FontUse)
        MarkForeignInput(TntEdit1);
    else
        TntEdit1->setProperty("Tag", 0);

    clickTaken = false;
    clickAllowed = true;
    LayoutControls();
    if (typedMode)
        TntEdit1->setFocus(Qt::OtherFocusReason);
}

void TFormQueryPic::loadPicture(const QString& fileName)
{
    picture = QImage();
    Image1->clear();
    if (fileName.isEmpty())
        return;
    QString error;
    picture = CardPicture::Read(fileName, error);
    if (picture.isNull()) {
        // The question goes on without its picture: a typed answer can still be
        // given, and "Ergebnis" ends a click question as not clicked.
        TDialogService::Current().ShowError(error);
        return;
    }
    Image1->setPixmap(QPixmap::fromImage(picture));
}

void TFormQueryPic::pictureClicked(QPoint point)
{
    if (typedMode || !clickAllowed || clickTaken || picture.isNull() || !Button_Result->isEnabled())
        return;
    clickTaken = true;
    clickAllowed = false;
    const QSize shown = Image1->size();
    clickPosition = QPoint(int(RoundHalfEven(double(point.x()) * picture.width() / std::max(1, shown.width()))),
                           int(RoundHalfEven(double(point.y()) * picture.height() / std::max(1, shown.height()))));
    ResultClicked();
}

std::unique_ptr<TQVL_Card_Return> TFormQueryPic::GetUserInput(TQVL_Query_Card& card)
{
    TFormQueryMeta::GetUserInput(card);
    TntEdit1->hide();
    clickAllowed = false;
    std::unique_ptr<TQVL_Card_Return> answer = CreateReturn(*card.Card);
    if (auto* pic = dynamic_cast<TQVL_Card_Return_Pic*>(answer.get())) {
        pic->Text = TntEdit1->text();
        if (clickTaken)
            pic->SetClick(clickPosition.x(), clickPosition.y());
    }
    return answer;
}

void TFormQueryPic::DisplayAnswer(const TQVL_Query_AnswerShown& shown)
{
    const auto* pic = dynamic_cast<const TQVL_Card_Pic*>(shown.Card.Card);
    clickAreas = pic ? pic->clickareas.get() : nullptr;
    PaintBox1->update();
    TFormQueryMeta::DisplayAnswer(shown);
}

TFormQueryResultMeta* TFormQueryPic::CreateResultWindow(QWidget* parent)
{
    return new TFormQueryResultPic(Query(), parent);
}

void TFormQueryPic::PlaceResultWindow()
{
    if (TFormQueryResultMeta* result = ResultWindow()) {
        const QWidget* area = Content();
        // At the bottom, but above the window's own buttons, which it must not cover.
        const int bottom = std::min(area->height(), Button_Abort->y());
        result->move((area->width() - result->width()) / 2, std::max(0, bottom - result->height() - 4));
    }
}

void TFormQueryPic::AbortClicked()
{
    setStatus(QString());
    TFormQueryMeta::AbortClicked();
}

void TFormQueryPic::setStatus(const QString& text)
{
    Navigator().ShowStatus(text);
}

void TFormQueryPic::LayoutControls()
{
    const int w = Content()->width();
    const int h = Content()->height();
    TntLabel1->setGeometry(20, 34, std::max(0, w - 40), PictureMarginTop - 38);
    TntLabel2->setGeometry(21, 35, std::max(0, w - 40), PictureMarginTop - 38);
    const int editWidth = w / 3;
    TntEdit1->setGeometry((w - editWidth) / 2, h - PictureMarginBottom + 14, editWidth, TntEdit1->sizeHint().height());

    const QRect area(PictureMarginSide, PictureMarginTop, std::max(0, w - 2 * PictureMarginSide),
                     std::max(0, h - PictureMarginTop - PictureMarginBottom));
    Panel1->setGeometry(area);
    QSize shown = picture.size();
    scaled = false;
    if (!picture.isNull() && (shown.width() > area.width() || shown.height() > area.height())) {
        shown = shown.scaled(area.size(), Qt::KeepAspectRatio);
        scaled = true;
    }
    const QRect image(QPoint((area.width() - shown.width()) / 2, (area.height() - shown.height()) / 2), shown);
    Image1->setGeometry(image);
    PaintBox1->setGeometry(image);
    Shape1->setGeometry(image.right() + 1, image.top() + 4, 4, image.height());
    Shape2->setGeometry(image.left() + 4, image.bottom() + 1, image.width() - 4, 4);
    Shape3->setGeometry(image.right() + 1, image.top() + 7, 7, image.height());
    Shape4->setGeometry(image.left() + 7, image.bottom() + 1, image.width() + 1, 7);
    if (!picture.isNull())
        setStatus(scaled ? QStringLiteral("Drücken Sie F11, um in den Vollbildmodus zu wechseln.") : QString());
}

bool TFormQueryPic::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == PaintBox1) {
        if (event->type() == QEvent::Paint) {
            CardPicture::DrawClickAreas(PaintBox1, picture, clickAreas);
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton)
                pictureClicked(mouse->position().toPoint());
            return true;
        }
    }
    return TFormQueryMeta::eventFilter(watched, event);
}
