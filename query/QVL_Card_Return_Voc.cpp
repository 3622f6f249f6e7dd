#include "query/QVL_Card_Return_Voc.h"

#include "content/QVL_Card_Voc.h"
#include "core/QVL_Error.h"
#include "core/QVL_StringWorks.h"
#include "query/QVL_AlmostRight.h"
#include "query/QVL_Query_Evaluation_Options.h"

#include <algorithm>
#include <array>

using namespace TQVL_AlmostRight;

namespace {

constexpr int meaningCount = 3;
using Meanings = std::array<QString, meaningCount>;

int countNonEmpty(const Meanings& meanings)
{
    return int(std::count_if(meanings.begin(), meanings.end(), [](const QString& m) { return !m.isEmpty(); }));
}

} // namespace

TQVL_Card_Return_Voc::TQVL_Card_Return_Voc(const TQVL_Card_Voc& card) : TQVL_Card_Return(card) {}

void TQVL_Card_Return_Voc::Evaluate(TQVL_Query_StepResult& Result, int Direction,
                                    const TQVL_Query_Evaluation_Options& Options) const
{
    if (Direction != 1 && Direction != 2)
        throw TQVL_Error(QStringLiteral("invalid query direction"));
    const auto& card = static_cast<const TQVL_Card_Voc&>(Card);
    const bool ignoreCase = Options.ignorecase;

    // The meanings of the side the learner answers in. They are trimmed like the
    // answer: a blank the editor kept at the end of a meaning is invisible to
    // the learner and must not make a right answer wrong.
    const bool home = Direction == 1;
    const Meanings expected = home ? Meanings{Prepared(card.home1, ignoreCase), Prepared(card.home2, ignoreCase),
                                              Prepared(card.home3, ignoreCase)}
                                   : Meanings{Prepared(card.foreign1, ignoreCase), Prepared(card.foreign2, ignoreCase),
                                              Prepared(card.foreign3, ignoreCase)};
    const int expectedCount = countNonEmpty(expected);

    Meanings given;
    const QString whole = Prepared(Text, ignoreCase);
    const bool split = !Delimiter.isNull() && Text.contains(Delimiter);
    if (expectedCount > 1 && whole == Prepared(home ? card.HomeText() : card.ForeignText(), ignoreCase)) {
        // The card's own list text ("Haus, Heim"), as the multiple-choice list
        // shows it: all of its meanings, whatever the delimiter is.
        std::copy_if(expected.begin(), expected.end(), given.begin(), [](const QString& m) { return !m.isEmpty(); });
    } else if (!split || std::find(expected.begin(), expected.end(), whole) != expected.end()) {
        // No delimiter, or a meaning that itself contains the delimiter.
        given[0] = whole;
    } else {
        const QString delimiter(Delimiter);
        for (int k = 0; k < meaningCount; ++k)
            given[std::size_t(k)] = Prepared(TQVL_StringWorks::GetPiece(Text, delimiter, k + 1), ignoreCase);
    }

    // Every given meaning must fit some meaning of the card; the worst fit
    // counts. Empty meanings of the card are no candidates: "." would otherwise
    // be almost right for every card with fewer than three meanings.
    int score = 0;
    bool anyGiven = false;
    for (const QString& g : given) {
        if (g.isEmpty())
            continue;
        int best = 0;
        for (const QString& e : expected) {
            if (!e.isEmpty())
                best = std::max(best, Match(g, e));
        }
        score = anyGiven ? std::min(score, best) : best;
        anyGiven = true;
    }

    TQVL_StepCode code = score > 90 ? TQVL_StepCode::Right : score > 10 ? TQVL_StepCode::AlmostRight : TQVL_StepCode::Wrong;

    // Only a right answer is checked for completeness: each meaning of the card
    // must have been given (in any order and position).
    if (Options.allmeaningscorrect && code == TQVL_StepCode::Right) {
        for (const QString& e : expected) {
            if (!e.isEmpty() &&
                std::none_of(given.begin(), given.end(), [&e](const QString& g) { return Match(g, e) == 100; })) {
                score = 0;
                code = TQVL_StepCode::MeaningMissing;
                break;
            }
        }
    }

    if (HintUsed) {
        if (code == TQVL_StepCode::Right)
            code = TQVL_StepCode::RightAfterHint;
        score /= 2;
    }
    Result.Percent = quint8(score);
    Result.Code = code;
}
