#pragma once

#include <QtGlobal>

// The verdict of one step: percent 0-100 and a code (0 and 1 right, 2 almost
// right, 3 wrong, 4 wrong because not all meanings were given, 5 right after
// using the hint).
struct TQVL_Query_StepResult { quint8 Percent = 0; quint8 Code = 0; bool IsRight() const { return Code < 2; } };
