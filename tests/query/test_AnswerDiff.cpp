// The marks of the answer window: which typed characters differ from the
// nearest expected meaning, and where expected ones are missing.
#include "query/QVL_AnswerDiff.h"

#include <gtest/gtest.h>

namespace {

using Kind = TQVL_AnswerDiff::Kind;

// Parts written compactly: "=" same, "!" differs, "+" missing, e.g. "=H|+a|=us".
QString written(const TQVL_AnswerDiff::Parts& parts)
{
    QStringList out;
    for (const auto& part : parts)
        out << (part.What == Kind::Same ? QStringLiteral("=") : part.What == Kind::Differs ? QStringLiteral("!")
                                                                                          : QStringLiteral("+")) +
                   part.Text;
    return out.join(QLatin1Char('|'));
}

} // namespace

TEST(AnswerDiff, MarksExactlyTheCharactersThatDiffer)
{
    const struct
    {
        const char* given;
        const char* expected;
        bool ignoreCase;
        const char* parts;
    } cases[] = {
        {"house", "house", false, "=house"},
        {"huose", "house", false, "=h|!uo|=se"},
        {"Hus", "Haus", false, "=H|+a|=us"},
        {"Hauss", "Haus", false, "=Haus|!s"},
        {"Hbus", "Haus", false, "=H|!b|=us"},
        {"Strasse", "Straße", false, "=Stra|!ss|=e"},
        {"haus", "Haus", false, "!h|=aus"},
        {"haus", "Haus", true, "=haus"},
        {"Haus", "das Haus", false, "+das |=Haus"},
        {"Häuser", "Haeuser", false, "=H|!ä|+e|=user"},
        {"xyz", "Haus", false, "!xyz|+s"},
        {"", "Haus", false, "+Haus"},
        {"Straße", "Strase", false, "=Stra|!ß|=e"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(written(TQVL_AnswerDiff::Compare(QString::fromUtf8(c.given), QString::fromUtf8(c.expected),
                                                   c.ignoreCase)),
                  QString::fromUtf8(c.parts))
            << c.given << " / " << c.expected;
}

TEST(AnswerDiff, EachTypedMeaningIsComparedWithItsNearestExpectedMeaning)
{
    const QStringList expected{QStringLiteral("go"), QStringLiteral("walk"), QStringLiteral("run")};
    const struct
    {
        const char* answer;
        const char* parts;
    } cases[] = {
        {"wlak", "=w|!la|=k"},
        {"go; walc", "=go; wal|!c"},
        {"  run  ", "=  run  "},
        {"go;;rum", "=go;;ru|!m"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(written(TQVL_AnswerDiff::ForAnswer(QString::fromUtf8(c.answer), expected, QLatin1Char(';'), false)),
                  QString::fromUtf8(c.parts))
            << c.answer;

    EXPECT_EQ(TQVL_AnswerDiff::Nearest(QStringLiteral("wak"), expected, false), QStringLiteral("walk"));
    EXPECT_EQ(TQVL_AnswerDiff::Nearest(QStringLiteral("x"), {QString(), QString()}, false), QString());
    EXPECT_FALSE(TQVL_AnswerDiff::HasDifferences(
        TQVL_AnswerDiff::ForAnswer(QStringLiteral("go; walk"), expected, QLatin1Char(';'), false)));
}

TEST(AnswerDiff, ATextTooLongToCompareIsMarkedWhole)
{
    const QString longText(TQVL_AnswerDiff::MaxLength + 1, QLatin1Char('a'));
    const TQVL_AnswerDiff::Parts parts = TQVL_AnswerDiff::Compare(longText, QStringLiteral("a"), false);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].What, Kind::Differs);
    EXPECT_EQ(parts[0].Text, longText);
}
