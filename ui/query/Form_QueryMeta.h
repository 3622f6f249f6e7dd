#pragma once

#include "query/QVL_Query_Hooks.h"
#include "ui/query/Form_RunMeta.h"
#include "ui/query/QueryLauncher.h"

#include <QFont>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QToolButton;
class TFormQueryResultMeta;
class TQVL_Card_Return;
class TQVL_Language;
class TQVL_Language_Font;
class TQVL_Query;
class TQVL_Query_Card;

// Base of the screens a query runs in. Start() installs the query's hooks and
// starts the query (the menus fill its pile and options first); the window
// shows progress and phase messages and embeds the answer window of its kind
// while an answer is shown. Leaving the screen stops a running query, which
// stores its results. Subclasses show the question and fill the answer object.
class TFormQueryMeta : public TFormRunMeta
{
    Q_OBJECT
public:
    TFormQueryMeta(QWidget* parent, TQVL& core);
    ~TFormQueryMeta() override;

    // Installs the hooks and starts the query; the first question shows at once.
    void Start() override;
    // Frees the answer window and stops the query when it still runs. A failed
    // save of the results is reported; the screen closes all the same.
    void BeforeClose() override;

    // The embedded answer window while an answer is shown, else nullptr.
    TFormQueryResultMeta* ResultWindow() const;
    // Ctrl+Z while a question waits (and the answer field is empty): the
    // answer before it is taken back and its card asked again. False when
    // there is none to take back.
    bool UndoLastAnswer();

    // Plays a sound file through the sound system; nothing without one.
    // Tests install a player of their own (empty restores the sound system).
    using TSoundPlayer = std::function<void(const QString& fileName)>;
    static TSoundPlayer InstallSoundPlayer(TSoundPlayer player);
    static bool SoundAvailable();
    static void PlaySound(const QString& fileName);

    // The open language profiles of the active unit, or nullptr.
    static const TQVL_Language* ForeignLanguage();
    static const TQVL_Language* HomeLanguage();
    // `font` of `language` when that profile's font use is on, else `fallback`.
    static QFont ProfileFont(const TQVL_Language* language, const TQVL_Language_Font& font, const QFont& fallback);
    static QFont ProfileSmallFont(const TQVL_Language* language, const QFont& fallback);
    static QFont ProfileBigFont(const TQVL_Language* language, const QFont& fallback);

    QLabel* Label1 = nullptr;
    // Beside the bar: which card of the round is asked ("Karte 3 von 5").
    QLabel* Label_CardCount = nullptr;
    QToolButton* Button_TimerEnabled = nullptr;
    QPushButton* Button_Result = nullptr;
    QPushButton* Button_Abort = nullptr;
    QPushButton* Button_Help = nullptr;

protected:
    // The query's hooks; the base behaviour is shared by every kind of window.
    virtual void DisplayQuestion(TQVL_Query_Card& card, int direction);
    virtual std::unique_ptr<TQVL_Card_Return> GetUserInput(TQVL_Query_Card& card);
    virtual void DisplayAnswer(const TQVL_Query_AnswerShown& shown);
    virtual void SelfEvaluation() {}
    virtual void StepEnd();
    virtual void TurnEnd(int turnNumber, int cardCount);
    virtual void SessionEnd(int sessionNumber);
    virtual void QueryEnd();

    // A new answer window of this window's kind, a child of `parent`.
    virtual TFormQueryResultMeta* CreateResultWindow(QWidget* parent) = 0;
    // Centred; picture and grammar windows put it at the bottom.
    virtual void PlaceResultWindow();
    // Places the window's own controls over Content() (its whole size).
    virtual void LayoutControls() {}
    // "Ergebnis": the learner ends the question phase.
    virtual void ResultClicked();
    // "Abbruch": on to the result statistics, which stops the query.
    virtual void AbortClicked();

    // Lays the window out whenever its content area changes size.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void installHooks();
    void freeResultWindow();
    void layoutBase();

    bool repeatMessagePending = false;
    QPointer<TFormQueryResultMeta> resultWindow;
};
