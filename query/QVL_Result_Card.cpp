#include "query/QVL_Result_Card.h"

#include "core/QVL_System.h"
#include "core/QVL_XMLTag.h"

#include <array>
#include <limits>

namespace {

constexpr std::array<int, 8> stageIntervals{0, 1, 3, 10, 30, 100, 200, 300};

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

std::unique_ptr<TQVL_Result_Card> TQVL_Result_Card::FromXML(const TQVL_XMLTag& tag)
{
    auto card = std::make_unique<TQVL_Result_Card>(tag.NeedChild(QStringLiteral("card_uid")).AsInteger());
    card->pointvalue = tag.NeedChild(QStringLiteral("pointvalue")).AsInteger();
    card->lastquery = tag.NeedChild(QStringLiteral("lastquery")).AsDateTime();
    card->stage = tag.NeedChild(QStringLiteral("stage")).AsInteger();
    card->LoadCountersFromXML(tag);
    return card;
}

void TQVL_Result_Card::SaveToXML(TQVL_XMLTag& tag) const
{
    tag.AddInteger(QStringLiteral("card_uid"), card_uid);
    tag.AddInteger(QStringLiteral("pointvalue"), pointvalue);
    tag.AddChild(QStringLiteral("lastquery"))->SetDateTime(lastquery);
    tag.AddInteger(QStringLiteral("stage"), stage);
    SaveCountersToXML(tag);
}
