#pragma once

#include <QString>

// Between the program's three-letter language codes (bibliographic: "ger",
// "fre") and the locales other programs write ("de", "fr_FR", "deu").
namespace TQVL_LanguageLocales {

// "en_GB", "en-US", "EN" and "eng" all give "eng"; an unknown code comes back
// lower-cased without its region.
QString ProgramCode(const QString& locale);
// The two-letter locale of a program code ("ger" -> "de"); the code itself
// when no two-letter form is known.
QString Locale(const QString& programCode);

} // namespace TQVL_LanguageLocales
