#include "query/QVL_Result_Card.h"

#include "core/QVL_System.h"
#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLWriter.h"

#include <algorithm>
#include <array>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr std::array<int, 8> stageIntervals{0, 1, 3, 10, 30, 100, 200, 300};
constexpr double secondsPerDay = 24 * 60 * 60;

// The children of a card in their stored order; the counters follow.
constexpr int ownCount = 4;
const QLatin1String ownNames[ownCount] = {"card_uid"_L1, "pointvalue"_L1, "lastquery"_L1, "stage"_L1};

} // namespace

int TQVL_Result_Card::StageInterval(qint32 stage)
{
    if (stage <= 0)
        return stageIntervals.front();
    if (stage >= qint32(stageIntervals.size()))
        return stageIntervals.back();
    return stageIntervals[std::size_t(stage)];
}

bool TQVL_Result_Card::IsDue(TQVL_DateTime referenceDate) const
{
    return TQVL_System::DaysBetween(lastquery, referenceDate) >= StageInterval(stage);
}

bool TQVL_Result_Card::IsDue(const TQVL_Result_Card* record, TQVL_DateTime referenceDate)
{
    return !record || record->IsDue(referenceDate);
}

TQVL_DateTime TQVL_Result_Card::DueDate(TQVL_DateTime now) const
{
    const int interval = StageInterval(stage);
    if (lastquery.IsEmpty())
        return interval == 0 ? now : TQVL_DateTime();
    if (interval == 0)
        return lastquery;
    // DaysBetween rounds the span half to even, so the count reaches the
    // interval half a day early, or (for an odd interval) just after that.
    TQVL_DateTime due(lastquery.Serial() + interval - 0.5);
    if (!IsDue(due))
        due = TQVL_DateTime(due.Serial() + 1.0 / secondsPerDay);
    return due;
}

TQVL_DateTime TQVL_Result_Card::DueDate(const TQVL_Result_Card* record, TQVL_DateTime now)
{
    return record ? record->DueDate(now) : now;
}

void TQVL_Result_Card::UpdateStage(qint32 queried, qint32 right)
{
    if (queried <= 0)
        return;
    if (right > queried / 2) {
        if (stage < std::numeric_limits<qint32>::max())
            ++stage;
    } else {
        stage = 0;
    }
}

std::unique_ptr<TQVL_Result_Card> TQVL_Result_Card::FromXML(const TQVL_XMLElement& element)
{
    // A profile holds a record for every card ever queried: all children are
    // found in one pass, then read in the order (and with the errors) of
    // looking each one up.
    QLatin1String names[ownCount + counterCount];
    std::copy(ownNames, ownNames + ownCount, names);
    std::copy(counterNames, counterNames + counterCount, names + ownCount);
    TQVL_XMLElement found[ownCount + counterCount];
    element.FindChildren(names, ownCount + counterCount, found);

    auto card = std::make_unique<TQVL_Result_Card>(element.Required(found[0], names[0]).AsInteger());
    card->pointvalue = element.Required(found[1], names[1]).AsInteger();
    card->lastquery = element.Required(found[2], names[2]).AsDateTime();
    card->stage = element.Required(found[3], names[3]).AsInteger();
    card->readCounters(element, found + ownCount);
    return card;
}

void TQVL_Result_Card::WriteXML(TQVL_XMLWriter& writer) const
{
    writer.Integer(ownNames[0], card_uid);
    writer.Integer(ownNames[1], pointvalue);
    writer.DateTime(ownNames[2], lastquery);
    writer.Integer(ownNames[3], stage);
    WriteCountersXML(writer);
}
