#pragma once

#include "core/QVL_DateTime.h"
#include "core/QVL_XMLElement.h"
#include "query/QVL_Result_Unit.h"

#include <QString>

#include <memory>
#include <vector>

class TQVL_FSRS_Replay;
class TQVL_XMLTag;
class TQVL_XMLWriter;

// All query results of one user profile: one record per unit ever queried, in
// the order they were first stored. Owned by the TQVL_User; read and written
// as the profile's `results` element.
class TQVL_Result_User
{
public:
    TQVL_Result_User();
    ~TQVL_Result_User();
    TQVL_Result_User(const TQVL_Result_User&) = delete;
    TQVL_Result_User& operator=(const TQVL_Result_User&) = delete;

    // The last unit record with exactly this uid, or nullptr.
    TQVL_Result_Unit* FindUnit(const QString& uid) const;
    // FindUnit, or a new record appended to the units; a new record takes
    // `fileName` as its last known file name.
    TQVL_Result_Unit& GetOrCreateUnit(const QString& uid, const QString& fileName = {});
    int UnitCount() const { return int(units.size()); }
    TQVL_Result_Unit& Unit(int index) const { return *units[std::size_t(index)]; }
    // Frees all unit records; lastdeletion_date stays.
    void Clear();

    // Seconds of all stored queries that ended on the calendar day of `date`.
    qint64 DurationOnDay(TQVL_DateTime date) const;
    // Sets `count` to the number of cards due now over all long-term storages;
    // true when there is one.
    bool CountDueInStorages(int& count) const;

    // Reads the content of the `results` element. On an error (a required
    // element missing, a value that does not convert) raises TQVL_Error and
    // keeps the results as they were.
    void LoadFromXML(const TQVL_XMLElement& element);
    // Writes the content of the `results` element into `tag`.
    void SaveToXML(TQVL_XMLTag& tag) const;
    // The same content into an open "results" element.
    void WriteXML(TQVL_XMLWriter& writer) const;

    // The FSRS cards of the storage `unit`, replayed from the review logs of
    // ReviewLogProfile with the storage's retention and weights; null when there
    // is no profile file or its logs cannot be read.
    std::unique_ptr<TQVL_FSRS_Replay> ReplayFSRS(const TQVL_Result_Unit& unit) const;

    // When the results were last deleted; empty for never.
    TQVL_DateTime lastdeletion_date;
    // The profile file whose review logs hold these results' answers; set by the profile.
    QString ReviewLogProfile;

private:
    struct LogCache;

    std::vector<std::unique_ptr<TQVL_Result_Unit>> units;
    // The logs as last read, kept while none of their files changed: the main
    // menu and the forecast ask for every storage, and often.
    mutable std::unique_ptr<LogCache> logCache;
};
