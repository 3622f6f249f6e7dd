#pragma once

#include "core/QVL_DateTime.h"
#include "query/QVL_FSRS.h"
#include "query/QVL_LearnMethod.h"
#include "query/QVL_Result.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit_Query.h"

#include <QHash>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

// The user's history of one unit (or long-term storage): its answer counters,
// the stored queries (oldest first) and one record per card. Created and owned
// by TQVL_Result_User; the unit uid is its key there and never changes.
class TQVL_Result_User;

class TQVL_Result_Unit : public TQVL_Result
{
public:
    explicit TQVL_Result_Unit(QString unitUid);
    ~TQVL_Result_Unit();
    TQVL_Result_Unit(const TQVL_Result_Unit&) = delete;
    TQVL_Result_Unit& operator=(const TQVL_Result_Unit&) = delete;

    // The last record with this card uid, or nullptr.
    TQVL_Result_Card* FindCard(qint32 uid) const;
    // FindCard, or a new record (all values 0) appended to the cards.
    TQVL_Result_Card& GetOrCreateCard(qint32 uid);
    int CardCount() const { return int(cards.size()); }
    TQVL_Result_Card& Card(int index) const { return *cards[std::size_t(index)]; }

    // Appends a stored query.
    TQVL_Result_Unit_Query& AddQuery(qint32 duration, qint32 queried, bool selfEvaluated, qint32 right,
                                     TQVL_DateTime dateTime);
    int QueryCount() const { return int(queries.size()); }
    TQVL_Result_Unit_Query& Query(int index) const { return *queries[std::size_t(index)]; }

    // Removes the stored queries and the card records; the counters stay.
    void Clear();
    void ClearCards();

    // Seconds of the stored queries that ended on the calendar day of `date`.
    qint64 DurationOnDay(TQVL_DateTime date) const;
    // Adds the number of cards due on `referenceDate` to `count`; true when
    // there is one. A storage learned with FSRS counts by the cards' memory
    // state, replayed from the review logs of the profile that owns it; when
    // those cannot be read, by the stages, which are kept all along.
    bool CountDue(TQVL_DateTime referenceDate, int& count) const;
    // The due cards at each of `referenceDates`, with one replay of the logs.
    std::vector<int> CountDueAt(const std::vector<TQVL_DateTime>& referenceDates) const;
    // Whether the storage's pause holds back a card that its own rule makes
    // due at `referenceDate`. From the first paused day until the last none
    // is due; the cards already due when the pause ends (`dueWhenPauseEnds`)
    // come back spread over as many days as the pause lasted, at most
    // PauseSpreadMaxDays: card uid modulo those days is its delay in days.
    bool HeldByPause(qint32 cardUid, bool dueWhenPauseEnds, TQVL_DateTime referenceDate) const;
    // Whether `referenceDate` lies within the pause.
    bool IsPaused(TQVL_DateTime referenceDate) const;
    // The day a card whose own rule makes it due at `dueDate` comes due
    // with the pause; `dueDate` itself when the pause does not hold it.
    TQVL_DateTime DueDateWithPause(qint32 cardUid, TQVL_DateTime dueDate) const;
    static constexpr int PauseSpreadMaxDays = 7;
    // The scheduler's parameters for this storage: its retention and weights.
    TQVL_FSRS::Parameters FSRSParameters() const;
    // CountDue with the current time.
    bool CountDueToday(int& count) const;

    // Reads a `unit` element; raises TQVL_Error when a required element is
    // missing or a value does not convert.
    static std::unique_ptr<TQVL_Result_Unit> FromXML(const TQVL_XMLElement& element);
    // Writes the children of an open `unit` element.
    void WriteXML(TQVL_XMLWriter& writer) const;

    const QString unit_uid;
    // Full path of the unit file when it was last queried.
    QString unit_lastknownfilename;
    TQVL_DateTime lastquerydate;
    bool longtermstorage = false;
    // The learner's choice for a long-term storage. Stored only when it
    // differs from the defaults, so a profile of a storage that keeps the
    // stages is written as before, and an older profile means "Stufen".
    TQVL_LearnMethod learnmethod = TQVL_LearnMethod::Stages;
    double desiredretention = QVL_DefaultRetention;
    // The FSRS weights fitted to the learner's answers; none for the
    // published defaults. Stored only when fitted.
    std::optional<std::array<double, 21>> fsrsparameters;
    // "Langzeitspeicher pausieren bis …": the first paused day and the day the
    // storage is back (midnight); both empty without a pause. Stored only when set.
    TQVL_DateTime pausedfrom;
    TQVL_DateTime pauseduntil;
    // The results this record belongs to; null for a record made on its own.
    const TQVL_Result_User* Owner = nullptr;

private:
    TQVL_Result_Card& appendCard(std::unique_ptr<TQVL_Result_Card> card);

    std::vector<std::unique_ptr<TQVL_Result_Card>> cards;
    std::vector<std::unique_ptr<TQVL_Result_Unit_Query>> queries;
    // Card uid to its last record: the query engine and the card viewers look
    // up every card of a unit, which must not grow with the square of its size.
    QHash<qint32, TQVL_Result_Card*> cardIndex;
};
