#pragma once

#include <QList>

#include <memory>

class TQVL_Card_Container;

// Merges two versions of a lesson's cards by card id against the version both
// started from: a card added on either side is kept, a card deleted on one
// side and unchanged on the other is deleted, a change on one side is taken,
// and a card changed on both sides takes the later version's change. A card
// added on both sides under the same id with different content keeps its id
// in `mine` and gets a new one from `theirs`, since new cards of two machines
// are numbered independently. Cards keep the order of `mine`; those only in
// `theirs` follow in their order.
namespace TQVL_Sync_LessonMerge {

struct Result
{
    std::unique_ptr<TQVL_Card_Container> Cards;
    // Changed on both sides in different ways: the learner is told which.
    QList<qint32> ChangedOnBoth;
    // Whether the result differs from `mine`.
    bool ChangesMine = false;
};

// `base` may be null (no common version yet: nothing counts as deleted).
Result Merge(const TQVL_Card_Container* base, const TQVL_Card_Container& mine, const TQVL_Card_Container& theirs,
             bool theirsIsLater);

// The German notice naming the cards changed on both machines.
QString Notice(const QString& lessonName, const QList<qint32>& changedOnBoth);

} // namespace TQVL_Sync_LessonMerge
