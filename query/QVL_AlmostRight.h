#pragma once

#include <QString>

// Comparing a typed answer with an expected text, with a tolerant score for
// answers that are nearly right (umlaut spellings, accents, a left-out note in
// brackets, a missing or extra article, a final punctuation mark, one typing
// slip).
//
// Both texts are expected in their prepared form (Prepared): trimmed, lower
// case when letter case is ignored, and in canonical composed form, so that an
// "ä" typed as "a" plus a combining diaeresis equals a stored "ä".
namespace TQVL_AlmostRight {

// The form in which texts are compared: trimmed, lower-cased by the user's
// locale when `ignoreCase`, canonically composed.
QString Prepared(const QString& text, bool ignoreCase);

// Whether `first` equals `second`; an empty or single-blank `first` never does.
bool Equal(const QString& first, const QString& second);

// 0 for a blank `given`; 100 when it equals `expected`; otherwise the best
// almost-right score: 80 for an umlaut or "jmd." spelling, a missing or wrong
// accent or a left-out note in round brackets, 50 for an article,
// a punctuation mark or one typing slip, else 0.
int Match(const QString& given, const QString& expected);

} // namespace TQVL_AlmostRight
