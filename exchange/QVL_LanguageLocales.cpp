#include "exchange/QVL_LanguageLocales.h"

#include <string>
#include <utility>

namespace {

// The language codes of the language-name table are three-letter ones
// (bibliographic forms: "ger", "fre"); files name languages by two letters
// ("de") or by the terminological three ("deu"). The two-letter form of a
// code comes first.
const std::pair<const char*, const char*> programCodes[] = {
    {"af", "afr"}, {"sq", "alb"}, {"sqi", "alb"}, {"ar", "ara"}, {"hy", "arm"}, {"hye", "arm"}, {"az", "aze"},
    {"eu", "baq"}, {"eus", "baq"}, {"be", "bel"}, {"bn", "ben"}, {"bs", "bos"}, {"br", "bre"}, {"bg", "bul"},
    {"zh", "chi"}, {"zho", "chi"}, {"da", "dan"}, {"de", "ger"}, {"deu", "ger"}, {"en", "eng"}, {"eo", "epo"},
    {"et", "est"}, {"fo", "fao"}, {"fi", "fin"}, {"fr", "fre"}, {"fra", "fre"}, {"gl", "glg"}, {"ka", "geo"},
    {"kat", "geo"}, {"el", "gre"}, {"ell", "gre"}, {"he", "heb"}, {"iw", "heb"}, {"hi", "hin"}, {"id", "ind"},
    {"ga", "gle"}, {"is", "ice"}, {"isl", "ice"}, {"it", "ita"}, {"ja", "jpn"}, {"yi", "yid"}, {"kk", "kaz"},
    {"ca", "cat"}, {"ko", "kor"}, {"hr", "hrv"}, {"ku", "kur"}, {"la", "lat"}, {"lv", "lav"}, {"lt", "lit"},
    {"lb", "ltz"}, {"ms", "may"}, {"msa", "may"}, {"mt", "mlt"}, {"mk", "mac"}, {"mkd", "mac"}, {"mn", "mon"},
    {"nl", "dut"}, {"nld", "dut"}, {"no", "nor"}, {"nb", "nor"}, {"nn", "nor"}, {"nob", "nor"}, {"fa", "per"},
    {"fas", "per"}, {"pl", "pol"}, {"pt", "por"}, {"rm", "roh"}, {"ro", "rum"}, {"ron", "rum"}, {"ru", "rus"},
    {"gd", "gla"}, {"sv", "swe"}, {"sr", "srp"}, {"sk", "slo"}, {"slk", "slo"}, {"sl", "slv"}, {"es", "spa"},
    {"sw", "swa"}, {"th", "tha"}, {"cs", "cze"}, {"ces", "cze"}, {"tr", "tur"}, {"uk", "ukr"}, {"hu", "hun"},
    {"ur", "urd"}, {"vi", "vie"}, {"cy", "wel"}, {"cym", "wel"},
};

} // namespace

namespace TQVL_LanguageLocales {

QString ProgramCode(const QString& locale)
{
    QString code = locale.trimmed().toLower();
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'_' || c == u'-' || c == u'@' || c == u'.') {
            code.truncate(i);
            break;
        }
    }
    for (const auto& [from, to] : programCodes)
        if (code == QLatin1String(from))
            return QString::fromLatin1(to);
    return code;
}

QString Locale(const QString& programCode)
{
    for (const auto& [from, to] : programCodes)
        if (programCode == QLatin1String(to) && std::char_traits<char>::length(from) == 2)
            return QString::fromLatin1(from);
    return programCode;
}

} // namespace TQVL_LanguageLocales
