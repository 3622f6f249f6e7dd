#pragma once

#include <QString>

// Between the program's three-letter language codes (bibliographic: "ger",
// "fre") and the locales and names other programs write ("de", "fr_FR",
// "deu", "French", "französisch").
namespace TQVL_LanguageLocales {

// "en_GB", "en-US", "EN" and "eng" all give "eng"; an unknown code comes back
// lower-cased without its region.
QString ProgramCode(const QString& locale);
// The two-letter locale of a program code ("ger" -> "de"); the code itself
// when no two-letter form is known.
QString Locale(const QString& programCode);
// The program code of a language named in English or German, in any case
// ("english", "Französisch", "Farsi"); empty for a name not in the table.
QString CodeOfName(const QString& name);
// Whether the built-in tables know `programCode` as a language.
bool IsKnownCode(const QString& programCode);

} // namespace TQVL_LanguageLocales
