#pragma once

#include "query/QVL_Card_Return.h"

#include <QChar>
#include <QString>

class TQVL_Card_Voc;

// A typed or chosen answer to a vocabulary or sound card. Several meanings may
// be given in one text, separated by `Delimiter`; each must fit one of the
// card's meanings of the answered side, at worst almost.
class TQVL_Card_Return_Voc : public TQVL_Card_Return
{
public:
    explicit TQVL_Card_Return_Voc(const TQVL_Card_Voc& card);

    // Code 1 when every given meaning equals one of the card's; 2 when the worst
    // of them is almost right (50 or 80); 3 otherwise. With allmeaningscorrect a
    // right answer that leaves out one of the card's meanings becomes (0, 4).
    // After the hint a right answer gets code 5, and every score is halved.
    void Evaluate(TQVL_Query_StepResult& Result, int Direction,
                  const TQVL_Query_Evaluation_Options& Options) const override;

    // The learner showed the card's hint before answering.
    bool HintUsed = false;
    // The answer as typed, or the text of the chosen list entry.
    QString Text;
    // Separates the meanings in `Text`: the first character of the program
    // option query/delimiter (TQVL_Options::Delimiter()). A null character
    // leaves the answer whole.
    QChar Delimiter;

protected:
    // For picture answers, which judge their own card.
    explicit TQVL_Card_Return_Voc(const TQVL_Card& card) : TQVL_Card_Return(card) {}
};
