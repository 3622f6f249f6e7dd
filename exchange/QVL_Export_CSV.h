#pragma once

#include "content/QVL_Card_Voc_Values.h"
#include "exchange/QVL_Import_CSV.h"

#include <QByteArray>
#include <QChar>

#include <array>
#include <vector>

// Writes vocabulary cards as a CSV file that spreadsheet programs open and the
// import reads back into the same cards: UTF-8 with a byte order mark, CRLF
// line ends, one line per card, the chosen fields in the order of the import's
// columns (so the import's default columns take them back).
class TQVL_Export_CSV
{
public:
    QChar Delimiter = QLatin1Char(';');
    // Which card fields become columns, indexed as TQVL_Import_CSV::Field.
    std::array<bool, TQVL_Import_CSV::fFieldCount> Fields{true, true, true, true, true, true, true, true};

    // Raises a German error for a delimiter that cannot separate fields.
    QByteArray Write(const std::vector<TQVL_Card_Voc_Values>& cards) const;

    // `text` as one field: in quotes where it holds the delimiter, a quote or a
    // line break; a leading "=", "+", "-" or "@" behind an apostrophe, so a
    // spreadsheet shows the text instead of running it as a formula.
    static QString Field(const QString& text, QChar delimiter);
    // The inverse of the apostrophe that Field puts before a formula-like text.
    static QString WithoutFormulaGuard(const QString& text);
};
