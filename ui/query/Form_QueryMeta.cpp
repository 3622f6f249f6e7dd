#include "ui/query/Form_QueryMeta.h"

#include "app/QVL.h"
#include "content/QVL_Language.h"
#include "core/QVL_Error.h"
#include "core/QVL_NamedFile.h"
#include "core/QVL_Notices.h"
#include "query/QVL_Card_Return.h"
#include "query/QVL_Query.h"
#include "query/QVL_Query_Cardpile.h"
#include "query/QVL_Query_Options.h"
#include "query/QVL_Query_Session.h"
#include "query/QVL_Query_Step_Options.h"
#include "query/QVL_Query_Turn.h"
#include "ui/help/HelpService.h"
#include "ui/query/Form_QueryResultMeta.h"
#include "ui/shell/Accessibility.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Icons.h"
#include "ui/shell/Navigator.h"
#include "ui/shell/Theme.h"

#include <QEvent>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

namespace {

TFormQueryMeta::TSoundPlayer& installedPlayer()
{
    static TFormQueryMeta::TSoundPlayer player;
    return player;
}

} // namespace

TFormQueryMeta::TFormQueryMeta(QWidget* parent, TQVL& qvl) : TFormRunMeta(parent, qvl)
{
    SetCaption(QStringLiteral("Vokabeln abfragen"));
    QWidget* area = Content();

    Button_TimerEnabled = CreateToolButton("Button_TimerEnabled", Icons::Get(QStringLiteral("timer")), 16);
    Button_TimerEnabled->setFocusPolicy(Qt::NoFocus);
    Button_TimerEnabled->setToolTip(QStringLiteral("Abfrage auf Zeit ist aktiviert"));
    Button_TimerEnabled->hide();

    Label_CardCount = new QLabel(area);
    Label_CardCount->setObjectName(QStringLiteral("Label_CardCount"));
    Label_CardCount->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    Label1 = new QLabel(area);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont phaseFont = Label1->font();
    phaseFont.setBold(true);
    Label1->setFont(phaseFont);
    QPalette phaseColours = Label1->palette();
    phaseColours.setColor(QPalette::WindowText, Theme::Ink);
    Label1->setPalette(phaseColours);
    Label1->hide();

    Button_Result = CreateButton("Button_Result", QStringLiteral("Ergebnis"), 80);
    Button_Result->setAutoDefault(true);
    Button_Result->setDefault(true);
    Button_Abort = CreateButton("Button_Abort", QStringLiteral("Abbruch"), 80);
    SetEscapeButton(Button_Abort);
    Button_Help = CreateHelpButton(80);
    connect(Button_Result, &QPushButton::clicked, this, [this] { ResultClicked(); });
    connect(Button_Abort, &QPushButton::clicked, this, [this] { AbortClicked(); });

    area->installEventFilter(this);
    // Ctrl+Z reaches the answer field first, which would only undo its own typing.
    qApp->installEventFilter(this);
}

TFormQueryMeta::~TFormQueryMeta() = default;

TFormQueryResultMeta* TFormQueryMeta::ResultWindow() const
{
    return resultWindow;
}

bool TFormQueryMeta::UndoLastAnswer()
{
    bool undone = false;
    Guarded([&] { undone = Query().UndoLastAnswer(); });
    // The phase messages belong to the answer taken back.
    if (undone)
        Label1->hide();
    return undone;
}

void TFormQueryMeta::Start()
{
    TQVL_Query& query = Query();
    // The sound library plays each sound to its end and cannot stop one, so a
    // sound still playing from the menus simply runs out.
    installHooks();
    repeatMessagePending = true;
    query.Start();
}

void TFormQueryMeta::BeforeClose()
{
    freeResultWindow();
    // The query ends idle even when its results cannot be saved, so the screen may go.
    EndRun();
}

void TFormQueryMeta::installHooks()
{
    TQVL_Query_Hooks installed;
    installed.OnDisplayQuestion = [this](TQVL_Query_Card& card, int direction) { DisplayQuestion(card, direction); };
    installed.OnGetUserInput = [this](TQVL_Query_Card& card) { return GetUserInput(card); };
    installed.OnDisplayAnswer = [this](const TQVL_Query_AnswerShown& shown) { DisplayAnswer(shown); };
    installed.OnSelfEvaluation = [this] { SelfEvaluation(); };
    installed.OnStepEnd = [this] { StepEnd(); };
    installed.OnTurnEnd = [this](int turnNumber, int cardCount) { TurnEnd(turnNumber, cardCount); };
    installed.OnSessionEnd = [this](int sessionNumber) { SessionEnd(sessionNumber); };
    installed.OnQueryEnd = [this] { QueryEnd(); };
    InstallHooks(std::move(installed));
}

void TFormQueryMeta::DisplayQuestion(TQVL_Query_Card&, int)
{
    TQVL_Query& query = Query();
    Button_TimerEnabled->setVisible(query.Options->Step().questiondisplaytime);
    ShowSuccess();
    SpecialProgress1->setToolTip(QStringLiteral("Diese Runde: %1 von %2 richtig.\nInsgesamt: %3 von %4 richtig.")
                                     .arg(query.GetSessionRight())
                                     .arg(query.GetSessionQueried())
                                     .arg(query.GetRightTotal())
                                     .arg(query.GetQueriedTotal()));
    const TQVL_Query_Turn* turn = query.Session ? query.Session->Turn.get() : nullptr;
    if (turn && turn->IsRunning())
        Label_CardCount->setText(
            QStringLiteral("Karte %1 von %2").arg(turn->Index + 1).arg(qsizetype(turn->Items.size())));
    else
        Label_CardCount->clear();
    layoutBase();
}

std::unique_ptr<TQVL_Card_Return> TFormQueryMeta::GetUserInput(TQVL_Query_Card&)
{
    Button_Result->setEnabled(false);
    Button_Abort->setEnabled(false);
    Button_Help->setEnabled(false);
    return nullptr;
}

void TFormQueryMeta::DisplayAnswer(const TQVL_Query_AnswerShown& shown)
{
    Label1->hide();
    Label1->clear();
    freeResultWindow();
    resultWindow = CreateResultWindow(Content());
    resultWindow->ShowAnswer(shown);
    resultWindow->show();
    resultWindow->raise();
    PlaceResultWindow();
    // The answer window comes after the screen was shown; a screen reader needs its names too.
    Accessibility::Describe(this, Caption());
    QPushButton* focused = shown.AskSelfEvaluation ? resultWindow->Button_Right : resultWindow->Button_Ok;
    focused->setFocus(Qt::OtherFocusReason);
}

void TFormQueryMeta::StepEnd()
{
    freeResultWindow();
    Button_Result->setEnabled(true);
    Button_Abort->setEnabled(true);
    Button_Help->setEnabled(true);
}

void TFormQueryMeta::TurnEnd(int, int)
{
    QString text = QStringLiteral("Alle Karten einmal abgefragt.");
    if (repeatMessagePending) {
        text += QStringLiteral(" Die nicht gekonnten Karten werden nun wiederholt.");
        repeatMessagePending = false;
    }
    Label1->setText(text);
    Label1->show();
}

void TFormQueryMeta::SessionEnd(int sessionNumber)
{
    Label1->setText(QStringLiteral("%1. Übungsphase beendet.").arg(sessionNumber));
    Label1->show();
    Button_TimerEnabled->hide();
    repeatMessagePending = true;
}

void TFormQueryMeta::QueryEnd()
{
    TDialogService::Current().ShowInformation(QStringLiteral("Die Abfrage ist beendet."));
    Navigator().Show(TDestination::QueryResults);
}

void TFormQueryMeta::ResultClicked()
{
    Guarded([this] { Query().DisplayQuestionEnd(); });
}

void TFormQueryMeta::AbortClicked()
{
    Guarded([this] { Navigator().Show(TDestination::QueryResults); });
}

void TFormQueryMeta::freeResultWindow()
{
    if (!resultWindow)
        return;
    // Usually reached from inside a click on the answer window's own buttons.
    resultWindow->hide();
    resultWindow->deleteLater();
    resultWindow = nullptr;
}

void TFormQueryMeta::PlaceResultWindow()
{
    if (!resultWindow)
        return;
    const QWidget* area = Content();
    resultWindow->move((area->width() - resultWindow->width()) / 2, (area->height() - resultWindow->height()) / 2);
}

void TFormQueryMeta::layoutBase()
{
    const int w = Content()->width();
    const int h = Content()->height();
    SpecialProgress1->setGeometry(20, 10, 180, 18);
    Button_TimerEnabled->setGeometry(206, 8, 22, 22);
    const int countWidth = Label_CardCount->text().isEmpty()
                               ? 0
                               : Label_CardCount->fontMetrics().horizontalAdvance(Label_CardCount->text()) + 12;
    Label_CardCount->setGeometry(236, 8, countWidth, 22);
    // The phase messages take the rest of the row.
    Label1->setGeometry(236 + countWidth, 8, std::max(0, w - 256 - countWidth), 22);
    Button_Help->move(20, h - 34);
    Button_Result->move(w - 20 - Button_Result->width(), h - 34);
    Button_Abort->move(Button_Result->x() - 8 - Button_Abort->width(), h - 34);
}

bool TFormQueryMeta::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo) &&
        watched->isWidgetType() && (watched == this || isAncestorOf(static_cast<QWidget*>(watched))) && HoldsHooks() &&
        TQVL::Current() == &core && Query().CanUndoLastAnswer()) {
        // What the learner typed for the new question is his to undo first.
        const auto* edit = qobject_cast<const QLineEdit*>(watched);
        if (!edit || edit->text().isEmpty()) {
            UndoLastAnswer();
            return true;
        }
    }
    if (watched == Content() && event->type() == QEvent::Resize) {
        layoutBase();
        LayoutControls();
        PlaceResultWindow();
    }
    return TFormMeta::eventFilter(watched, event);
}

TFormQueryMeta::TSoundPlayer TFormQueryMeta::InstallSoundPlayer(TSoundPlayer player)
{
    TSoundPlayer previous = std::move(installedPlayer());
    installedPlayer() = std::move(player);
    return previous;
}

bool TFormQueryMeta::SoundAvailable()
{
    if (installedPlayer())
        return true;
    const TQVL* core = TQVL::Current();
    return core && core->System && core->System->SoundSystem;
}

void TFormQueryMeta::PlaySound(const QString& fileName)
{
    if (fileName.isEmpty())
        return;
    // A sound the lesson names may be anything; a refused one is reported and the query goes on.
    try {
        TQVL_NamedFile::Check(fileName);
    } catch (const TQVL_Error& error) {
        TQVL_Notices::Show(error.Message());
        return;
    }
    if (installedPlayer()) {
        installedPlayer()(fileName);
        return;
    }
    const TQVL* core = TQVL::Current();
    if (core && core->System && core->System->SoundSystem)
        core->System->SoundSystem->Play(fileName);
}

const TQVL_Language* TFormQueryMeta::ForeignLanguage()
{
    const TQVL* core = TQVL::Current();
    if (!core || !core->Languages)
        return nullptr;
    const auto* language = dynamic_cast<const TQVL_Language*>(&core->Languages->ActiveFile());
    return language && language->IsOpen ? language : nullptr;
}

const TQVL_Language* TFormQueryMeta::HomeLanguage()
{
    const TQVL* core = TQVL::Current();
    if (!core || !core->Languages || !core->Languages->HomeLanguage)
        return nullptr;
    return core->Languages->HomeLanguage->IsOpen ? core->Languages->HomeLanguage.get() : nullptr;
}

QFont TFormQueryMeta::ProfileFont(const TQVL_Language* language, const TQVL_Language_Font& font, const QFont& fallback)
{
    if (!language || !language->FontUse)
        return fallback;
    QFont result(font.Name);
    result.setPointSize(font.Size > 0 ? font.Size : fallback.pointSize());
    return result;
}

QFont TFormQueryMeta::ProfileSmallFont(const TQVL_Language* language, const QFont& fallback)
{
    return language ? ProfileFont(language, language->SmallFont(), fallback) : fallback;
}

QFont TFormQueryMeta::ProfileBigFont(const TQVL_Language* language, const QFont& fallback)
{
    return language ? ProfileFont(language, language->BigFont(), fallback) : fallback;
}
