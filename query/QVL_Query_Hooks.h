#pragma once

#include <functional>
#include <memory>

class TQVL_Card_Return;
class TQVL_Query_Card;

// A uniformly random integer in 0 .. bound - 1 (bound >= 1).
using TQVL_Query_Random = std::function<int(int bound)>;

// The only way a running query reaches the window that shows it. Each hook may
// be left empty. The query, its exercise phases, rounds and steps all call the
// same hooks: the query's own.
struct TQVL_Query_Hooks
{
    // A step begins: show `card` asked in `direction` (1 foreign -> native, 2 native -> foreign).
    std::function<void(TQVL_Query_Card& card, int direction)> OnDisplayQuestion;
    // The question phase ended and an answer is required: return the filled answer
    // object (CreateReturn of the card); the step takes it over.
    std::function<std::unique_ptr<TQVL_Card_Return>(TQVL_Query_Card& card)> OnGetUserInput;
    // Show the answer. `answer` is the object OnGetUserInput returned (nullptr when
    // none was asked for); it stays valid until OnStepEnd has returned.
    std::function<void(TQVL_Query_Card& card, int direction, bool showEvaluation, int code, bool askSelfEvaluation,
                       bool showUserAnswer, const TQVL_Card_Return* answer, bool sounds)>
        OnDisplayAnswer;
    // After OnDisplayAnswer when the learner is to judge his answer himself.
    std::function<void()> OnSelfEvaluation;
    // The step has been counted.
    std::function<void()> OnStepEnd;
    // A round ended, before its list is reduced: its number and the size of the phase's list.
    std::function<void(int turnNumber, int cardCount)> OnTurnEnd;
    // An exercise phase ended: its number.
    std::function<void(int sessionNumber)> OnSessionEnd;
    // The query ran out of cards and has stopped by itself (its results are stored).
    std::function<void()> OnQueryEnd;
};
