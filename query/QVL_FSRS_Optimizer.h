#pragma once

#include "query/QVL_FSRS.h"
#include "query/QVL_ReviewLog_Entry.h"

#include <QString>

#include <array>
#include <vector>

// Fits the FSRS weights of one long-term storage to the learner's own
// answers. Only cards whose whole history is in the log count (their first
// logged answer found them new), and of those only cards answered again on a
// later day: a history of one day says nothing about forgetting.
//
// Below MinHistories such histories the weights stay as they are. From there
// the four initial stabilities (w0-w3) are fitted from the first review on a
// later day after each first rating: for each rating, the stability that
// minimises the log loss of the observed recalls at their delays under the
// FSRS-6 forgetting curve, pulled towards the published default by a prior in
// log space (worth about twenty such reviews), then put in the order of the
// ratings. The other weights are the defaults. From FullFitHistories on, a
// projected gradient descent on the log loss of every review a day or more
// after the previous answer also fits the weights of difficulty, recall and
// lapse stability and the curve's decay, within the reference's bounds.
// Whatever is fitted is kept only when its log loss on the whole log is not
// worse than that of the weights in use.
class TQVL_FSRS_Optimizer
{
public:
    using Weights = std::array<double, 21>;

    // Fewer usable card histories keep the weights in use, as the reference optimiser does.
    static constexpr int MinHistories = 8;
    // From this many on, more than the initial stabilities are fitted.
    static constexpr int FullFitHistories = 64;

    enum class TScope
    {
        // Nothing fitted: the weights in use stay.
        None,
        // w0-w3 fitted, the rest the defaults.
        InitialStabilities,
        // w0-w3 and the weights the descent moves.
        Extended,
    };

    struct Result
    {
        Weights W{};
        // What the returned weights hold; None when the weights in use stayed.
        TScope Scope = TScope::None;
        int Histories = 0;
        // Reviews a day or more after the previous answer: what the log loss is taken over.
        int Reviews = 0;
        // Mean log loss on the log, with the weights in use and with the returned ones.
        double LogLossBefore = 0.0;
        double LogLossAfter = 0.0;
    };

    // The answers of `entries` (in time order) given to cards of `unitUid`.
    TQVL_FSRS_Optimizer(const std::vector<TQVL_ReviewLog_Entry>& entries, const QString& unitUid);

    int HistoryCount() const { return int(histories.size()); }
    int ReviewCount() const { return reviews; }

    // Mean log loss of the recall predicted with `w` over every review a day or
    // more after the previous answer; 0 without such reviews.
    double LogLoss(const Weights& w) const;
    // Fits as described above, starting from the published defaults, and
    // compares with `current`, the weights in use. Never returns weights whose
    // log loss on the log is worse than that of `current`.
    Result Fit(const Weights& current) const;

    // The published FSRS-6 defaults.
    static Weights Defaults();
    // Each weight brought into the reference's bounds.
    static Weights Clamp(Weights w);
    // The weights the descent moves.
    static const std::vector<int>& DescentIndices();

private:
    struct Answer
    {
        qint64 TimeMs;
        TQVL_FSRS_Rating Rating;
    };
    using History = std::vector<Answer>;

    // Summed log loss over `which` histories (all when empty); adds the number of terms to `count`.
    double lossSum(const Weights& w, const std::vector<int>& which, int& count) const;
    Weights fitInitialStabilities() const;
    Weights descend(const Weights& start) const;

    std::vector<History> histories;
    int reviews = 0;
};
