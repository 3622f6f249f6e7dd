#include "query/QVL_Result_Unit.h"

#include "core/QVL_Error.h"
#include "core/QVL_Math.h"
#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLWriter.h"
#include "query/QVL_FSRS_Optimizer.h"
#include "query/QVL_FSRS_Replay.h"
#include "query/QVL_Result_User.h"

#include <algorithm>
#include <charconv>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// The weights as one line of numbers, each in the shortest text that reads back as the same double.
QString weightsText(const std::array<double, 21>& weights)
{
    QString text;
    for (const double w : weights) {
        char buffer[32];
        const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, w);
        if (!text.isEmpty())
            text += u',';
        text += QLatin1String(buffer, error == std::errc() ? end - buffer : 0);
    }
    return text;
}

// Weights another program wrote, or a hand edited: anything but 21 numbers
// means the defaults; numbers outside the reference's bounds are brought into them.
std::optional<std::array<double, 21>> parseWeights(const QString& text)
{
    const QStringList parts = text.split(u',');
    std::array<double, 21> weights{};
    if (parts.size() != int(weights.size()))
        return std::nullopt;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        bool ok = false;
        weights[i] = parts[qsizetype(i)].trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(weights[i]))
            return std::nullopt;
    }
    return TQVL_FSRS_Optimizer::Clamp(weights);
}

} // namespace

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
    const auto dueAt = [&](const TQVL_Result_Card& card, TQVL_DateTime when) {
        return replay ? replay->IsDue(card.card_uid, &card, when) : card.IsDue(when);
    };
    for (const auto& card : cards) {
        const bool dueWhenPauseEnds = !pauseduntil.IsEmpty() && dueAt(*card, pauseduntil);
        for (std::size_t i = 0; i < referenceDates.size(); ++i)
            if (dueAt(*card, referenceDates[i]) && !HeldByPause(card->card_uid, dueWhenPauseEnds, referenceDates[i]))
                ++due[i];
    }
    return due;
}

namespace {

qint64 dayOf(TQVL_DateTime date)
{
    return qint64(std::floor(date.Serial()));
}

} // namespace

bool TQVL_Result_Unit::IsPaused(TQVL_DateTime referenceDate) const
{
    if (pauseduntil.IsEmpty())
        return false;
    const qint64 day = dayOf(referenceDate);
    return day < dayOf(pauseduntil) && (pausedfrom.IsEmpty() || day >= dayOf(pausedfrom));
}

namespace {

// The delay of a card held back by a pause of `pausedDays`, in days after its end.
qint64 spreadDelay(qint32 cardUid, qint64 pausedDays)
{
    const qint64 spread = std::clamp<qint64>(pausedDays, 1, TQVL_Result_Unit::PauseSpreadMaxDays);
    return ((qint64(cardUid) % spread) + spread) % spread;
}

} // namespace

bool TQVL_Result_Unit::HeldByPause(qint32 cardUid, bool dueWhenPauseEnds, TQVL_DateTime referenceDate) const
{
    if (pauseduntil.IsEmpty())
        return false;
    if (IsPaused(referenceDate))
        return true;
    const qint64 day = dayOf(referenceDate);
    const qint64 back = dayOf(pauseduntil);
    if (!dueWhenPauseEnds || day < back)
        return false;
    const qint64 pausedDays = pausedfrom.IsEmpty() ? 1 : back - dayOf(pausedfrom);
    return day < back + spreadDelay(cardUid, pausedDays);
}

TQVL_DateTime TQVL_Result_Unit::DueDateWithPause(qint32 cardUid, TQVL_DateTime dueDate) const
{
    if (pauseduntil.IsEmpty() || dueDate.IsEmpty())
        return dueDate;
    const qint64 back = dayOf(pauseduntil);
    const qint64 day = dayOf(dueDate);
    if (day >= back)
        return dueDate;
    // Due before a pause that has not begun yet: the learner may still learn it then.
    if (!pausedfrom.IsEmpty() && day < dayOf(pausedfrom) && dayOf(TQVL_DateTime::Now()) < dayOf(pausedfrom))
        return dueDate;
    const qint64 pausedDays = pausedfrom.IsEmpty() ? 1 : back - dayOf(pausedfrom);
    return TQVL_DateTime(double(back + spreadDelay(cardUid, pausedDays)));
}

TQVL_FSRS::Parameters TQVL_Result_Unit::FSRSParameters() const
{
    TQVL_FSRS::Parameters parameters;
    parameters.DesiredRetention = desiredretention;
    if (fsrsparameters)
        parameters.W = *fsrsparameters;
    return parameters;
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
    if (const TQVL_XMLElement weights = element.FindChild("fsrsparameters"_L1))
        unit->fsrsparameters = parseWeights(weights.Value());
    // A pause this program cannot read is no pause: the cards stay due as their rule says.
    if (const TQVL_XMLElement until = element.FindChild("pauseduntil"_L1)) {
        try {
            unit->pauseduntil = until.AsDateTime();
            if (const TQVL_XMLElement from = element.FindChild("pausedfrom"_L1))
                unit->pausedfrom = from.AsDateTime();
        } catch (const TQVL_Error&) {
            unit->pauseduntil = unit->pausedfrom = TQVL_DateTime();
        }
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
    if (fsrsparameters)
        writer.Text("fsrsparameters"_L1, weightsText(*fsrsparameters));
    if (!pauseduntil.IsEmpty()) {
        writer.DateTime("pausedfrom"_L1, pausedfrom);
        writer.DateTime("pauseduntil"_L1, pauseduntil);
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
