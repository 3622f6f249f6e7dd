#include "ui/query/Form_QueryResultMeta.h"

#include "app/QVL.h"
#include "query/QVL_Query.h"
#include "query/QVL_Query_Card.h"
#include "ui/query/Form_QueryMeta.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Theme.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

namespace {

enum class Verdict
{
    Right,
    Half,
    Wrong
};

// The verdict pictures: a coloured disc with a white tick, wave or cross, so
// that they differ in shape as well as in colour.
QPixmap verdictPicture(Verdict verdict, int size)
{
    const qreal ratio = qApp->devicePixelRatio();
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor fill = verdict == Verdict::Right  ? Theme::VerdictRight
                        : verdict == Verdict::Half ? Theme::VerdictHalf
                                                   : Theme::VerdictWrong;
    const qreal s = size;
    painter.setPen(QPen(fill.darker(125), s / 24));
    painter.setBrush(fill);
    painter.drawEllipse(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92));
    QPen mark(Qt::white, s * 0.12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(mark);
    painter.setBrush(Qt::NoBrush);
    QPainterPath path;
    switch (verdict) {
    case Verdict::Right:
        path.moveTo(s * 0.28, s * 0.52);
        path.lineTo(s * 0.44, s * 0.68);
        path.lineTo(s * 0.73, s * 0.34);
        break;
    case Verdict::Half:
        path.moveTo(s * 0.26, s * 0.56);
        path.cubicTo(s * 0.38, s * 0.34, s * 0.50, s * 0.40, s * 0.52, s * 0.50);
        path.cubicTo(s * 0.54, s * 0.60, s * 0.64, s * 0.66, s * 0.74, s * 0.44);
        break;
    case Verdict::Wrong:
        path.moveTo(s * 0.32, s * 0.32);
        path.lineTo(s * 0.68, s * 0.68);
        path.moveTo(s * 0.68, s * 0.32);
        path.lineTo(s * 0.32, s * 0.68);
        break;
    }
    painter.drawPath(path);
    return pixmap;
}

QLabel* verdictImage(QWidget* parent, const char* name, Verdict verdict)
{
    auto* image = new QLabel(parent);
    image->setObjectName(QString::fromLatin1(name));
    image->setPixmap(verdictPicture(verdict, 36));
    image->setFixedSize(36, 36);
    image->hide();
    return image;
}

} // namespace

TFormQueryResultMeta::TFormQueryResultMeta(TQVL_Query& owner, QWidget* parent) : QFrame(parent), owningQuery(owner)
{
    setObjectName(QStringLiteral("FormQueryResult"));
    setAutoFillBackground(false);

    Image_Right = verdictImage(this, "Image_Right", Verdict::Right);
    Image_Half = verdictImage(this, "Image_Half", Verdict::Half);
    Image_Wrong = verdictImage(this, "Image_Wrong", Verdict::Wrong);

    // The shadow first, so that the text lies on top of it.
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont verdictFont = Label1->font();
    verdictFont.setPointSize(Theme::VerdictPointSize);
    verdictFont.setBold(true);
    for (QLabel* label : {Label1, Label2}) {
        label->setFont(verdictFont);
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, label == Label1 ? Theme::Ink : QColor(Qt::white));
        label->setPalette(colours);
    }

    Label_Success = new QLabel(this);
    Label_Success->setObjectName(QStringLiteral("Label_Success"));
    Label_Special = new QLabel(this);
    Label_Special->setObjectName(QStringLiteral("Label_Special"));
    Label_Special->setWordWrap(true);
    QPalette special = Label_Special->palette();
    special.setColor(QPalette::WindowText, Theme::Warning);
    Label_Special->setPalette(special);
    Label_Special->hide();

    Button_Ok = new QPushButton(QStringLiteral("Ok"), this);
    Button_Ok->setObjectName(QStringLiteral("Button_Ok"));
    Button_Ok->setAutoDefault(true);
    Button_Ok->setDefault(true);
    Button_Right = new QPushButton(QStringLiteral("&Richtig"), this);
    Button_Right->setObjectName(QStringLiteral("Button_Right"));
    Button_Right->setAutoDefault(true);
    Button_Wrong = new QPushButton(QStringLiteral("&Falsch"), this);
    Button_Wrong->setObjectName(QStringLiteral("Button_Wrong"));
    Button_Wrong->setAutoDefault(true);
    for (QPushButton* button : {Button_Ok, Button_Right, Button_Wrong})
        button->resize(90, 26);
    Button_Right->hide();
    Button_Wrong->hide();
    Button_IWasRight = new QPushButton(QStringLiteral("&Ich hatte recht"), this);
    Button_IWasRight->setObjectName(QStringLiteral("Button_IWasRight"));
    Button_IWasRight->setAutoDefault(true);
    Button_IWasRight->setToolTip(QStringLiteral("Ihre Antwort war richtig (etwa ein Tippfehler, den die Prüfung "
                                                "nicht erkannt hat): Sie wird als richtig gezählt."));
    Button_IWasRight->resize(Button_IWasRight->sizeHint().expandedTo(QSize(120, 26)).width(), 26);
    Button_IWasRight->hide();
    connect(Button_IWasRight, &QPushButton::clicked, this, [this] { overrideVerdict(); });

    connect(Button_Ok, &QPushButton::clicked, this, [this] { answerEnd(true, false); });
    connect(Button_Right, &QPushButton::clicked, this, [this] { answerEnd(true, true); });
    connect(Button_Wrong, &QPushButton::clicked, this, [this] { answerEnd(false, true); });
}

TFormQueryResultMeta::~TFormQueryResultMeta() = default;

QString TFormQueryResultMeta::VerdictText(const TQVL_Query_StepResult& result)
{
    if (result.IsRight())
        return QStringLiteral("R i c h t i g");
    if (result.IsHalf())
        return QStringLiteral("F a s t   r i c h t i g");
    return QStringLiteral("F a l s c h");
}

QString TFormQueryResultMeta::AnswerSound(bool right)
{
    return TQVL::Instance().System->ResourceFolder() +
           (right ? QStringLiteral("/Sounds/right.wav") : QStringLiteral("/Sounds/wrong.wav"));
}

void TFormQueryResultMeta::ShowAnswer(const TQVL_Query_AnswerShown& shown)
{
    const TQVL_Query_Card& card = shown.Card;
    const TQVL_StepCode code = shown.Result.Code;
    answerSounds = shown.Sounds;
    askingSelfEvaluation = shown.AskSelfEvaluation;
    Label_Special->hide();
    Label_Special->clear();
    // The counts before this answer is counted.
    Label_Success->setText(QString::number(card.SessionRight) + QStringLiteral(" von ") +
                           QString::number(card.SessionQueried) + QStringLiteral(" richtig. (") +
                           QString::number(card.SessionPoints) + QStringLiteral(")"));

    for (QLabel* image : {Image_Right, Image_Half, Image_Wrong})
        image->hide();
    SetVerdictText(QString());
    if (shown.ShowEvaluation) {
        QLabel* image = shown.Result.IsRight() ? Image_Right : shown.Result.IsHalf() ? Image_Half : Image_Wrong;
        image->show();
        SetVerdictText(VerdictText(shown.Result));
        if (answerSounds && TFormQueryMeta::SoundAvailable())
            TFormQueryMeta::PlaySound(AnswerSound(shown.Result.IsRight()));
        if (code == TQVL_StepCode::RightAfterHint)
            Label_Special->setText(Label_Special->text() + QStringLiteral("Sie haben die Tip-Funktion genutzt!"));
        else if (code == TQVL_StepCode::MeaningMissing)
            Label_Special->setText(Label_Special->text() +
                                   QStringLiteral("Sie haben nicht alle Bedeutungen angegeben!"));
        Label_Special->setVisible(!Label_Special->text().isEmpty());
    }

    if (shown.AskSelfEvaluation)
        SetVerdictText(QStringLiteral("War Ihre Antwort richtig oder falsch?"));
    Button_Right->setVisible(shown.AskSelfEvaluation);
    Button_Wrong->setVisible(shown.AskSelfEvaluation);
    Button_Ok->setVisible(!shown.AskSelfEvaluation);
    Button_IWasRight->hide();
    LayoutControls();
}

void TFormQueryResultMeta::OfferOverride()
{
    Button_IWasRight->setVisible(owningQuery.CanOverrideVerdict());
    LayoutControls();
}

void TFormQueryResultMeta::overrideVerdict()
{
    Guarded([this] {
        if (!owningQuery.OverrideVerdict())
            return;
        Button_IWasRight->hide();
        for (QLabel* image : {Image_Half, Image_Wrong})
            image->hide();
        Image_Right->show();
        SetVerdictText(VerdictText({100, TQVL_StepCode::Right}));
        Label_Special->setText(QStringLiteral("Als richtig gezählt."));
        Label_Special->show();
        LayoutControls();
        Button_Ok->setFocus(Qt::OtherFocusReason);
    });
}

void TFormQueryResultMeta::SetVerdictText(const QString& text)
{
    Label1->setText(text);
    Label2->setText(text);
    Label1->adjustSize();
    Label2->adjustSize();
}

void TFormQueryResultMeta::PlaceVerdictText(int x, int y)
{
    Label1->move(x, y);
    Label2->move(x + 1, y + 1);
}

void TFormQueryResultMeta::answerEnd(bool right, bool playSound)
{
    Guarded([&] {
        if (playSound && answerSounds && TFormQueryMeta::SoundAvailable())
            TFormQueryMeta::PlaySound(AnswerSound(right));
        owningQuery.DisplayAnswerEnd(right);
    });
}

void TFormQueryResultMeta::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    LayoutControls();
}

void TFormQueryResultMeta::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Theme::HeaderBottom, 1));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}
