#include "query/QVL_Result_Unit.h"

#include "core/QVL_XMLTag.h"

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
    int due = 0;
    for (const auto& card : cards)
        if (card->IsDue(referenceDate))
            ++due;
    count += due;
    return due > 0;
}

bool TQVL_Result_Unit::CountDueToday(int& count) const
{
    return CountDue(TQVL_DateTime::Now(), count);
}

std::unique_ptr<TQVL_Result_Unit> TQVL_Result_Unit::FromXML(const TQVL_XMLTag& tag)
{
    auto unit = std::make_unique<TQVL_Result_Unit>(tag.NeedChild(QStringLiteral("unit_uid")).Value);
    unit->LoadCountersFromXML(tag);
    if (const TQVL_XMLTag* fileName = tag.FindChild(QStringLiteral("unit_lastknownfilename")))
        unit->unit_lastknownfilename = fileName->Value;
    unit->lastquerydate = tag.NeedChild(QStringLiteral("lastquerydate")).AsDateTime();
    unit->longtermstorage = tag.NeedChild(QStringLiteral("longtermstorage")).AsBoolean();

    const TQVL_XMLTag& queryList = tag.NeedChild(QStringLiteral("queries"));
    unit->queries.reserve(std::size_t(queryList.ChildCount()));
    for (int i = 0; i < queryList.ChildCount(); ++i) {
        auto query = std::make_unique<TQVL_Result_Unit_Query>();
        query->LoadFromXML(*queryList.Child(i));
        unit->queries.push_back(std::move(query));
    }

    const TQVL_XMLTag& cardList = tag.NeedChild(QStringLiteral("cards"));
    unit->cards.reserve(std::size_t(cardList.ChildCount()));
    unit->cardIndex.reserve(cardList.ChildCount());
    for (int i = 0; i < cardList.ChildCount(); ++i)
        unit->appendCard(TQVL_Result_Card::FromXML(*cardList.Child(i)));
    return unit;
}

void TQVL_Result_Unit::SaveToXML(TQVL_XMLTag& tag) const
{
    SaveCountersToXML(tag);
    tag.AddChild(QStringLiteral("unit_uid"), unit_uid);
    tag.AddChild(QStringLiteral("unit_lastknownfilename"), unit_lastknownfilename);
    tag.AddChild(QStringLiteral("lastquerydate"))->SetDateTime(lastquerydate);
    tag.AddBoolean(QStringLiteral("longtermstorage"), longtermstorage);

    TQVL_XMLTag* queryList = tag.AddChild(QStringLiteral("queries"));
    for (const auto& query : queries)
        query->SaveToXML(*queryList->AddChild(QStringLiteral("query")));
    TQVL_XMLTag* cardList = tag.AddChild(QStringLiteral("cards"));
    for (const auto& card : cards)
        card->SaveToXML(*cardList->AddChild(QStringLiteral("card")));
}
