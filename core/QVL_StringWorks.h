#pragma once

#include <QString>

// Pieces of a text cut at a delimiter; exact, case-sensitive comparisons.
namespace TQVL_StringWorks {

// Non-overlapping occurrences of `delimiter` in `text`, from left to right.
int CountDelimiters(const QString& delimiter, const QString& text);
// The `index`-th piece (from 1) of `text` cut at `delimiter`; empty when there are fewer pieces.
QString GetPiece(const QString& text, const QString& delimiter, int index);

} // namespace TQVL_StringWorks
