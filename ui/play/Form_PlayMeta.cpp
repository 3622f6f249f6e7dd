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
#include "ui/play/Form_PlayGrammar.h"
#include "ui/play/Form_PlayPic.h"
#include "ui/play/Form_PlayTimerOptions.h"
#include "ui/play/Form_PlayVoc.h"
#include "ui/play/ReadAloud.h"
#include "ui/query/Form_QueryMeta.h"
#include "ui/query/QueryLauncher.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Icons.h"
#include "ui/shell/Main.h"
#include "ui/shell/Navigator.h"
#include "ui/shell/WindowManager.h"

#include <QEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

namespace {

// The screen whose hooks the query calls; only it may take them out again.
TFormPlayMeta* hookOwner = nullptr;

} // namespace

TFormPlayMeta::TFormPlayMeta(QWidget* parent, TQVL& qvl) : TFormMeta(parent), core(qvl)
{
    SetCaption(QStringLiteral("Vokabeln vorspielen"));
    QWidget* area = Content();

    SpecialProgress1 = TFormQueryMeta::CreateSuccessBar(area);
    SpecialProgress1->hide();

    auto timerButton = [area](const char* name, const QIcon& icon) {
        auto* button = new QToolButton(area);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(icon);
        button->setIconSize(QSize(20, 20));
        button->setAutoRaise(true);
        return button;
    };
    Button_TimerOn = timerButton("Button_TimerOn", Icons::Get(QStringLiteral("timer")));
    Button_TimerOff = timerButton("Button_TimerOff", ReadAloud::StruckIcon(Icons::Get(QStringLiteral("timer"))));
    SetTimerHints(QStringLiteral("Einstellungen zum automatischen Timer"),
                  QStringLiteral("Automatischer Timer ist deaktiviert"));
    connect(Button_TimerOn, &QToolButton::clicked, this, [this] { Guarded([this] { TimerClicked(); }); });
    connect(Button_TimerOff, &QToolButton::clicked, this, [this] { Guarded([this] { TimerClicked(); }); });

    auto makeButton = [area](const char* name, const QString& text, int width) {
        auto* button = new QPushButton(text, area);
        button->setObjectName(QString::fromLatin1(name));
        button->resize(width, 26);
        return button;
    };
    Button_Next = makeButton("Button_Next", QStringLiteral("Weiter"), 80);
    SetDefaultButton(Button_Next);
    Button_Known = makeButton("Button_Known", QStringLiteral("Gewusst"), 110);
    Button_NotKnown = makeButton("Button_NotKnown", QStringLiteral("Nicht gewusst"), 110);
    Button_Known->hide();
    Button_NotKnown->hide();
    Button_Abort = makeButton("Button_Abort", QStringLiteral("Abbruch"), 80);
    SetEscapeButton(Button_Abort);
    Button_Help = makeButton("Button_Help", QStringLiteral("Hilfe"), 80);
    connect(Button_Next, &QPushButton::clicked, this, [this] { NextClicked(); });
    connect(Button_Known, &QPushButton::clicked, this, [this] { judged(true); });
    connect(Button_NotKnown, &QPushButton::clicked, this, [this] { judged(false); });
    connect(Button_Abort, &QPushButton::clicked, this,
            [this] { Guarded([this] { Navigator().Show(TDestination::MainMenu); }); });
    connect(Button_Help, &QPushButton::clicked, this,
            [this] { Guarded([this] { THelpService::ShowHelpPage(helpPage); }); });

    area->installEventFilter(this);
}

TFormPlayMeta::~TFormPlayMeta()
{
    if (hookOwner == this)
        removeHooks();
}

TQVL_Query& TFormPlayMeta::Query() const
{
    return *core.Query;
}

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
    // At shutdown the core may be gone before its screens.
    if (TQVL::Current() != &core)
        return;
    if (hookOwner == this)
        removeHooks();
    TQVL_Query& query = *core.Query;
    // Nothing is stored: the run's options say so.
    if (query.IsRunning())
        Guarded([&] { query.Stop(); });
    else
        query.Cardpile->Clear();
    core.Units->CloseAdditionalFiles();
}

void TFormPlayMeta::installHooks()
{
    TQVL_Query& query = Query();
    hookOwner = this;
    query.OnDisplayQuestion = [this](TQVL_Query_Card& card, int direction) { displayQuestion(card, direction); };
    // Play asks for nothing; the engine does not call this with the play settings.
    query.OnGetUserInput = [this](TQVL_Query_Card&) -> std::unique_ptr<TQVL_Card_Return> {
        OnGetUserInput();
        return nullptr;
    };
    query.OnDisplayAnswer = [this](const TQVL_Query_AnswerShown& shown) { displayAnswer(shown); };
    query.OnSelfEvaluation = [this] { OnSelfEvaluation(); };
    query.OnStepEnd = [this] { stepEnd(); };
    query.OnTurnEnd = {};
    query.OnSessionEnd = {};
    query.OnQueryEnd = [this] { queryEnd(); };
}

void TFormPlayMeta::removeHooks()
{
    hookOwner = nullptr;
    if (TQVL::Current() != &core || !core.Query)
        return;
    TQVL_Query_Hooks& hooks = *core.Query;
    hooks = TQVL_Query_Hooks();
}

void TFormPlayMeta::displayQuestion(TQVL_Query_Card& card, int direction)
{
    playState = TPlayState::Question;
    TQVL_Query& query = Query();
    const int total = query.GetQueriedTotal();
    // A bar without a range would show a busy indicator instead of 0 %.
    SpecialProgress1->setRange(0, std::max(total, 1));
    SpecialProgress1->setValue(std::min(query.GetRightTotal(), std::max(total, 1)));
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

TFormPlayMeta* OpenPlayWindow(TMainForm& main)
{
    TQVL& core = main.Core();
    const TQVL_Unit& unit = core.Units->GetActiveUnit();
    if (!unit.IsOpen)
        throw TQVL_Error(QStringLiteral("no active Unit"));
    TWindowManager::TScreenFactory create;
    switch (QueryWindowFor(unit.Typ, TQVL_QueryType::Play)) {
    case TQueryWindow::PlayVoc:
        create = [&core](QWidget* area) -> TFormMeta* { return new TFormPlayVoc(area, core); };
        break;
    case TQueryWindow::PlayPicture:
        create = [&core](QWidget* area) -> TFormMeta* { return new TFormPlayPic(area, core); };
        break;
    case TQueryWindow::PlayGrammar:
        create = [&core](QWidget* area) -> TFormMeta* { return new TFormPlayGrammar(area, core); };
        break;
    default:
        return nullptr;
    }
    auto* window = static_cast<TFormPlayMeta*>(main.WindowManager().SwitchWindow(create, true));
    try {
        window->Start();
    } catch (...) {
        // Leaving the screen stops a run that did get going.
        main.ShowMainMenu();
        throw;
    }
    return window;
}
