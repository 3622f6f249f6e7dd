#pragma once

#include "exchange/QVL_Import_Source.h"

#include <QString>

#include <array>

// Reads the cards of a CSV file: one card per line, the fields taken from the
// columns the learner named (1-based, 0 = not in the file). Lines whose named
// columns are all empty make no card.
class TQVL_Import_CSV
{
public:
    // The card fields in the order the wizard asks for their columns.
    enum Field : int
    {
        fHome1,
        fHome2,
        fHome3,
        fForeign1,
        fForeign2,
        fForeign3,
        fNote,
        fHint,
        fFieldCount
    };

    QChar Delimiter = QLatin1Char(';');
    std::array<int, fFieldCount> Columns{1, 2, 3, 4, 5, 6, 7, 8};

    // Raises a German error with the file and line for what it cannot read,
    // TQVL_Import_Cancelled when `progress` says so.
    TQVL_Import_Source Read(const QByteArray& bytes, const QString& fileName,
                            const TQVL_Import_Progress& progress = {}) const;
    // The delimiter as the learner knows it ("Tabulator" for a tab).
    static QString DelimiterName(QChar delimiter);
};
