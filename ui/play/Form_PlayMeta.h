#pragma once

#include "query/QVL_Query_Hooks.h"
#include "ui/query/Form_RunMeta.h"

class QPushButton;
class QToolButton;
class TQVL_Query_Card;

// Base of the play screens: the query runs with the play settings and this
// screen shows its cards without asking for an answer. "Weiter" ends the
// question or the answer at once, "Gewusst" / "Nicht gewusst" judge the card
// in a self-judged run, the timer buttons open the timer dialog. Leaving the
// screen stops the run, which stores nothing.
class TFormPlayMeta : public TFormRunMeta
{
    Q_OBJECT
public:
    enum class TPlayState
    {
        Question = 0,
        Answer = 1,
    };

    TFormPlayMeta(QWidget* parent, TQVL& core);
    ~TFormPlayMeta() override;

    // Installs the hooks and starts the run; the first card shows at once.
    void Start() override;
    // Stops the run (nothing is stored) and takes the hooks out.
    void BeforeClose() override;

    TPlayState PlayState() const { return playState; }

    QPushButton* Button_Next = nullptr;
    QPushButton* Button_Known = nullptr;
    QPushButton* Button_NotKnown = nullptr;
    QPushButton* Button_Abort = nullptr;
    QPushButton* Button_Help = nullptr;
    // One of the two is shown: the timer runs, or it is switched off.
    QToolButton* Button_TimerOn = nullptr;
    QToolButton* Button_TimerOff = nullptr;

    // "Weiter": ends the question, or the answer (not known).
    void NextClicked();
    // Opens the timer dialog and takes its values over when accepted.
    void TimerClicked();

protected:
    virtual void OnDisplayQuestion(TQVL_Query_Card& card, int direction) = 0;
    virtual void OnGetUserInput() {}
    virtual void OnDisplayAnswer(TQVL_Query_Card& card, int direction) = 0;
    virtual void OnSelfEvaluation();
    // Lays the screen's own parts out over Content(); called on resize.
    virtual void Arrange() {}

    // The hints of the two timer buttons (the vocabulary screen says "Wechsel").
    void SetTimerHints(const QString& on, const QString& off);
    // The y of the row of buttons at the bottom.
    int ButtonRowTop() const;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void installHooks();
    void displayQuestion(TQVL_Query_Card& card, int direction);
    void displayAnswer(const TQVL_Query_AnswerShown& shown);
    void stepEnd();
    void queryEnd();
    void judged(bool known);
    void showTimerButton();
    void layoutBase();

    TPlayState playState = TPlayState::Question;
    bool ended = false;
};
