#include "ui/play/Form_PlayMeta.h"

#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "query/QVL_Card_Return.h"
#include "query/QVL_Query.h"
#include "query/QVL_Query_Cardpile.h"
#include "query/QVL_Query_Options.h"
#include "query/QVL_Query_PlayTimer.h"
#include "query/QVL_Query_Step_Options.h"
#include "ui/help/HelpService.h"
#include "ui/play/Form_PlayTimerOptions.h"
#include "ui/play/ReadAloud.h"
#include "ui/query/Form_QueryMeta.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Icons.h"
#include "ui/shell/Navigator.h"

#include <QEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

TFormPlayMeta::TFormPlayMeta(QWidget* parent, TQVL& qvl) : TFormRunMeta(parent, qvl)
{
    SetCaption(QStringLiteral("Vokabeln vorspielen"));
    QWidget* area = Content();

    SpecialProgress1->hide();

    Button_TimerOn = CreateToolButton("Button_TimerOn", Icons::Get(QStringLiteral("timer")), 20);
    Button_TimerOff =
        CreateToolButton("Button_TimerOff", ReadAloud::StruckIcon(Icons::Get(QStringLiteral("timer"))), 20);
    SetTimerHints(QStringLiteral("Einstellungen zum automatischen Timer"),
                  QStringLiteral("Automatischer Timer ist deaktiviert"));
    connect(Button_TimerOn, &QToolButton::clicked, this, [this] { Guarded([this] { TimerClicked(); }); });
    connect(Button_TimerOff, &QToolButton::clicked, this, [this] { Guarded([this] { TimerClicked(); }); });

    Button_Next = CreateButton("Button_Next", QStringLiteral("Weiter"), 80);
    SetDefaultButton(Button_Next);
    Button_Known = CreateButton("Button_Known", QStringLiteral("Gewusst"), 110);
    Button_NotKnown = CreateButton("Button_NotKnown", QStringLiteral("Nicht gewusst"), 110);
    Button_Known->hide();
    Button_NotKnown->hide();
    Button_Abort = CreateButton("Button_Abort", QStringLiteral("Abbruch"), 80);
    SetEscapeButton(Button_Abort);
    Button_Help = CreateHelpButton(80);
    connect(Button_Next, &QPushButton::clicked, this, [this] { NextClicked(); });
    connect(Button_Known, &QPushButton::clicked, this, [this] { judged(true); });
    connect(Button_NotKnown, &QPushButton::clicked, this, [this] { judged(false); });
    connect(Button_Abort, &QPushButton::clicked, this,
            [this] { Guarded([this] { Navigator().Show(TDestination::MainMenu); }); });

    area->installEventFilter(this);
}

TFormPlayMeta::~TFormPlayMeta() = default;

void TFormPlayMeta::SetTimerHints(const QString& on, const QString& off)
{
    Button_TimerOn->setToolTip(on);
    Button_TimerOn->setAccessibleName(on);
    Button_TimerOff->setToolTip(off);
    Button_TimerOff->setAccessibleName(off);
}

void TFormPlayMeta::Start()
{
    showTimerButton();
    installHooks();
    Query().Start();
}

void TFormPlayMeta::BeforeClose()
{
    // Nothing is stored: the run's options say so.
    EndRun();
}

void TFormPlayMeta::installHooks()
{
    TQVL_Query_Hooks installed;
    installed.OnDisplayQuestion = [this](TQVL_Query_Card& card, int direction) { displayQuestion(card, direction); };
    // Play asks for nothing; the engine does not call this with the play settings.
    installed.OnGetUserInput = [this](TQVL_Query_Card&) -> std::unique_ptr<TQVL_Card_Return> {
        OnGetUserInput();
        return nullptr;
    };
    installed.OnDisplayAnswer = [this](const TQVL_Query_AnswerShown& shown) { displayAnswer(shown); };
    installed.OnSelfEvaluation = [this] { OnSelfEvaluation(); };
    installed.OnStepEnd = [this] { stepEnd(); };
    installed.OnQueryEnd = [this] { queryEnd(); };
    InstallHooks(std::move(installed));
}

void TFormPlayMeta::displayQuestion(TQVL_Query_Card& card, int direction)
{
    playState = TPlayState::Question;
    ShowSuccess();
    OnDisplayQuestion(card, direction);
}

void TFormPlayMeta::displayAnswer(const TQVL_Query_AnswerShown& shown)
{
    playState = TPlayState::Answer;
    OnDisplayAnswer(shown.Card, shown.Direction);
}

void TFormPlayMeta::OnSelfEvaluation()
{
    for (QPushButton* button : {Button_Next, Button_Abort, Button_Help})
        button->hide();
    Button_Known->show();
    Button_NotKnown->show();
    Button_Known->setFocus(Qt::OtherFocusReason);
}

void TFormPlayMeta::stepEnd()
{
    for (QPushButton* button : {Button_Next, Button_Abort, Button_Help})
        button->show();
    Button_Known->hide();
    Button_NotKnown->hide();
}

void TFormPlayMeta::queryEnd()
{
    ended = true;
    Button_Next->setEnabled(false);
    TDialogService::Current().ShowInformation(QStringLiteral("Beendet!"));
}

void TFormPlayMeta::NextClicked()
{
    if (ended || !Button_Next->isVisible() || !Button_Next->isEnabled())
        return;
    Guarded([this] {
        if (playState == TPlayState::Question)
            Query().DisplayQuestionEnd();
        else
            Query().DisplayAnswerEnd(false);
    });
}

void TFormPlayMeta::judged(bool known)
{
    SpecialProgress1->show();
    Guarded([this, known] { Query().DisplayAnswerEnd(known); });
}

void TFormPlayMeta::TimerClicked()
{
    TQVL_Query_Step_Options& step = Query().Options->Step();
    const TQVL_Query_PlayTimer values = TQVL_Query_PlayTimer::FromStep(step);
    TFormPlayTimerOptions dialog;
    dialog.SetValues(values);
    if (values.Clamped)
        TDialogService::Current().ShowInformation(TQVL_Query_PlayTimer::ClampedNotice());
    dialog.ShowModal();
    if (!dialog.Accepted())
        return;
    dialog.Values().ApplyTo(step);
    showTimerButton();
    // The new times count from now on. Where "Weiter" is not offered (the
    // learner judges the card), the card is left to the learner's verdict.
    NextClicked();
}

void TFormPlayMeta::showTimerButton()
{
    const bool on = TQVL_Query_PlayTimer::FromStep(Query().Options->Step()).TimerEnabled;
    Button_TimerOn->setVisible(on);
    Button_TimerOff->setVisible(!on);
}

int TFormPlayMeta::ButtonRowTop() const
{
    return Content()->height() - 34;
}

void TFormPlayMeta::layoutBase()
{
    const int w = Content()->width();
    const int top = ButtonRowTop();
    SpecialProgress1->setGeometry(20, 10, 180, 18);
    Button_TimerOn->setGeometry(w - 20 - 26, 6, 26, 26);
    Button_TimerOff->setGeometry(w - 20 - 26, 6, 26, 26);
    Button_Help->move(20, top);
    Button_Next->move(w - 20 - Button_Next->width(), top);
    Button_Abort->move(Button_Next->x() - 8 - Button_Abort->width(), top);
    // Centred under the card, 8 pixels either side of the middle.
    Button_Known->move(w / 2 - 8 - Button_Known->width(), top);
    Button_NotKnown->move(w / 2 + 8, top);
}

bool TFormPlayMeta::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Content() && event->type() == QEvent::Resize) {
        layoutBase();
        Arrange();
    }
    return TFormMeta::eventFilter(watched, event);
}
