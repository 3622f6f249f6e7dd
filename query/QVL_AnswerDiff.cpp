#include "query/QVL_AnswerDiff.h"

#include <algorithm>
#include <limits>

namespace {

using Part = TQVL_AnswerDiff::Part;
using Kind = TQVL_AnswerDiff::Kind;

char32_t folded(char32_t c, bool ignoreCase)
{
    return ignoreCase ? QChar::toLower(c) : c;
}

void append(TQVL_AnswerDiff::Parts& parts, Kind kind, char32_t c)
{
    const QString text = QString::fromUcs4(&c, 1);
    if (!parts.empty() && parts.back().What == kind)
        parts.back().Text += text;
    else
        parts.push_back({text, kind});
}

void append(TQVL_AnswerDiff::Parts& parts, const TQVL_AnswerDiff::Parts& more)
{
    for (const Part& part : more) {
        if (part.Text.isEmpty())
            continue;
        if (!parts.empty() && parts.back().What == part.What)
            parts.back().Text += part.Text;
        else
            parts.push_back(part);
    }
}

// The edit distances of every suffix of `a` against every suffix of `b`
// (row-major, (|a|+1) x (|b|+1)); the whole distance is at (0, 0).
std::vector<int> distances(const std::u32string& a, const std::u32string& b, bool ignoreCase)
{
    const std::size_t n = a.size(), m = b.size();
    std::vector<int> d((n + 1) * (m + 1));
    auto at = [&](std::size_t i, std::size_t j) -> int& { return d[i * (m + 1) + j]; };
    for (std::size_t i = 0; i <= n; ++i)
        at(i, m) = int(n - i);
    for (std::size_t j = 0; j <= m; ++j)
        at(n, j) = int(m - j);
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;) {
            const int same = folded(a[i], ignoreCase) == folded(b[j], ignoreCase) ? 0 : 1;
            at(i, j) = std::min({at(i + 1, j + 1) + same, at(i + 1, j) + 1, at(i, j + 1) + 1});
        }
    return d;
}

std::u32string codePoints(const QString& text)
{
    const QList<uint> ucs4 = text.toUcs4();
    return std::u32string(ucs4.begin(), ucs4.end());
}

int editDistance(const QString& given, const QString& expected, bool ignoreCase)
{
    const std::u32string a = codePoints(given), b = codePoints(expected);
    if (int(a.size()) > TQVL_AnswerDiff::MaxLength || int(b.size()) > TQVL_AnswerDiff::MaxLength)
        return std::numeric_limits<int>::max();
    return distances(a, b, ignoreCase).front();
}

} // namespace

TQVL_AnswerDiff::Parts TQVL_AnswerDiff::Compare(const QString& given, const QString& expected, bool ignoreCase)
{
    const std::u32string a = codePoints(given), b = codePoints(expected);
    if (int(a.size()) > MaxLength || int(b.size()) > MaxLength) {
        Parts whole;
        if (!given.isEmpty())
            whole.push_back({given, given == expected ? Kind::Same : Kind::Differs});
        return whole;
    }
    const std::vector<int> d = distances(a, b, ignoreCase);
    const std::size_t n = a.size(), m = b.size();
    auto at = [&](std::size_t i, std::size_t j) { return d[i * (m + 1) + j]; };
    // Walked in reading order, a match or a replacement preferred: a wrong
    // letter is marked where it stands, and of equal choices the later
    // characters are the ones marked ("Hauss": the last s is one too many).
    Parts parts;
    std::size_t i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m) {
            const bool same = folded(a[i], ignoreCase) == folded(b[j], ignoreCase);
            if (at(i, j) == at(i + 1, j + 1) + (same ? 0 : 1)) {
                append(parts, same ? Kind::Same : Kind::Differs, a[i]);
                ++i;
                ++j;
                continue;
            }
        }
        if (i < n && at(i, j) == at(i + 1, j) + 1) {
            append(parts, Kind::Differs, a[i]);
            ++i;
        } else {
            append(parts, Kind::Missing, b[j]);
            ++j;
        }
    }
    return parts;
}

QString TQVL_AnswerDiff::Nearest(const QString& given, const QStringList& expected, bool ignoreCase)
{
    QString nearest;
    int best = std::numeric_limits<int>::max();
    for (const QString& meaning : expected) {
        if (meaning.isEmpty())
            continue;
        const int distance = editDistance(given, meaning, ignoreCase);
        if (nearest.isEmpty() || distance < best) {
            nearest = meaning;
            best = distance;
        }
    }
    return nearest;
}

TQVL_AnswerDiff::Parts TQVL_AnswerDiff::ForAnswer(const QString& answer, const QStringList& expected, QChar delimiter,
                                                  bool ignoreCase)
{
    // As the evaluation reads the answer: the first three fields count, each trimmed.
    QStringList fields;
    if (delimiter.isNull() || !answer.contains(delimiter) || expected.contains(answer))
        fields << answer;
    else
        fields = answer.split(delimiter);
    Parts parts;
    for (int index = 0; index < fields.size(); ++index) {
        if (index > 0)
            append(parts, {{QString(delimiter), Kind::Same}});
        const QString& field = fields.at(index);
        if (index >= 3) {
            append(parts, {{field, Kind::Same}});
            continue;
        }
        const QString trimmed = field.trimmed();
        const qsizetype lead = trimmed.isEmpty() ? field.size() : field.indexOf(trimmed);
        append(parts, {{field.left(lead), Kind::Same}});
        if (!trimmed.isEmpty())
            append(parts, Compare(trimmed, Nearest(trimmed, expected, ignoreCase), ignoreCase));
        append(parts, {{field.mid(lead + trimmed.size()), Kind::Same}});
    }
    return parts;
}

bool TQVL_AnswerDiff::HasDifferences(const Parts& parts)
{
    return std::any_of(parts.begin(), parts.end(), [](const Part& part) { return part.What != Kind::Same; });
}
