#pragma once

#include "query/QVL_Query_StepResult.h"

#include <memory>

class TQVL_Card;
class TQVL_CardArrangement;
class TQVL_Query_Evaluation_Options;

// The learner's answer to one card, filled by the query window and judged
// against the card by Evaluate. The answer refers to its card and does not own
// it; the card must outlive the answer.
class TQVL_Card_Return
{
public:
    explicit TQVL_Card_Return(const TQVL_Card& card) : Card(card) {}
    virtual ~TQVL_Card_Return();
    TQVL_Card_Return(const TQVL_Card_Return&) = delete;
    TQVL_Card_Return& operator=(const TQVL_Card_Return&) = delete;

    // Judges the answer into `Result`. `Direction` is 1 when the foreign side
    // was asked (the answer is in the home language), 2 when the home side was
    // asked; another direction is a programming error.
    virtual void Evaluate(TQVL_Query_StepResult& Result, int Direction,
                          const TQVL_Query_Evaluation_Options& Options) const = 0;

    const TQVL_Card& Card;
};

// A new, empty answer for `card`: vocabulary and sound cards get a
// TQVL_Card_Return_Voc, picture cards a TQVL_Card_Return_Pic, grammar cards a
// TQVL_Card_Return_Grammar judged by `arrangement` (which may also be set later);
// information cards nothing.
std::unique_ptr<TQVL_Card_Return> CreateReturn(const TQVL_Card& card,
                                               const TQVL_CardArrangement* arrangement = nullptr);
