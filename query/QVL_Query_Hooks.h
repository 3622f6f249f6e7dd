#pragma once

#include "query/QVL_Query_StepResult.h"

#include <functional>
#include <memory>

class TQVL_Card_Return;
class TQVL_Query_Card;

// What a window shows when a step turns to its answer.
struct TQVL_Query_AnswerShown
{
    TQVL_Query_Card& Card;
    // 1 foreign -> native, 2 native -> foreign.
    int Direction;
    // The checked answer's verdict; NotEvaluated when it was not checked.
    TQVL_Query_StepResult Result;
    bool ShowEvaluation;
    bool AskSelfEvaluation;
    bool ShowUserAnswer;
    // The object OnGetUserInput returned (nullptr when none was asked for);
    // valid until OnStepEnd has returned.
    const TQVL_Card_Return* Answer;
    bool Sounds;
};

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
    // Show the answer.
    std::function<void(const TQVL_Query_AnswerShown& shown)> OnDisplayAnswer;
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
