#include "query/QVL_AlmostRight.h"
#include "tests/support/GermanLocale.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <random>

using namespace TQVL_AlmostRight;

namespace {

// The scoring written the plain way, one copy per variant and position, to hold
// the linear slip checks against.
int literalMatch(const QString& g, const QString& e)
{
    if (g.trimmed().isEmpty())
        return 0;
    if (Equal(g, e))
        return 100;
    const char* const spellings[][2] = {{"jmd.", "jemanden"}, {"ä", "ae"}, {"ö", "oe"}, {"ü", "ue"}, {"ß", "ss"},
                                        {"ae", "ä"},          {"oe", "ö"}, {"ue", "ü"}, {"ss", "ß"}};
    for (const auto& s : spellings) {
        QString copy = g;
        if (Equal(copy.replace(QString::fromUtf8(s[0]), QString::fromUtf8(s[1]), Qt::CaseInsensitive), e))
            return 80;
    }
    for (const char* a : {"the ", "a ", "an ", "to ", "der ", "die ", "das ", "ein ", "eine "}) {
        if (Equal(QLatin1String(a) + g, e) || Equal(g, QLatin1String(a) + e))
            return 50;
    }
    for (const char* m : {".", "?", "!", " /n"}) {
        if (Equal(g, e + QLatin1String(m)) || Equal(g + QLatin1String(m), e))
            return 50;
    }
    for (qsizetype p = 1; p <= g.size() + 1; ++p) {
        if (Equal(g, QString(e).remove(p - 1, 1)))
            return 50;
        if (p < g.size()) {
            QString swapped = g;
            std::swap(swapped[p - 1], swapped[p]);
            if (Equal(e, swapped))
                return 50;
        }
    }
    return 0;
}

using AlmostRight = GermanLocaleTest;

} // namespace

TEST_F(AlmostRight, ScoresOfTypicalSlips)
{
    struct Case
    {
        const char* given;
        const char* expected;
        int score;
    } const cases[] = {
        {"Straße", "Straße", 100},
        {"Strasse", "Straße", 80},
        {"STRASSE", "Straße", 0}, // the replacement is lower case: "STRAßE"
        {"Haeuser", "Häuser", 80},
        {"Häuser", "Haeuser", 80},
        {"Fuesse", "Füße", 0}, // one replacement at a time
        {"jmd. helfen", "jemanden helfen", 80},
        {"JMD. helfen", "jemanden helfen", 80},
        {"Haus", "das Haus", 50},
        {"das Haus", "Haus", 50},
        {"Haus", "eine Haus", 50},
        {"house.", "house", 50},
        {"house", "house!", 50},
        {"house", "house /n", 50},
        {"house,", "house", 0},
        {"huose", "house", 50},
        {"hosue", "house", 50},
        {"ohuse", "house", 50},
        {"houes", "house", 50}, // the last two swapped
        {"hoxse", "house", 0},
        {"Hus", "Haus", 50},
        {"aus", "Haus", 50},
        {"Hau", "Haus", 50}, // the last letter left out
        {"hous", "house", 50},
        {"Has", "Hass", 50},
        {"Hs", "Haus", 0},
        {"Haus", "Hus", 0}, // an extra character is no slip
        {"", "Haus", 0},
        {" ", " ", 0},
        {".", "", 50}, // hence empty meanings of a card are no candidates
        {"ecole", "école", 80},
        {"élève", "élevé", 80}, // accents on the wrong letters
        {"garcon", "garçon", 80},
        {"manana", "mañana", 80},
        {"Ecole", "école", 0}, // letter case still counts
        {"schon", "schön", 0}, // an umlaut makes another word
        {"Noel", "Noël", 80},
        {"la bagnole", "la bagnole (fam)", 80},
        {"tomber (dans)", "tomber", 0}, // only the expected text's note may be left out
        {"etre", "être (v)", 80},
        {"la bagnol", "la bagnole (fam)", 0},
        {"(fam)", "(fam)", 100},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Match(QString::fromUtf8(c.given), QString::fromUtf8(c.expected)), c.score)
            << c.given << " for " << c.expected;
}

TEST_F(AlmostRight, LinearSlipChecksScoreLikeThePlainLoops)
{
    // A small alphabet with umlauts, blanks and marks, so that every variant
    // happens often; the given text is the expected one with one random edit.
    const QString alphabet = QString::fromUtf8("aesuäß .!");
    const QString articles[] = {QStringLiteral("der "), QStringLiteral("a "), QStringLiteral("eine ")};
    std::mt19937 random(815);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    auto randomText = [&](int maxLength) {
        QString text;
        for (int i = pick(maxLength + 1); i > 0; --i)
            text += alphabet[pick(int(alphabet.size()))];
        return text;
    };
    int scored[101] = {};
    for (int round = 0; round < 100000; ++round) {
        const QString expected = randomText(7);
        QString given = expected;
        switch (pick(8)) {
        case 0:
            if (!given.isEmpty())
                given.remove(pick(int(given.size())), 1);
            break;
        case 1:
            given.insert(pick(int(given.size()) + 1), alphabet[pick(int(alphabet.size()))]);
            break;
        case 2:
            if (given.size() > 1) {
                const int p = pick(int(given.size()) - 1);
                std::swap(given[p], given[p + 1]);
            }
            break;
        case 3:
            given = articles[pick(3)] + given;
            break;
        case 4:
            given.replace(QStringLiteral("ss"), QString::fromUtf8("ß"));
            break;
        case 5:
            given.replace(QString::fromUtf8("ä"), QStringLiteral("ae"));
            break;
        case 6:
            given = randomText(7);
            break;
        default:
            break;
        }
        const int literal = literalMatch(given, expected);
        ASSERT_EQ(Match(given, expected), literal) << qPrintable(given) << " for " << qPrintable(expected);
        ++scored[literal];
    }
    // Every score was reached many times, so the comparison above meant something.
    for (int score : {0, 50, 80, 100})
        EXPECT_GT(scored[score], 500) << score;
}

TEST_F(AlmostRight, PreparedTextsCompareCanonicallyAndOptionallyWithoutCase)
{
    const QString decomposed = QString::fromUtf8("Ha\u0308user"); // a + combining diaeresis
    EXPECT_EQ(Match(Prepared(decomposed, false), Prepared(QString::fromUtf8("Häuser"), false)), 100);
    EXPECT_EQ(Prepared(QStringLiteral("  Haus \t"), false), QStringLiteral("Haus"));
    EXPECT_EQ(Prepared(QString::fromUtf8(" ÄRGER "), true), QString::fromUtf8("ärger"));
    EXPECT_EQ(Match(Prepared(QStringLiteral("HAUS"), false), Prepared(QStringLiteral("Haus"), false)), 0);
    EXPECT_EQ(Match(Prepared(QStringLiteral("HAUS"), true), Prepared(QStringLiteral("Haus"), true)), 100);
}
