#pragma once

#include "content/QVL_Card_Voc_Values.h"
#include "exchange/QVL_Export_CSV.h"

#include <QString>

#include <vector>

class TQVL_Unit;

// The kinds of files a lesson can be exported to.
enum class TQVL_Export_Format
{
    CSV,
    KVTML,
    Anki,
};

// Writes the cards of a lesson or long-term storage into a file other programs
// read, atomically: a failed or cancelled write leaves an existing file as it
// was.
class TQVL_Export
{
public:
    TQVL_Export_Format Format = TQVL_Export_Format::CSV;
    // Delimiter and columns of CSV files.
    TQVL_Export_CSV CSV;
    // The languages' names for formats that carry them (KVTML); the codes when empty.
    QString LangNameForeign, LangNameHome;

    // Whether the format can hold cards of units of `kind`.
    static bool CanExport(int kind);
    // The vocabulary of `unit`; raises a German error for kinds the formats cannot hold.
    static std::vector<TQVL_Card_Voc_Values> Vocabulary(const TQVL_Unit& unit);
    // Writes `unit` into `fileName` and returns the number of cards written.
    // Sound files stay with the lesson; no format takes them yet.
    int ExportUnit(const TQVL_Unit& unit, const QString& fileName) const;
    // The save-dialog filter and the file extension of a format.
    static QString FileFilter(TQVL_Export_Format format);
    static QString Extension(TQVL_Export_Format format);
};
