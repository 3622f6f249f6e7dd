#include "query/QVL_Query_Cardpile.h"

#include "content/QVL_Card.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Error.h"
#include "core/QVL_FileObject.h"
#include "core/QVL_Math.h"
#include "core/QVL_System.h"
#include "query/QVL_FSRS_Replay.h"
#include "query/QVL_Query.h"
#include "query/QVL_Query_ReviewRecorder.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "query/QVL_Statistics_LastQuery.h"

#include <algorithm>

namespace {

TQVL_Result_User& activeResults(const TQVL_Query& query)
{
    const TQVL_Query_ActiveUser user = query.ActiveUser ? query.ActiveUser() : TQVL_Query_ActiveUser{};
    if (!user.Profile || !user.Results)
        throw TQVL_Error(QStringLiteral("no active User"));
    return *user.Results;
}

} // namespace

TQVL_Query_Cardpile::TQVL_Query_Cardpile(const TQVL_Query& query) : owner(query) {}

TQVL_Query_Cardpile::~TQVL_Query_Cardpile() = default;

int TQVL_Query_Cardpile::AddUnit(const TQVL_Unit& unit)
{
    // Looked up once for all cards of the unit.
    TQVL_Result_Unit* results = nullptr;
    for (int i = 0; i < unit.Cards->Count(); ++i)
        addCard(unit, *unit.Cards->Card(i), results);
    Units.push_back(&unit);
    return int(Units.size());
}

void TQVL_Query_Cardpile::AddCard(const TQVL_Unit& unit, const TQVL_Card& card)
{
    TQVL_Result_Unit* results = nullptr;
    addCard(unit, card, results);
}

void TQVL_Query_Cardpile::addCard(const TQVL_Unit& unit, const TQVL_Card& card, TQVL_Result_Unit*& results)
{
    auto entry = std::make_unique<TQVL_Query_Card>(card, unit);
    if (UseLastResults || LongTermMode) {
        if (!results)
            results = &resultsOf(unit);
        const TQVL_Result_Card& stored = results->GetOrCreateCard(card.Uid);
        // A card without a record gets one here, so it is due like every card never queried.
        if (UseLastResults) {
            entry->PointValue = stored.pointvalue;
            entry->StartPointValue = stored.pointvalue;
        }
        if (LongTermMode && !isDue(*results, stored))
            return;
    }
    Cards.push_back(std::move(entry));
}

bool TQVL_Query_Cardpile::isDue(const TQVL_Result_Unit& results, const TQVL_Result_Card& card)
{
    if (results.learnmethod == TQVL_LearnMethod::FSRS && results.Owner && replayOf != &results) {
        replay = results.Owner->ReplayFSRS(results);
        replayOf = &results;
    }
    // Logs that cannot be read leave the stages, which are kept all along.
    const TQVL_FSRS_Replay* memory = replayOf == &results ? replay.get() : nullptr;
    const auto dueAt = [&](TQVL_DateTime when) {
        return memory ? memory->IsDue(card.card_uid, &card, when) : card.IsDue(when);
    };
    return dueAt(ReferenceDate) &&
           !results.HeldByPause(card.card_uid, !results.pauseduntil.IsEmpty() && dueAt(results.pauseduntil),
                                ReferenceDate);
}

bool TQVL_Query_Cardpile::HasDueCards(const TQVL_Unit& storage, const TQVL_Result_User* results,
                                      TQVL_DateTime referenceDate)
{
    const TQVL_Result_Unit* records = results ? results->FindUnit(storage.Uid) : nullptr;
    const std::unique_ptr<TQVL_FSRS_Replay> replay =
        records && records->learnmethod == TQVL_LearnMethod::FSRS ? results->ReplayFSRS(*records) : nullptr;
    for (int i = 0; i < storage.Cards->Count(); ++i) {
        const qint32 uid = storage.Cards->Card(i)->Uid;
        const TQVL_Result_Card* record = records ? records->FindCard(uid) : nullptr;
        const auto dueAt = [&](TQVL_DateTime when) {
            return replay ? replay->IsDue(uid, record, when) : TQVL_Result_Card::IsDue(record, when);
        };
        if (dueAt(referenceDate) &&
            !(records && records->HeldByPause(uid, !records->pauseduntil.IsEmpty() && dueAt(records->pauseduntil),
                                              referenceDate)))
            return true;
    }
    return false;
}

TQVL_Result_Unit& TQVL_Query_Cardpile::resultsOf(const TQVL_Unit& unit) const
{
    return activeResults(owner).GetOrCreateUnit(unit.Uid);
}

void TQVL_Query_Cardpile::Clear()
{
    Cards.clear();
    Units.clear();
    replay.reset();
    replayOf = nullptr;
}

std::vector<TQVL_Query_Card*> TQVL_Query_Cardpile::getCardList() const
{
    std::vector<TQVL_Query_Card*> list;
    list.reserve(Cards.size());
    for (const auto& entry : Cards)
        list.push_back(entry.get());
    return list;
}

std::vector<TQVL_Query_Card*> TQVL_Query_Cardpile::GetRandomCards(int n, const TQVL_Query_Card* exclude) const
{
    const int size = int(Cards.size());
    if (size < (exclude ? n + 1 : n))
        throw TQVL_Error(QStringLiteral("More Cards than existing wanted!"));
    std::vector<TQVL_Query_Card*> chosen;
    chosen.reserve(std::size_t(std::max(n, 0)));
    while (int(chosen.size()) < n) {
        TQVL_Query_Card* candidate = Cards[std::size_t(owner.Random(size))].get();
        if (candidate != exclude && std::find(chosen.begin(), chosen.end(), candidate) == chosen.end())
            chosen.push_back(candidate);
    }
    return chosen;
}

void TQVL_Query_Cardpile::SetUseLastResults(bool use)
{
    UseLastResults = use;
    const TQVL_Unit* unit = nullptr;
    TQVL_Result_Unit* results = nullptr;
    for (const auto& entry : Cards) {
        qint32 start = 0;
        if (use) {
            if (entry->Unit != unit) {
                unit = entry->Unit;
                results = &resultsOf(*unit);
            }
            start = results->GetOrCreateCard(entry->Card->Uid).pointvalue;
        }
        entry->PointValue = start;
        entry->StartPointValue = start;
    }
}

void TQVL_Query_Cardpile::StoreResults(bool selfEvaluated, TQVL_DateTime duration)
{
    const TQVL_Query_ActiveUser user = owner.ActiveUser ? owner.ActiveUser() : TQVL_Query_ActiveUser{};
    if (!user.Profile || !user.Results)
        throw TQVL_Error(QStringLiteral("no active User"));
    const std::vector<TQVL_Result_Step> steps = MakeSteps(selfEvaluated, duration, TQVL_DateTime::Now());
    // The steps reach the disk before the profile: a crash in between keeps
    // them, and the sync counts them; the other way round they would be lost.
    if (owner.Recorder)
        owner.Recorder->RecordSteps(steps);
    for (const TQVL_Result_Step& step : steps)
        step.ApplyTo(*user.Results);

    try {
        user.Profile->Save();
    } catch (const TQVL_Error& error) {
        throw TQVL_Error::WithCause(QStringLiteral("Fehler beim Speichern der Ergebnisse der Abfrage!"),
                                    error.Message());
    }
    user.Profile->ReleaseWriteAccess();
}

std::vector<TQVL_Result_Step> TQVL_Query_Cardpile::MakeSteps(bool selfEvaluated, TQVL_DateTime duration,
                                                             TQVL_DateTime now) const
{
    const TQVL_Unit* activeUnit = owner.ActiveUnit ? owner.ActiveUnit() : nullptr;
    std::vector<TQVL_Result_Step> steps;
    for (const auto& entry : Cards) {
        if (steps.empty() || entry->Unit->Uid != steps.back().UnitUid) {
            TQVL_Result_Step step;
            step.Now = now;
            step.UnitUid = entry->Unit->Uid;
            step.FileName = entry->Unit->FileName;
            step.LongTermMode = LongTermMode;
            step.ReferenceDate = ReferenceDate;
            step.Duration = GetUnitDurationSecondsofQuery(step.UnitUid, duration);
            step.SelfEvaluated = selfEvaluated;
            // The first unit keeps its mark.
            if (!steps.empty())
                step.Mark = activeUnit && activeUnit->Typ == tLongTermStorage && step.UnitUid == activeUnit->Uid
                                ? TQVL_Result_Step::StorageMark::Set
                                : TQVL_Result_Step::StorageMark::Clear;
            steps.push_back(std::move(step));
        }
        steps.back().Cards.push_back(
            {entry->Card->Uid, entry->Queried, entry->Right, qint32(entry->PointValue - entry->StartPointValue)});
    }
    return steps;
}

void TQVL_Query_Cardpile::SaveItemToUnitResult(const TQVL_Query_Card& entry, TQVL_Result_Unit& unit) const
{
    saveItem(entry, unit, TQVL_DateTime::Now());
}

void TQVL_Query_Cardpile::saveItem(const TQVL_Query_Card& entry, TQVL_Result_Unit& unit, TQVL_DateTime now) const
{
    TQVL_Result_Step::ApplyCard(
        {entry.Card->Uid, entry.Queried, entry.Right, qint32(entry.PointValue - entry.StartPointValue)}, unit, now,
        LongTermMode, ReferenceDate);
}

void TQVL_Query_Cardpile::SaveUnitListToStatistics() const
{
    if (!owner.LastQuery)
        return;
    owner.LastQuery->Clear();
    for (const TQVL_Unit* unit : Units)
        owner.LastQuery->Add(unit->Uid);
}

double TQVL_Query_Cardpile::GetUnitPartOfQuery(const QString& unitUid) const
{
    qint64 ofUnit = 0;
    qint64 total = 0;
    for (const auto& entry : Cards) {
        total += entry->Queried;
        if (entry->Unit->Uid == unitUid)
            ofUnit += entry->Queried;
    }
    if (ofUnit == total)
        return 1.0;
    if (total <= 0)
        return 0.0;
    return double(ofUnit) / double(total);
}

qint32 TQVL_Query_Cardpile::GetUnitDurationSecondsofQuery(const QString& unitUid, TQVL_DateTime duration) const
{
    return qint32(RoundHalfEven(double(TQVL_Query::WholeSeconds(duration)) * GetUnitPartOfQuery(unitUid)));
}
