#pragma once

#include <QtGlobal>

// How a step judged an answer.
enum class TQVL_StepCode : quint8
{
    // The answer was not checked (the learner judges it himself); counts as right.
    NotEvaluated = 0,
    Right = 1,
    AlmostRight = 2,
    Wrong = 3,
    // Right, but a meaning of the card was left out; counts as wrong.
    MeaningMissing = 4,
    // Right after the hint was shown; counts as not right, shown as almost right.
    RightAfterHint = 5,
};

// The verdict of one step: percent 0-100 and its code.
struct TQVL_Query_StepResult
{
    quint8 Percent = 0;
    TQVL_StepCode Code = TQVL_StepCode::NotEvaluated;
    bool IsRight() const { return Code == TQVL_StepCode::NotEvaluated || Code == TQVL_StepCode::Right; }
    // Shown with the almost-right picture and text.
    bool IsHalf() const { return Code == TQVL_StepCode::AlmostRight || Code == TQVL_StepCode::RightAfterHint; }
};
