#pragma once

#include <QtGlobal>

// How a long-term storage decides when a card is due: by the classic stages
// ("Stufen (klassisch)") or by the FSRS memory model ("FSRS (Vergessenskurve)").
enum class TQVL_LearnMethod : quint8
{
    Stages,
    FSRS,
};

// The desired retention of FSRS ("gewünschte Behaltensquote"): its default and range.
constexpr double QVL_DefaultRetention = 0.90;
constexpr double QVL_MinRetention = 0.70;
constexpr double QVL_MaxRetention = 0.97;
