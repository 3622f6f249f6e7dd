#pragma once

#include "exchange/QVL_Import_CSV.h"
#include "exchange/QVL_Import_Source.h"

#include <QString>

// The kinds of foreign files the import wizard turns into units.
enum class TQVL_Import_Type
{
    itCSV,
    itKVTML,
    itPlainText,
};

// Turns one foreign file into a new vocabulary unit in the output folder,
// named after the file and never replacing an existing one. The unit is
// written only once the whole file was read, and then atomically, so a
// cancelled or failed import leaves no lesson behind.
class TQVL_Import
{
public:
    TQVL_Import_Type Type = TQVL_Import_Type::itCSV;
    // Delimiter and columns of CSV files.
    TQVL_Import_CSV CSV;
    QString LangCodeHome;
    QString LangCodeForeign;
    // Files that name their languages (KVTML) give the unit theirs.
    bool LanguagesFromSource = false;
    // The profiles a file's languages become, and what the learner decided for them.
    TQVL_Import_Languages Languages;
    QString OutputFolder;
    // Hears of the work done on the file being read, in thousandths, from
    // its first bytes on; returning false cancels.
    TQVL_Import_Progress OnProgress;

    // The languages `fileName` names (KVTML), read without its cards; empty
    // for kinds of files that name none. Raises as ReadFile does.
    std::vector<TQVL_Import_Language> FileLanguages(const QString& fileName) const;
    // The cards of `fileName` as the reader of Type finds them.
    TQVL_Import_Source ReadFile(const QString& fileName) const;
    // Reads `fileName` and writes the unit; returns its path and sets
    // `cardCount`. Raises a German error (with file and line where the file
    // is at fault), TQVL_Import_Cancelled when OnProgress says so.
    QString ImportFile(const QString& fileName, int* cardCount = nullptr) const;
    // The open-dialog filter of a file kind.
    static QString FileFilter(TQVL_Import_Type type);
};
