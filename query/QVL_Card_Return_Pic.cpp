#include "query/QVL_Card_Return_Pic.h"

#include "content/QVL_Card_Pic.h"
#include "query/QVL_AlmostRight.h"
#include "query/QVL_Query_Evaluation_Options.h"

TQVL_Card_Return_Pic::TQVL_Card_Return_Pic(const TQVL_Card_Pic& card) : TQVL_Card_Return_Voc(card) {}

void TQVL_Card_Return_Pic::Evaluate(TQVL_Query_StepResult& Result, int /*Direction*/,
                                    const TQVL_Query_Evaluation_Options& Options) const
{
    const auto& card = static_cast<const TQVL_Card_Pic&>(Card);
    Result = {0, TQVL_StepCode::Wrong};
    switch (card.answer_typ) {
    case 0: {
        // Trimmed like a vocabulary answer: a blank after the word is no error.
        const int score = TQVL_AlmostRight::Match(TQVL_AlmostRight::Prepared(Text, Options.ignorecase),
                                                  TQVL_AlmostRight::Prepared(card.answer_text, Options.ignorecase));
        Result.Percent = quint8(score);
        Result.Code = score > 90 ? TQVL_StepCode::Right : score > 10 ? TQVL_StepCode::AlmostRight : TQVL_StepCode::Wrong;
        break;
    }
    case 1:
        if (Clicked && card.clickareas->Contains(ClickX, ClickY))
            Result = {100, TQVL_StepCode::Right};
        break;
    default:
        break;
    }
}
