#pragma once

#include <QString>
#include <QStringList>

// The installed list of language codes ("Data/languagecodes.txt", one code
// per line) that a language profile and the home language choose from.
class TQVL_LanguageCodes
{
public:
    static QString FileName(const QString& appDataFolder);
    // The codes in file order, blanks and empty lines left out. Raises
    // "Die Liste der Sprachcodes "…" konnte nicht gelesen werden!" when the file cannot be read.
    static QStringList Read(const QString& fileName);
};
