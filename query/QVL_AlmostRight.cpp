#include "query/QVL_AlmostRight.h"

#include <QLocale>

namespace TQVL_AlmostRight {

namespace {

// One slip of the keyboard: `given` is `expected` with one character left out,
// anywhere, the last one included. Linear, so a pasted novel cannot stall the
// query.
bool isDeletion(QStringView given, QStringView expected)
{
    if (expected.size() != given.size() + 1)
        return false;
    qsizetype first = 0; // first position where the two differ
    while (first < given.size() && given[first] == expected[first])
        ++first;
    return given.mid(first) == expected.mid(first + 1);
}

// Letters whose mark makes them another letter in German; they keep it, so
// "schon" stays wrong for "schön".
bool isUmlaut(QChar c)
{
    static const QString umlauts = QString::fromUtf8("äöüÄÖÜ");
    return umlauts.contains(c);
}

// `text` with the accents of other languages taken off (é, è, ê → e, ç → c,
// ñ → n); umlauts stay.
QString withoutAccents(const QString& text)
{
    QString bare;
    bare.reserve(text.size());
    for (QChar c : text) {
        if (c.decompositionTag() != QChar::Canonical || isUmlaut(c)) {
            bare += c;
            continue;
        }
        for (QChar part : c.decomposition()) {
            if (part.category() != QChar::Mark_NonSpacing)
                bare += withoutAccents(QString(part)); // "ệ" is "ẹ" with a circumflex
        }
    }
    return bare;
}

// `text` without the notes in round brackets, "(fam)" in "la bagnole (fam)".
QString withoutBrackets(const QString& text)
{
    QString bare;
    int depth = 0;
    for (QChar c : text) {
        if (c == u'(')
            ++depth;
        else if (c == u')' && depth > 0)
            --depth;
        else if (depth == 0)
            bare += c;
    }
    return bare.simplified();
}

// A missing or wrong accent, or a bracketed note of the expected text left out.
bool isNearSpelling(const QString& given, const QString& expected)
{
    const QString bareGiven = withoutAccents(given);
    const QString bareExpected = withoutAccents(expected);
    if (bareGiven != given || bareExpected != expected) {
        if (Equal(bareGiven, bareExpected))
            return true;
    }
    if (expected.contains(u'(') && expected.contains(u')')) {
        const QString bare = withoutBrackets(expected);
        if (bare != expected && (Equal(given, bare) || Equal(bareGiven, withoutAccents(bare))))
            return true;
    }
    return false;
}

// The other slip: two neighbouring characters of `given` are swapped.
bool isSwap(QStringView given, QStringView expected)
{
    if (given.size() != expected.size())
        return false;
    qsizetype first = 0;
    while (first < given.size() && given[first] == expected[first])
        ++first;
    if (first + 1 >= given.size())
        return false;
    return given[first] == expected[first + 1] && given[first + 1] == expected[first] &&
           given.mid(first + 2) == expected.mid(first + 2);
}

int almostRightScore(const QString& given, const QString& expected)
{
    // Each replacement alone, on the whole text, whatever the letter case.
    static const QString spellings[][2] = {
        {QStringLiteral("jmd."), QStringLiteral("jemanden")}, {QStringLiteral("ä"), QStringLiteral("ae")},
        {QStringLiteral("ö"), QStringLiteral("oe")},          {QStringLiteral("ü"), QStringLiteral("ue")},
        {QStringLiteral("ß"), QStringLiteral("ss")},          {QStringLiteral("ae"), QStringLiteral("ä")},
        {QStringLiteral("oe"), QStringLiteral("ö")},          {QStringLiteral("ue"), QStringLiteral("ü")},
        {QStringLiteral("ss"), QStringLiteral("ß")},
    };
    for (const auto& spelling : spellings) {
        if (!given.contains(spelling[0], Qt::CaseInsensitive))
            continue;
        QString respelled = given;
        respelled.replace(spelling[0], spelling[1], Qt::CaseInsensitive);
        if (Equal(respelled, expected))
            return 80;
    }
    if (isNearSpelling(given, expected))
        return 80;

    static const QString articles[] = {
        QStringLiteral("the "), QStringLiteral("a "),   QStringLiteral("an "),
        QStringLiteral("to "),  QStringLiteral("der "), QStringLiteral("die "),
        QStringLiteral("das "), QStringLiteral("ein "), QStringLiteral("eine "),
    };
    for (const QString& article : articles) {
        if (Equal(article + given, expected) || Equal(given, article + expected))
            return 50;
    }

    static const QString marks[] = {QStringLiteral("."), QStringLiteral("?"), QStringLiteral("!"),
                                    QStringLiteral(" /n")};
    for (const QString& mark : marks) {
        if (Equal(given, expected + mark) || Equal(given + mark, expected))
            return 50;
    }

    // Match has ruled out a blank `given`, and `expected` cannot be blank when
    // it has the length of a non-blank text, so plain comparisons suffice.
    if (isDeletion(given, expected) || isSwap(given, expected))
        return 50;
    return 0;
}

} // namespace

QString Prepared(const QString& text, bool ignoreCase)
{
    QString prepared = text.trimmed();
    if (ignoreCase)
        prepared = QLocale().toLower(prepared);
    return prepared.normalized(QString::NormalizationForm_C);
}

bool Equal(const QString& first, const QString& second)
{
    if (first.isEmpty() || first == QLatin1String(" "))
        return false;
    return first == second;
}

int Match(const QString& given, const QString& expected)
{
    if (given.trimmed().isEmpty())
        return 0;
    if (Equal(given, expected))
        return 100;
    return almostRightScore(given, expected);
}

} // namespace TQVL_AlmostRight
