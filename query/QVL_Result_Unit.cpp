#include "query/QVL_Result_Unit.h"

#include "core/QVL_Math.h"
#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLWriter.h"
#include "query/QVL_FSRS_Replay.h"
#include "query/QVL_Result_User.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

TQVL_Result_Unit::TQVL_Result_Unit(QString unitUid) : unit_uid(std::move(unitUid)) {}

TQVL_Result_Unit::~TQVL_Result_Unit() = default;

TQVL_Result_Card* TQVL_Result_Unit::FindCard(qint32 uid) const
{
    return cardIndex.value(uid, nullptr);
}

TQVL_Result_Card& TQVL_Result_Unit::GetOrCreateCard(qint32 uid)
{
    if (TQVL_Result_Card* card = FindCard(uid))
        return *card;
    return appendCard(std::make_unique<TQVL_Result_Card>(uid));
}

TQVL_Result_Card& TQVL_Result_Unit::appendCard(std::unique_ptr<TQVL_Result_Card> card)
{
    cards.push_back(std::move(card));
    TQVL_Result_Card* added = cards.back().get();
    cardIndex.insert(added->card_uid, added);
    return *added;
}

TQVL_Result_Unit_Query& TQVL_Result_Unit::AddQuery(qint32 duration, qint32 queried, bool selfEvaluated, qint32 right,
                                                   TQVL_DateTime dateTime)
{
    auto query = std::make_unique<TQVL_Result_Unit_Query>();
    query->datetime = dateTime;
    query->right = right;
    query->duration = duration;
    query->queried = queried;
    query->selfevaluation = selfEvaluated;
    queries.push_back(std::move(query));
    return *queries.back();
}

void TQVL_Result_Unit::Clear()
{
    queries.clear();
    ClearCards();
}

void TQVL_Result_Unit::ClearCards()
{
    cardIndex.clear();
    cards.clear();
}

qint64 TQVL_Result_Unit::DurationOnDay(TQVL_DateTime date) const
{
    const QDate day = date.Date();
    qint64 seconds = 0;
    for (const auto& query : queries)
        if (query->datetime.Date() == day)
            seconds += query->duration;
    return seconds;
}

bool TQVL_Result_Unit::CountDue(TQVL_DateTime referenceDate, int& count) const
{
    const int due = CountDueAt({referenceDate}).front();
    count += due;
    return due > 0;
}

std::vector<int> TQVL_Result_Unit::CountDueAt(const std::vector<TQVL_DateTime>& referenceDates) const
{
    std::vector<int> due(referenceDates.size(), 0);
    const std::unique_ptr<TQVL_FSRS_Replay> replay =
        learnmethod == TQVL_LearnMethod::FSRS && Owner ? Owner->ReplayFSRS(*this) : nullptr;
    for (const auto& card : cards)
        for (std::size_t i = 0; i < referenceDates.size(); ++i)
            if (replay ? replay->IsDue(card->card_uid, card.get(), referenceDates[i])
                       : card->IsDue(referenceDates[i]))
                ++due[i];
    return due;
}

bool TQVL_Result_Unit::CountDueToday(int& count) const
{
    return CountDue(TQVL_DateTime::Now(), count);
}

std::unique_ptr<TQVL_Result_Unit> TQVL_Result_Unit::FromXML(const TQVL_XMLElement& element)
{
    auto unit = std::make_unique<TQVL_Result_Unit>(element.NeedChild("unit_uid"_L1).Value());
    unit->LoadCountersFromXML(element);
    if (const TQVL_XMLElement fileName = element.FindChild("unit_lastknownfilename"_L1))
        unit->unit_lastknownfilename = fileName.Value();
    unit->lastquerydate = element.NeedChild("lastquerydate"_L1).AsDateTime();
    unit->longtermstorage = element.NeedChild("longtermstorage"_L1).AsBoolean();
    // A method this program does not know keeps the stages, which every storage has.
    if (const TQVL_XMLElement method = element.FindChild("learnmethod"_L1))
        unit->learnmethod = method.Value() == "fsrs"_L1 ? TQVL_LearnMethod::FSRS : TQVL_LearnMethod::Stages;
    if (const TQVL_XMLElement retention = element.FindChild("desiredretention"_L1)) {
        bool ok = false;
        const double value = retention.Value().toDouble(&ok);
        // Whole percent, as the setting offers it: what is written reads back as the same value.
        if (ok && value == value)
            unit->desiredretention =
                double(RoundHalfEven(std::clamp(value, QVL_MinRetention, QVL_MaxRetention) * 100.0)) / 100.0;
    }

    const TQVL_XMLElement queryList = element.NeedChild("queries"_L1);
    unit->queries.reserve(std::size_t(queryList.ChildCount()));
    for (const TQVL_XMLElement queryElement : queryList.Children()) {
        auto query = std::make_unique<TQVL_Result_Unit_Query>();
        query->LoadFromXML(queryElement);
        unit->queries.push_back(std::move(query));
    }

    const TQVL_XMLElement cardList = element.NeedChild("cards"_L1);
    const int cardCount = cardList.ChildCount();
    unit->cards.reserve(std::size_t(cardCount));
    unit->cardIndex.reserve(cardCount);
    for (const TQVL_XMLElement cardElement : cardList.Children())
        unit->appendCard(TQVL_Result_Card::FromXML(cardElement));
    return unit;
}

void TQVL_Result_Unit::WriteXML(TQVL_XMLWriter& writer) const
{
    WriteCountersXML(writer);
    writer.Text("unit_uid"_L1, unit_uid);
    writer.Text("unit_lastknownfilename"_L1, unit_lastknownfilename);
    writer.DateTime("lastquerydate"_L1, lastquerydate);
    writer.Boolean("longtermstorage"_L1, longtermstorage);
    if (learnmethod != TQVL_LearnMethod::Stages || desiredretention != QVL_DefaultRetention) {
        writer.Text("learnmethod"_L1, learnmethod == TQVL_LearnMethod::FSRS ? "fsrs"_L1 : "stages"_L1);
        writer.Text("desiredretention"_L1, QString::number(desiredretention, 'g', 6));
    }

    writer.Begin("queries"_L1);
    for (const auto& query : queries) {
        writer.Begin("query"_L1);
        query->WriteXML(writer);
        writer.End();
    }
    writer.End();
    writer.Begin("cards"_L1);
    for (const auto& card : cards) {
        writer.Begin("card"_L1);
        card->WriteXML(writer);
        writer.End();
    }
    writer.End();
}
