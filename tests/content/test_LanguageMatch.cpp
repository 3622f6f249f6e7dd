#include "content/QVL_LanguageMatch.h"

#include <gtest/gtest.h>

namespace {

// The profiles of a typical installation, and one of the learner's own whose
// code is no ISO code.
TQVL_LanguageMatch installation()
{
    return TQVL_LanguageMatch({{QStringLiteral("ger"), QStringLiteral("Deutsch")},
                               {QStringLiteral("eng"), QStringLiteral("Englisch")},
                               {QStringLiteral("fre"), QStringLiteral("Französisch")},
                               {QStringLiteral("spa"), QStringLiteral("Spanisch")},
                               {QStringLiteral("tur"), QStringLiteral("Türkisch")},
                               {QStringLiteral("xkl"), QStringLiteral("Klingonisch")}});
}

} // namespace

// How other programs name a language in their files, and the profile it finds.
TEST(LanguageMatch, CodesLocalesAndNamesFindTheProfile)
{
    const struct
    {
        const char* text;
        const char* code; // empty: no installed profile has the language
    } cases[] = {
        {"en", "eng"},
        {"EN", "eng"},
        {"eng", "eng"},
        {"fra", "fre"},
        {"fre", "fre"},
        {"deu", "ger"},
        {"fr_FR", "fre"},
        {"de-DE", "ger"},
        {"en_US.UTF-8", "eng"},
        {"es_ES@euro", "spa"},
        {"English", "eng"},
        {"english", "eng"},
        {"FRENCH", "fre"},
        {"german", "ger"},
        {"Deutsch", "ger"},
        {"französisch", "fre"},
        {"FRANZÖSISCH", "fre"},
        {"türkisch", "tur"},
        {"Castilian", "spa"},
        {" English (US) ", "eng"},
        {"Englisch (GB)", "eng"},
        {"english_gb", "eng"},
        {"Klingonisch", "xkl"},
        {"xkl", "xkl"},
        // Languages without a profile, and what names no language.
        {"it", ""},
        {"Italian", ""},
        {"ita", ""},
        {"state", ""},
        {"capital", ""},
        {"Column 1", ""},
        {"", ""},
        {"  ", ""},
        {"e", ""},
        {"engl", ""},
    };
    const TQVL_LanguageMatch match = installation();
    for (const auto& row : cases)
        EXPECT_EQ(match.CodeOf(QString::fromUtf8(row.text)), QString::fromUtf8(row.code)) << row.text;
    EXPECT_EQ(match.NameOf(QStringLiteral("fre")), QStringLiteral("Französisch"));
    EXPECT_EQ(match.NameOf(QStringLiteral("ita")), QString());
}

TEST(LanguageMatch, WithoutProfilesEveryLanguageOfTheTablesCounts)
{
    const TQVL_LanguageMatch match;
    EXPECT_EQ(match.CodeOf(QStringLiteral("Italian")), QStringLiteral("ita"));
    EXPECT_EQ(match.CodeOf(QStringLiteral("nl_BE")), QStringLiteral("dut"));
    EXPECT_EQ(match.CodeOf(QStringLiteral("Farsi")), QStringLiteral("per"));
    EXPECT_EQ(match.CodeOf(QStringLiteral("grc")), QStringLiteral("grc"));
    EXPECT_EQ(match.CodeOf(QStringLiteral("xx")), QString());
    EXPECT_EQ(match.CodeOf(QStringLiteral("state")), QString());
}

TEST(LanguageMatch, TheInstalledProfilesSortedByName)
{
    const TQVL_LanguageMatch match = TQVL_LanguageMatch::Installed(QStringLiteral(QUORVEL_DATA "/appdata/Languages"));
    ASSERT_GE(match.Profiles().size(), 10u);
    EXPECT_EQ(match.Profiles().front().Name, QStringLiteral("Deutsch"));
    EXPECT_EQ(match.Profiles().front().Code, QStringLiteral("ger"));
    EXPECT_EQ(match.CodeOf(QStringLiteral("Swedish")), QStringLiteral("swe"));
    EXPECT_EQ(match.CodeOf(QStringLiteral("la")), QStringLiteral("lat"));
    EXPECT_EQ(match.CodeOf(QStringLiteral("Dutch")), QString()) << "no Dutch profile is installed";
    for (std::size_t i = 1; i < match.Profiles().size(); ++i)
        EXPECT_LT(match.Profiles()[i - 1].Name.compare(match.Profiles()[i].Name, Qt::CaseInsensitive), 0);
}
