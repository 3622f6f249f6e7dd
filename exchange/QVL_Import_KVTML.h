#pragma once

#include "exchange/QVL_Import_Source.h"

#include <QString>

// Reads the entries of a KVTML file (the open XML vocabulary format). In
// version 2.0, for each entry the translations in the two chosen languages
// become the foreign and home meaning, their comments the note; the languages
// are found by the locale of the file's identifiers, or by their name where
// the locale names no profile's language (Languages says which profile a
// language of the file is). Version 1.0 (no version attribute) holds "e"
// entries of an original "o" and translations "t", its languages named by
// their "l" attributes; files whose languages have no profile give the
// original as the foreign and the first translation as the home meaning.
class TQVL_Import_KVTML
{
public:
    // The languages the learner chose (codes of the language-name table).
    QString LangCodeHome;
    QString LangCodeForeign;
    // Take the languages from the file: the identifier of LangCodeHome (or
    // else the second one) is the home language, the other the foreign one.
    bool LanguagesFromSource = false;
    TQVL_Import_Languages Languages;

    TQVL_Import_Source Read(const QByteArray& bytes, const QString& fileName,
                            const TQVL_Import_Progress& progress = {}) const;
    // Only the languages of the file, in file order; reads no cards.
    std::vector<TQVL_Import_Language> FileLanguages(const QByteArray& bytes, const QString& fileName) const;

private:
    TQVL_Import_Source read(const QByteArray& bytes, const QString& fileName, const TQVL_Import_Progress& progress,
                            bool cards) const;
};
