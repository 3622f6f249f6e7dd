#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include <vector>

// Where a typed answer differs from what the card expected, character by
// character (a minimal edit script), so that the answer window can mark the
// learner's mistakes. Each typed meaning is compared with the expected
// meaning nearest to it.
class TQVL_AnswerDiff
{
public:
    enum class Kind
    {
        Same,    // typed as expected
        Differs, // typed, but wrong or one too many
        Missing, // expected here, but not typed (Text holds the expected characters)
    };
    struct Part
    {
        QString Text;
        Kind What = Kind::Same;
        bool operator==(const Part& other) const = default;
    };
    using Parts = std::vector<Part>;

    // `given` against `expected`: the parts in the order of the typed text,
    // with the missing characters where they belong. Neighbouring parts of
    // one kind are joined.
    static Parts Compare(const QString& given, const QString& expected, bool ignoreCase);
    // The expected meaning with the fewest edits from `given` (the first of
    // equals); empty when all are empty.
    static QString Nearest(const QString& given, const QStringList& expected, bool ignoreCase);
    // A whole answer: split at `delimiter` (a null character for none) like the
    // evaluation does, each trimmed meaning compared with its nearest expected
    // meaning; delimiters and blanks around them stay unmarked.
    static Parts ForAnswer(const QString& answer, const QStringList& expected, QChar delimiter, bool ignoreCase);
    // Whether any part is marked.
    static bool HasDifferences(const Parts& parts);

    // Texts longer than this are not compared (the table grows with the square).
    static constexpr int MaxLength = 400;
};
