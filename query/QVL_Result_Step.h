#pragma once

#include "core/QVL_DateTime.h"

#include <QString>

#include <vector>

class TQVL_Result_Unit;
class TQVL_Result_User;

// What a stored query wrote into the results of one unit: one run of the
// pile's cards of that unit. The query applies its steps to the profile's
// results, and the sync replays every device's steps in time order on top of
// the results all devices started from; both go through ApplyTo, so a replay
// of the steps of two machines is exactly one machine running both machines'
// queries one after the other.
struct TQVL_Result_Step
{
    // One card's answers in the query.
    struct Card
    {
        qint32 CardUid = 0;
        qint32 Queried = 0;
        qint32 Right = 0;
        // Points the card gained or lost in the query (before the days' bonus).
        qint32 PointDelta = 0;

        friend bool operator==(const Card&, const Card&) = default;
    };

    // What the unit's record gets at the start of the run.
    enum class StorageMark : quint8
    {
        Keep,
        Clear,
        Set,
    };

    // When the results were stored; also the order of the replay.
    TQVL_DateTime Now;
    QString Device;
    QString UnitUid;
    QString FileName;
    bool LongTermMode = false;
    TQVL_DateTime ReferenceDate;
    // The unit's share of the query's time in seconds, and whether the learner judged himself.
    qint32 Duration = 0;
    bool SelfEvaluated = false;
    StorageMark Mark = StorageMark::Keep;
    std::vector<Card> Cards;

    // Writes the step into `results` as the query stores it.
    void ApplyTo(TQVL_Result_User& results) const;
    // One card's share, as the query stores it.
    static void ApplyCard(const Card& card, TQVL_Result_Unit& unit, TQVL_DateTime now, bool longTermMode,
                          TQVL_DateTime referenceDate);

    friend bool operator==(const TQVL_Result_Step&, const TQVL_Result_Step&) = default;
};
