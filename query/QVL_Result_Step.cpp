#include "query/QVL_Result_Step.h"

#include "core/QVL_System.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"

void TQVL_Result_Step::ApplyCard(const Card& step, TQVL_Result_Unit& unit, TQVL_DateTime now, bool longTermMode,
                                 TQVL_DateTime referenceDate)
{
    unit.all_queried += step.Queried;
    unit.all_right += step.Right;
    unit.last_queried += step.Queried;
    unit.last_right += step.Right;

    TQVL_Result_Card& card = unit.GetOrCreateCard(step.CardUid);
    card.all_queried += step.Queried;
    card.all_right += step.Right;
    card.last_queried = step.Queried;
    card.last_right = step.Right;
    // A due card of a storage that was not asked keeps its date, stage and
    // points: moving its date would put it off by a whole interval unseen.
    if (longTermMode && step.Queried <= 0)
        return;
    card.pointvalue += step.PointDelta + 10 * TQVL_System::DaysBetween(card.lastquery, now);
    card.lastquery = longTermMode ? referenceDate : now;
    if (longTermMode)
        card.UpdateStage(step.Queried, step.Right);
}

void TQVL_Result_Step::ApplyTo(TQVL_Result_User& results) const
{
    TQVL_Result_Unit& unit = results.GetOrCreateUnit(UnitUid);
    if (Mark != StorageMark::Keep)
        unit.longtermstorage = Mark == StorageMark::Set;
    unit.unit_lastknownfilename = FileName;
    unit.last_queried = 0;
    unit.last_right = 0;
    unit.lastquerydate = Now;
    for (const Card& card : Cards)
        ApplyCard(card, unit, Now, LongTermMode, ReferenceDate);
    unit.AddQuery(Duration, unit.last_queried, SelfEvaluated, unit.last_right, Now);
}
