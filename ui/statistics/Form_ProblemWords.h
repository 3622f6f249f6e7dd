#pragma once

#include "statistics/QVL_Statistics_ProblemWords.h"
#include "ui/shell/FormMeta.h"

#include <QString>

#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;
class TQVL;
class TQVL_Card;

// "Problemwörter": the cards the learner gets wrong most often (the rule is
// TQVL_Statistics_ProblemWords), with their lesson and figures. "Bearbeiten"
// opens the card editor on the chosen card, since a word that never sticks
// often needs a better hint or note; "Als eigene Lektion üben" queries just
// these cards as a query over several lessons, each answer stored with the
// card's own lesson. Cards of lessons whose languages or kind differ from the
// chosen card's lesson cannot share that query and are left out.
class TFormProblemWords : public TFormMeta
{
    Q_OBJECT
public:
    // At most this many words: a list to work through, not the whole history.
    static constexpr int MaxWords = 100;

    TFormProblemWords(QWidget* parent, TQVL& core);
    ~TFormProblemWords() override;

    struct TRow
    {
        TQVL_Statistics_ProblemWords::TEntry Entry;
        // The card's words as the viewers show them; empty when the lesson or card is gone.
        QString Text;
        // The lesson file holds the card (same unit uid, card found).
        bool Found = false;
    };
    const std::vector<TRow>& Rows() const { return rows; }

    // "Bearbeiten": the card editor of the chosen row's lesson, on its card.
    void EditChosen();
    // "Als eigene Lektion üben": the query over the chosen row's lesson and the fitting other lessons.
    void PracticeAsLesson();
    // The words of `card` in one line.
    static QString CardText(const TQVL_Card& card);

    QTreeWidget* VST1 = nullptr;
    QLabel* Label_Rule = nullptr;
    QPushButton* Button_Edit = nullptr;
    QPushButton* Button_Practice = nullptr;
    QPushButton* Button_Back = nullptr;

private:
    void fill();
    void updateButtons();
    // The chosen row, the first one when none is chosen; nullptr for an empty list.
    const TRow* chosen() const;

    TQVL& core;
    std::vector<TRow> rows;
};
