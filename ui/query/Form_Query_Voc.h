#pragma once

#include "ui/query/Form_QueryMeta.h"

class QLineEdit;

// The query window of vocabulary, sound and long-term-storage units: one
// meaning of the asked side as the question, a typed answer, the card's note
// and its hint on request. Sound cards play the asked side's sound.
class TFormQueryVoc : public TFormQueryMeta
{
    Q_OBJECT
public:
    TFormQueryVoc(QWidget* parent, TQVL& core);

    // The question label and its white shadow one pixel right and down.
    QLabel* TntLabel1 = nullptr;
    QLabel* TntLabel2 = nullptr;
    QLabel* Label_Note = nullptr;
    QLineEdit* TntEdit1 = nullptr;
    QPushButton* Button_Hint = nullptr;
    // The learner's switch for reading cards without a recording aloud.
    QToolButton* Button_ReadAloud = nullptr;

protected:
    void DisplayQuestion(TQVL_Query_Card& card, int direction) override;
    std::unique_ptr<TQVL_Card_Return> GetUserInput(TQVL_Query_Card& card) override;
    void DisplayAnswer(const TQVL_Query_AnswerShown& shown) override;
    TFormQueryResultMeta* CreateResultWindow(QWidget* parent) override;
    void LayoutControls() override;
    void PlaceResultWindow() override;

    // The question text in both labels.
    void SetQuestionText(const QString& text);
    void SetQuestionFont(const QFont& font);
    // The question labels' default font, used when the profile's fonts are off.
    QFont QuestionFont() const { return questionFont; }
    // Places the question labels at `top`, 20 pixels from both sides.
    void PlaceQuestion(int top, int height);

private:
    void showHint();

    QFont questionFont;
    QFont answerFont;
    QString hintText;
    bool hintUsed = false;
};
