#pragma once

#include "core/QVL_DateTime.h"
#include "query/QVL_Query_Card.h"
#include "query/QVL_Result_Step.h"

#include <QString>

#include <memory>
#include <vector>

class TQVL_Card;
class TQVL_FSRS_Replay;
class TQVL_Result_Card;
class TQVL_Query;
class TQVL_Result_Unit;
class TQVL_Result_User;
class TQVL_Unit;

// The cards that take part in a query, from one or more units, and the
// storing of their results in the user's profile. Owned by the query, which
// also tells it the active user, the active unit and the last-query record.
// The units must stay open while their cards are in the pile.
class TQVL_Query_Cardpile
{
public:
    explicit TQVL_Query_Cardpile(const TQVL_Query& query);
    ~TQVL_Query_Cardpile();
    TQVL_Query_Cardpile(const TQVL_Query_Cardpile&) = delete;
    TQVL_Query_Cardpile& operator=(const TQVL_Query_Cardpile&) = delete;

    // Adds every card of `unit` in its order and returns the number of units.
    int AddUnit(const TQVL_Unit& unit);
    // Adds one card. With UseLastResults it starts from the point value stored
    // for it; in LongTermMode it is left out unless it is due on ReferenceDate
    // by the storage's method.
    // Both look the card up in the active user's results, creating the records
    // when missing, and fail with "no active User" without one.
    void AddCard(const TQVL_Unit& unit, const TQVL_Card& card);
    // Whether AddUnit in long-term mode would take a card of `storage` on
    // `referenceDate`, by the same rule (the storage's method: stages or
    // FSRS) but without creating records;
    // `results` may be null (no user: every card is due).
    static bool HasDueCards(const TQVL_Unit& storage, const TQVL_Result_User* results, TQVL_DateTime referenceDate);
    // Frees all entries and forgets the units.
    void Clear();
    bool isEmpty() const { return Cards.empty(); }
    std::vector<TQVL_Query_Card*> getCardList() const;
    // `n` distinct random entries, never `exclude`, for a multiple-choice list;
    // fails with "More Cards than existing wanted!" when there are too few.
    std::vector<TQVL_Query_Card*> GetRandomCards(int n, const TQVL_Query_Card* exclude) const;
    // Sets UseLastResults and lets every entry start anew from its stored point value, or from 0.
    void SetUseLastResults(bool use);

    // Writes the counts, point values, dates and stages of all entries and one
    // stored query per unit into the active user's results, then saves the
    // profile and gives up its write access. A failed save raises "Fehler beim
    // Speichern der Ergebnisse der Abfrage!" and the cause; the results stay in memory.
    void StoreResults(bool selfEvaluated, TQVL_DateTime duration);
    // What StoreResults writes into the results, as steps: one per run of the
    // pile's cards of one unit, stored at `now`.
    std::vector<TQVL_Result_Step> MakeSteps(bool selfEvaluated, TQVL_DateTime duration, TQVL_DateTime now) const;
    // Adds one entry's counts to `unit` and its card record.
    void SaveItemToUnitResult(const TQVL_Query_Card& entry, TQVL_Result_Unit& unit) const;
    // Puts the uids of the units into the last-query record.
    void SaveUnitListToStatistics() const;
    // The share of the query's answers given to cards of the unit with `unitUid`.
    double GetUnitPartOfQuery(const QString& unitUid) const;
    // That share of the whole seconds of `duration`.
    qint32 GetUnitDurationSecondsofQuery(const QString& unitUid, TQVL_DateTime duration) const;

    std::vector<std::unique_ptr<TQVL_Query_Card>> Cards;
    std::vector<const TQVL_Unit*> Units;
    bool UseLastResults = false;
    // Only due cards are added, and storing moves the cards' stages.
    bool LongTermMode = false;
    // The day due cards are collected for; in long-term mode also the date
    // stored as the cards' last query.
    TQVL_DateTime ReferenceDate;

private:
    void addCard(const TQVL_Unit& unit, const TQVL_Card& card, TQVL_Result_Unit*& results);
    bool isDue(const TQVL_Result_Unit& results, const TQVL_Result_Card& card);
    TQVL_Result_Unit& resultsOf(const TQVL_Unit& unit) const;
    void saveItem(const TQVL_Query_Card& entry, TQVL_Result_Unit& unit, TQVL_DateTime now) const;

    const TQVL_Query& owner;
    // The FSRS cards of the storage being added, replayed once for all its cards.
    std::unique_ptr<TQVL_FSRS_Replay> replay;
    const TQVL_Result_Unit* replayOf = nullptr;
};
