// The installed language data: the language profiles, the language-name table
// and the list of language codes. They are generated from the tables below, so
// that they are in the exact layout our writer produces. After changing a
// table, write the files again with
//   test_content --gtest_also_run_disabled_tests --gtest_filter='InstalledLanguages.DISABLED_WriteFiles'
#include "content/QVL_Language.h"
#include "content/QVL_LanguagesNames.h"
#include "core/QVL_SafeFile.h"
#include "core/QVL_XML.h"
#include "tests/support/TestFolders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSet>

#include <algorithm>
#include <map>

#ifndef QUORVEL_DATA
#define QUORVEL_DATA QUORVEL_FIXTURES "/../../data"
#endif

namespace {

const QString appData = QStringLiteral(QUORVEL_DATA "/appdata");

struct Profile
{
    const char* file;
    const char* uid;
    const char* langCode;
    const char* name;
    const char* adjective;
    const char* adjectivePlural;
    const char* characters;
    // Typing replacements, position by position. Only keys a German keyboard
    // has and the language never uses are replaced, so nothing a learner
    // types on purpose changes.
    const char* from;
    const char* to;
};

const Profile profiles[] = {
    {"Deutsch", "{06EF8AED-3BC2-4621-983A-6FACEDDB4205}", "ger", "Deutsch", "Deutsch", "Deutsche", "äöüßÄÖÜ", "", ""},
    {"Englisch", "{FBFA8D0A-60DE-4C69-9986-0BA40F69DAC1}", "eng", "Englisch", "Englisch", "Englische", "", "", ""},
    // ä and ö give the French letters a German keyboard lacks or reaches only
    // by dead keys; ß gives ç (both sound /s/). ü stays (aigüe).
    {"Französisch", "{5C3B2B35-1119-4D09-A14C-DB1A8F34F3BD}", "fre", "Französisch", "Französisch", "Französische",
     "àâæçéèêëîïôœùûüÿ«»", "äößÄÖ", "àœçÀŒ"},
    // ü stays (pingüino); ß gives ñ.
    {"Spanisch", "{CA90F86F-6D74-4937-BBCC-F21714832539}", "spa", "Spanisch", "Spanisch", "Spanische",
     "áéíóúüñÁÉÍÓÚÑ¿¡", "äößÄÖ", "áóñÁÓ"},
    {"Italienisch", "{CB467F7A-E704-4E87-8D02-F49CE47B77E7}", "ita", "Italienisch", "Italienisch", "Italienische",
     "àèéìòùÀÈÉÌÒÙ", "äöüÄÖÜ", "àòùÀÒÙ"},
    // Long vowels as dictionaries mark them.
    {"Latein", "{615FEA8F-B23C-4D1F-ACD6-9DF06A6EB842}", "lat", "Latein", "Lateinisch", "Lateinische", "āēīōūȳĀĒĪŌŪ",
     "äöüÄÖÜ", "āōūĀŌŪ"},
    // å sits where a Swedish keyboard has it: on the ü key.
    {"Schwedisch", "{465D01DF-63A7-4261-A378-B97BF1BAEFCF}", "swe", "Schwedisch", "Schwedisch", "Schwedische", "åäöÅÄÖ",
     "üÜ", "åÅ"},
    // ö and ü are Turkish letters and stay; ä gives the dotless ı, ß gives ş.
    {"Türkisch", "{7326C17F-216C-406F-9A74-075363AD7C7B}", "tur", "Türkisch", "Türkisch", "Türkische", "çğıİöşüÇĞŞÖÜ",
     "äÄß", "ıİş"},
    {"Polnisch", "{43C7CC39-BE50-4EFD-8DBF-0DE50982FC53}", "pol", "Polnisch", "Polnisch", "Polnische",
     "ąćęłńóśźżĄĆĘŁŃÓŚŹŻ", "äöüß#ÄÖÜ", "ąóęśłĄÓĘ"},
    // The phonetic Russian layout for German keyboards, by typed character:
    // w в, x ж, v ь, q я, y ы, ä э, ö ч, ü ш, + щ, # ю (shifted for capitals).
    {"Russisch", "{1585711E-87CB-47B5-9403-9696DFB6CE66}", "rus", "Russisch", "Russisch", "Russische",
     "абвгдеёжзийклмнопрстуфхцчшщъыьэюя", "abwgdexzijklmnoprstufhcöü+ä#qyvABWGDEXZIJKLMNOPRSTUFHCÖÜ*Ä'QYV",
     "абвгдежзийклмнопрстуфхцчшщэюяыьАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЭЮЯЫЬ"},
};

// ISO 639-2 codes with the German names shown for them.
const std::pair<const char*, const char*> languageNames[] = {
    {"afr", "Afrikaans"},
    {"alb", "Albanisch"},
    {"ara", "Arabisch"},
    {"arm", "Armenisch"},
    {"aze", "Aserbaidschanisch"},
    {"baq", "Baskisch"},
    {"bel", "Belarussisch"},
    {"ben", "Bengalisch"},
    {"bos", "Bosnisch"},
    {"bre", "Bretonisch"},
    {"bul", "Bulgarisch"},
    {"cat", "Katalanisch"},
    {"chi", "Chinesisch"},
    {"cze", "Tschechisch"},
    {"dan", "Dänisch"},
    {"dut", "Niederländisch"},
    {"eng", "Englisch"},
    {"epo", "Esperanto"},
    {"est", "Estnisch"},
    {"fao", "Färöisch"},
    {"fin", "Finnisch"},
    {"fre", "Französisch"},
    {"geo", "Georgisch"},
    {"ger", "Deutsch"},
    {"gla", "Schottisch-Gälisch"},
    {"gle", "Irisch"},
    {"glg", "Galicisch"},
    {"grc", "Altgriechisch"},
    {"gre", "Griechisch"},
    {"heb", "Hebräisch"},
    {"hin", "Hindi"},
    {"hrv", "Kroatisch"},
    {"hun", "Ungarisch"},
    {"ice", "Isländisch"},
    {"ind", "Indonesisch"},
    {"ita", "Italienisch"},
    {"jpn", "Japanisch"},
    {"kaz", "Kasachisch"},
    {"kor", "Koreanisch"},
    {"kur", "Kurdisch"},
    {"lat", "Latein"},
    {"lav", "Lettisch"},
    {"lit", "Litauisch"},
    {"ltz", "Luxemburgisch"},
    {"mac", "Mazedonisch"},
    {"may", "Malaiisch"},
    {"mlt", "Maltesisch"},
    {"mon", "Mongolisch"},
    {"nor", "Norwegisch"},
    {"per", "Persisch"},
    {"pol", "Polnisch"},
    {"por", "Portugiesisch"},
    {"roh", "Rätoromanisch"},
    {"rum", "Rumänisch"},
    {"rus", "Russisch"},
    {"slo", "Slowakisch"},
    {"slv", "Slowenisch"},
    {"spa", "Spanisch"},
    {"srp", "Serbisch"},
    {"swa", "Swahili"},
    {"swe", "Schwedisch"},
    {"tha", "Thailändisch"},
    {"tur", "Türkisch"},
    {"ukr", "Ukrainisch"},
    {"urd", "Urdu"},
    {"vie", "Vietnamesisch"},
    {"wel", "Walisisch"},
    {"yid", "Jiddisch"},
};

template <class T> QByteArray written(T& object)
{
    TQVL_XML document;
    document.Version = object.CurrentVersion;
    object.SaveToXML(*document.Root);
    return document.SaveToBytes();
}

// Every installed file, by its path below data/appdata, as the tables give it.
std::map<QString, QByteArray> generate()
{
    std::map<QString, QByteArray> files;
    for (const Profile& p : profiles) {
        TQVL_Language language;
        language.Uid = QString::fromUtf8(p.uid);
        language.LangCode = QString::fromUtf8(p.langCode);
        language.Name = QString::fromUtf8(p.name);
        language.Adjective = QString::fromUtf8(p.adjective);
        language.AdjectivePlural = QString::fromUtf8(p.adjectivePlural);
        language.Characters = QString::fromUtf8(p.characters);
        language.CharactersShow = !language.Characters.isEmpty() && language.LangCode != QLatin1String("ger");
        language.ReplacementsFrom = QString::fromUtf8(p.from);
        language.ReplacementsTo = QString::fromUtf8(p.to);
        language.ReplacementsActive = !language.ReplacementsFrom.isEmpty();
        files[QStringLiteral("Languages/%1.qxl").arg(QString::fromUtf8(p.file))] = written(language);
    }

    // The table lists the names alphabetically, as the new-storage dialog shows them.
    std::vector<std::pair<QString, QString>> byName;
    for (const auto& [code, name] : languageNames)
        byName.emplace_back(QString::fromUtf8(name), QString::fromLatin1(code));
    // Umlauts sort as their base letters; a fixed rule, so every machine writes the same file.
    const auto key = [](QString name) {
        return name.replace(QChar(0xE4), QLatin1Char('a'))
            .replace(QChar(0xF6), QLatin1Char('o'))
            .replace(QChar(0xFC), QLatin1Char('u'))
            .replace(QChar(0xDF), QLatin1String("ss"));
    };
    std::sort(byName.begin(), byName.end(), [&](const auto& a, const auto& b) { return key(a.first) < key(b.first); });
    TQVL_LanguagesNames names;
    for (const auto& [name, code] : byName)
        names.Add(code, name);
    files[QStringLiteral("Data/LanguageNames.xml")] = written(names);

    QByteArray codes;
    for (const auto& entry : languageNames)
        codes += QByteArray(entry.first) + '\n';
    files[QStringLiteral("Data/languagecodes.txt")] = codes;
    return files;
}

QStringList filesIn(const QString& folder, const QString& pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
}

} // namespace

TEST(InstalledLanguages, DISABLED_WriteFiles)
{
    QDir().mkpath(appData + QStringLiteral("/Languages"));
    QDir().mkpath(appData + QStringLiteral("/Data"));
    for (const auto& [path, bytes] : generate())
        TQVL_SafeFile::Write(appData + QLatin1Char('/') + path, bytes);
}

TEST(InstalledLanguages, AreTheGeneratedFiles)
{
    const std::map<QString, QByteArray> files = generate();
    for (const auto& [path, bytes] : files)
        EXPECT_EQ(ReadFile(appData + QLatin1Char('/') + path), bytes) << path.toStdString() << " is out of date";
    for (const QString& file : filesIn(appData + QStringLiteral("/Languages"), QStringLiteral("*")))
        EXPECT_TRUE(files.count(QStringLiteral("Languages/") + file)) << file.toStdString() << " is not generated";
}

TEST(InstalledLanguages, ProfilesLoadAndFitTheirCodeAndNameTables)
{
    TQVL_LanguagesNames names;
    names.Open(appData + QStringLiteral("/Data/LanguageNames.xml"));
    const QStringList codes = QString::fromLatin1(ReadFile(appData + QStringLiteral("/Data/languagecodes.txt")))
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(names.Count(), codes.size());
    for (const QString& code : codes) {
        EXPECT_EQ(code.size(), 3) << code.toStdString();
        EXPECT_NE(names.NameOf(code), QStringLiteral("Unknown")) << code.toStdString();
    }
    names.CloseFile();

    TestFolders folders;
    QSet<QString> uids, langCodes;
    const QString folder = appData + QStringLiteral("/Languages");
    const QStringList files = filesIn(folder, QStringLiteral("*.qxl"));
    ASSERT_GE(files.size(), 10);
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const QString path = folder + QLatin1Char('/') + file;
        TQVL_Language language;
        language.Open(path);
        language.CloseFile();

        // The file list reads these three from the first 250 bytes.
        const QStringList header{QStringLiteral("uid"), QStringLiteral("langcode"), QStringLiteral("name")};
        QStringList values;
        TQVL_XML::ReadHeaderValues(path, &header, 250, &values);
        EXPECT_EQ(values, (QStringList{language.Uid, language.LangCode, language.Name}));

        EXPECT_TRUE(codes.contains(language.LangCode));
        EXPECT_EQ(names.NameOf(language.LangCode), language.Name);
        EXPECT_FALSE(uids.contains(language.Uid));
        EXPECT_FALSE(langCodes.contains(language.LangCode)) << "FindByLangCode would find only one of them";
        uids.insert(language.Uid);
        langCodes.insert(language.LangCode);

        EXPECT_EQ(language.ReplacementsFrom.size(), language.ReplacementsTo.size());
        for (const auto& [from, to] : language.ReplacementPairs()) {
            EXPECT_LE(from.unicode(), 0xFF) << "only single-byte characters can be typed for replacement";
            EXPECT_EQ(language.ReplacementsFrom.count(from), 1) << "only the first of two would count";
            EXPECT_FALSE(language.Characters.contains(from))
                << "a special character of the language must stay typeable: " << QString(from).toStdString();
        }

        const QString copy = folders.Root() + QLatin1Char('/') + file;
        WriteFile(copy, ReadFile(path));
        language.Open(copy);
        ASSERT_TRUE(language.RequestWriteAccess());
        language.Save();
        language.CloseFile();
        EXPECT_EQ(ReadFile(copy), ReadFile(path)) << "a load and save changes nothing";
    }
    for (const char* code : {"ger", "eng", "fre", "spa", "ita", "lat", "swe", "tur", "pol", "rus"})
        EXPECT_TRUE(langCodes.contains(QString::fromLatin1(code))) << code;
}
