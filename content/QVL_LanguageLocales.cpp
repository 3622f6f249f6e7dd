#include "content/QVL_LanguageLocales.h"

#include <QStringList>

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

// English and German names of the languages of the code list, as other
// programs write them into their files; alternative names after "|".
struct Names
{
    const char* code;
    const char* english;
    const char* german;
};
const Names languageNames[] = {
    {"afr", "Afrikaans", "Afrikaans"},
    {"alb", "Albanian", "Albanisch"},
    {"ara", "Arabic", "Arabisch"},
    {"arm", "Armenian", "Armenisch"},
    {"aze", "Azerbaijani|Azeri", "Aserbaidschanisch"},
    {"baq", "Basque", "Baskisch"},
    {"bel", "Belarusian|Byelorussian", "Belarussisch|Weißrussisch"},
    {"ben", "Bengali|Bangla", "Bengalisch"},
    {"bos", "Bosnian", "Bosnisch"},
    {"bre", "Breton", "Bretonisch"},
    {"bul", "Bulgarian", "Bulgarisch"},
    {"cat", "Catalan", "Katalanisch"},
    {"chi", "Chinese|Mandarin", "Chinesisch"},
    {"cze", "Czech", "Tschechisch"},
    {"dan", "Danish", "Dänisch"},
    {"dut", "Dutch|Flemish", "Niederländisch|Holländisch|Flämisch"},
    {"eng", "English", "Englisch"},
    {"epo", "Esperanto", "Esperanto"},
    {"est", "Estonian", "Estnisch"},
    {"fao", "Faroese", "Färöisch"},
    {"fin", "Finnish", "Finnisch"},
    {"fre", "French", "Französisch"},
    {"geo", "Georgian", "Georgisch"},
    {"ger", "German", "Deutsch"},
    {"gla", "Scottish Gaelic|Gaelic", "Schottisch-Gälisch|Gälisch"},
    {"gle", "Irish|Irish Gaelic", "Irisch"},
    {"glg", "Galician", "Galicisch|Galizisch"},
    {"grc", "Ancient Greek", "Altgriechisch"},
    {"gre", "Greek|Modern Greek", "Griechisch|Neugriechisch"},
    {"heb", "Hebrew", "Hebräisch"},
    {"hin", "Hindi", "Hindi"},
    {"hrv", "Croatian", "Kroatisch"},
    {"hun", "Hungarian", "Ungarisch"},
    {"ice", "Icelandic", "Isländisch"},
    {"ind", "Indonesian", "Indonesisch"},
    {"ita", "Italian", "Italienisch"},
    {"jpn", "Japanese", "Japanisch"},
    {"kaz", "Kazakh", "Kasachisch"},
    {"kor", "Korean", "Koreanisch"},
    {"kur", "Kurdish", "Kurdisch"},
    {"lat", "Latin", "Latein|Lateinisch"},
    {"lav", "Latvian", "Lettisch"},
    {"lit", "Lithuanian", "Litauisch"},
    {"ltz", "Luxembourgish|Letzeburgesch", "Luxemburgisch"},
    {"mac", "Macedonian", "Mazedonisch|Makedonisch"},
    {"may", "Malay", "Malaiisch"},
    {"mlt", "Maltese", "Maltesisch"},
    {"mon", "Mongolian", "Mongolisch"},
    {"nor", "Norwegian|Norwegian Bokmål|Bokmål|Nynorsk", "Norwegisch"},
    {"per", "Persian|Farsi", "Persisch|Farsi"},
    {"pol", "Polish", "Polnisch"},
    {"por", "Portuguese", "Portugiesisch"},
    {"roh", "Romansh|Romansch", "Rätoromanisch"},
    {"rum", "Romanian|Moldavian", "Rumänisch"},
    {"rus", "Russian", "Russisch"},
    {"slo", "Slovak", "Slowakisch"},
    {"slv", "Slovenian|Slovene", "Slowenisch"},
    {"spa", "Spanish|Castilian", "Spanisch|Kastilisch"},
    {"srp", "Serbian", "Serbisch"},
    {"swa", "Swahili|Kiswahili", "Swahili|Suaheli"},
    {"swe", "Swedish", "Schwedisch"},
    {"tha", "Thai", "Thailändisch|Thai"},
    {"tur", "Turkish", "Türkisch"},
    {"ukr", "Ukrainian", "Ukrainisch"},
    {"urd", "Urdu", "Urdu"},
    {"vie", "Vietnamese", "Vietnamesisch"},
    {"wel", "Welsh", "Walisisch"},
    {"yid", "Yiddish", "Jiddisch"},
};

bool namedIn(const char* names, const QString& wanted)
{
    for (const QString& name : QString::fromUtf8(names).split(QLatin1Char('|')))
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

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

QString CodeOfName(const QString& name)
{
    const QString wanted = name.simplified();
    if (wanted.isEmpty())
        return QString();
    for (const Names& language : languageNames)
        if (namedIn(language.english, wanted) || namedIn(language.german, wanted))
            return QString::fromLatin1(language.code);
    return QString();
}

bool IsKnownCode(const QString& programCode)
{
    for (const Names& language : languageNames)
        if (programCode == QLatin1String(language.code))
            return true;
    return false;
}

} // namespace TQVL_LanguageLocales
