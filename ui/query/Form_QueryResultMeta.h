#pragma once

#include "query/QVL_Query_Hooks.h"

#include <QFrame>

class QLabel;
class QPushButton;
class TQVL_Card_Return;
class TQVL_Query;
class TQVL_Query_Card;

// The answer window a query window embeds while an answer is shown: the
// verdict with its picture and sound, the right answer, and the end of the
// answer phase with "Ok" or the learner's own verdict. Lives from the
// query's OnDisplayAnswer to its OnStepEnd; the query window owns it.
class TFormQueryResultMeta : public QFrame
{
    Q_OBJECT
public:
    TFormQueryResultMeta(TQVL_Query& query, QWidget* parent);
    ~TFormQueryResultMeta() override;

    // Shows one answer, as the query's OnDisplayAnswer passes it.
    virtual void ShowAnswer(const TQVL_Query_AnswerShown& shown);

    // The verdict text of a result code, as Label1 shows it.
    static QString VerdictText(const TQVL_Query_StepResult& result);
    // "/Sounds/right.wav" or "/Sounds/wrong.wav" below the resource folder.
    static QString AnswerSound(bool right);

    QLabel* Image_Right = nullptr;
    QLabel* Image_Half = nullptr;
    QLabel* Image_Wrong = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label_Success = nullptr;
    QLabel* Label_Special = nullptr;
    QPushButton* Button_Ok = nullptr;
    QPushButton* Button_Right = nullptr;
    QPushButton* Button_Wrong = nullptr;
    // "Ich hatte recht": shown by windows of typed answers after a wrong or almost-right verdict.
    QPushButton* Button_IWasRight = nullptr;

protected:
    // Places the controls for the current size and the shown answer.
    virtual void LayoutControls() = 0;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // The verdict text in Label1 and its shadow Label2.
    void SetVerdictText(const QString& text);
    // Puts Label1 at (x, y) and its shadow one pixel right and down.
    void PlaceVerdictText(int x, int y);

    bool AskingSelfEvaluation() const { return askingSelfEvaluation; }
    // Shows "Ich hatte recht" when the query can still take the verdict shown as right.
    void OfferOverride();

private:
    void answerEnd(bool right, bool playSound);
    void overrideVerdict();

    TQVL_Query& owningQuery;
    bool answerSounds = false;
    bool askingSelfEvaluation = false;
};
