#include "ui/play/Form_PlayVoc.h"

#include "app/QVL.h"
#include "content/QVL_Card_Voc.h"
#include "content/QVL_Language.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Error.h"
#include "core/QVL_Math.h"
#include "query/QVL_Query_Card.h"
#include "query/QVL_ReadAloud.h"
#include "ui/play/ReadAloud.h"
#include "ui/query/Form_QueryMeta.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Icons.h"
#include "ui/shell/PlainText.h"
#include "ui/shell/Theme.h"

#include <QLabel>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace {

const QColor lineColour(0x28, 0x3E, 0x55);

QLabel* line(QWidget* parent, const char* name, const QColor& colour)
{
    auto* label = AsPlainText(new QLabel(parent));
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    label->setPalette(colours);
    return label;
}

} // namespace

TFormPlayVoc::TFormPlayVoc(QWidget* parent, TQVL& qvl) : TFormPlayMeta(parent, qvl)
{
    setObjectName(QStringLiteral("FormPlayVoc"));
    SetHelpPage(QStringLiteral("help_play_voc.html"));
    SetTimerHints(QStringLiteral("Einstellungen zum automatischen Wechsel"),
                  QStringLiteral("Automatischer Wechsel ist deaktiviert."));
    QWidget* area = Content();
    // The white copies first, so that the texts lie on top of them.
    Label_QuestionShadow = line(area, "Label_QuestionShadow", Qt::white);
    Label_AnswerShadow = line(area, "Label_AnswerShadow", Qt::white);
    Label_Question = line(area, "Label_Question", lineColour);
    Label_Answer = line(area, "Label_Answer", lineColour);
    lineFont = QFont(QStringLiteral("Tahoma"));
    lineFont.setPixelSize(32);
    for (QLabel* label : {Label_Question, Label_QuestionShadow, Label_Answer, Label_AnswerShadow})
        label->setFont(lineFont);

    auto soundButton = [area](const char* name, const QIcon& icon, const QString& hint) {
        auto* button = new QToolButton(area);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(icon);
        button->setIconSize(QSize(20, 20));
        button->setAutoRaise(true);
        button->setToolTip(hint);
        button->setAccessibleName(hint);
        return button;
    };
    const QIcon sound = Icons::Get(QStringLiteral("sound"));
    Button_SoundOn =
        soundButton("Button_SoundOn", ReadAloud::StruckIcon(sound), QStringLiteral("Tonausgabe aktivieren"));
    Button_SoundOff = soundButton("Button_SoundOff", sound, QStringLiteral("Tonausgabe deaktivieren"));
    connect(Button_SoundOn, &QToolButton::clicked, this, [this] {
        if (!soundAvailable) {
            TDialogService::Current().ShowInformation(
                QStringLiteral("Die gewählte Lektion enthält keine vertonten Vokabeln"));
            return;
        }
        setSound(true);
    });
    connect(Button_SoundOff, &QToolButton::clicked, this, [this] { Guarded([this] { setSound(false); }); });
    Button_ReadAloud = ReadAloud::CreateButton(area);

    const TQVL_Unit& unit = core.Units->GetActiveUnit();
    soundAvailable = unit.IsOpen && unit.Typ == tSound;
    setSound(soundAvailable);
}

void TFormPlayVoc::setSound(bool on)
{
    soundOn = on;
    Button_SoundOn->setVisible(!on);
    Button_SoundOff->setVisible(on);
}

void TFormPlayVoc::setLine(QLabel* text, QLabel* shadow, const QString& value, const QFont& font)
{
    for (QLabel* label : {text, shadow}) {
        label->setFont(font);
        label->setText(value);
    }
}

void TFormPlayVoc::OnDisplayQuestion(TQVL_Query_Card& card, int direction)
{
    if (direction != 1 && direction != 2)
        throw TQVL_Error(QStringLiteral("Random not right here!"));
    pendingAnswer = 0;
    const auto* voc = dynamic_cast<const TQVL_Card_Voc*>(card.Card);
    const QString question = voc ? (direction == 1 ? voc->foreign1 : voc->home1) : QString();
    const TQVL_Language* asked = direction == 1 ? TFormQueryMeta::ForeignLanguage() : TFormQueryMeta::HomeLanguage();
    const TQVL_Language* answered = direction == 1 ? TFormQueryMeta::HomeLanguage() : TFormQueryMeta::ForeignLanguage();
    setLine(Label_Answer, Label_AnswerShadow, QString(), TFormQueryMeta::ProfileBigFont(answered, lineFont));
    setLine(Label_Question, Label_QuestionShadow, question, TFormQueryMeta::ProfileBigFont(asked, lineFont));
    Arrange();
    ReadAloud::Play(TQVL_ReadAloud::For(*card.Card, card.Unit, direction == 1, question, soundOn, ReadAloud::IsOn()),
                    this);
}

void TFormPlayVoc::OnDisplayAnswer(TQVL_Query_Card& card, int direction)
{
    const auto* voc = dynamic_cast<const TQVL_Card_Voc*>(card.Card);
    const QString answer = voc ? (direction == 1 ? voc->home1 : voc->foreign1) : QString();
    setLine(Label_Answer, Label_AnswerShadow, answer, Label_Answer->font());
    Arrange();
    // The answer's sound after a pause that leaves the screen free.
    answerCard = &card;
    answerDirection = direction;
    pendingAnswer = ++answerNumber;
    const quint64 shown = pendingAnswer;
    QTimer::singleShot(AnswerSoundDelayMs, this, [this, shown] { playAnswerSound(shown); });
}

bool TFormPlayVoc::AnswerSoundPending() const
{
    return pendingAnswer != 0;
}

void TFormPlayVoc::playAnswerSound(quint64 shown)
{
    // Gone on to the next card (or left): the sound would belong to nothing shown.
    if (shown != pendingAnswer || PlayState() != TPlayState::Answer || !answerCard)
        return;
    pendingAnswer = 0;
    const auto* voc = dynamic_cast<const TQVL_Card_Voc*>(answerCard->Card);
    const QString answer = voc ? (answerDirection == 1 ? voc->home1 : voc->foreign1) : QString();
    ReadAloud::Play(TQVL_ReadAloud::For(*answerCard->Card, answerCard->Unit, answerDirection == 2, answer, soundOn,
                                        ReadAloud::IsOn()),
                    this);
}

void TFormPlayVoc::Arrange()
{
    const int w = Content()->width();
    const int h = Content()->height();
    const int width = std::max(0, w - 40);
    const int questionTop = int(RoundHalfEven(h / 4.0));
    const int answerTop = int(RoundHalfEven(h * 2 / 4.0));
    const int lineHeight = std::max(1, std::min(answerTop - questionTop - 4, ButtonRowTop() - answerTop - 4));
    auto place = [&](QLabel* text, QLabel* shadow, int top) {
        const int height = std::min(std::max(text->heightForWidth(std::max(1, width)), 40), lineHeight);
        text->setGeometry(20, top, width, height);
        shadow->setGeometry(21, top + 1, width, height);
    };
    place(Label_Question, Label_QuestionShadow, questionTop);
    place(Label_Answer, Label_AnswerShadow, answerTop);
    // Beside the timer buttons at the top right.
    Button_SoundOn->setGeometry(w - 20 - 26 - 30, 6, 26, 26);
    Button_SoundOff->setGeometry(w - 20 - 26 - 30, 6, 26, 26);
    Button_ReadAloud->setGeometry(w - 20 - 26 - 60, 6, 26, 26);
}
