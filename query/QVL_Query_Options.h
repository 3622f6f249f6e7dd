#pragma once

#include "core/QVL_FileObject.h"
#include "query/QVL_Query_Session_Options.h"

// How a query runs, saved guarded in "Data/QueryOptions.xml". The tree
// mirrors the engine's levels: query, exercise phase, round, card, evaluation.
// The file is not kept open: it is read, changed and rewritten by the query menu.
class TQVL_Query_Options : public TQVL_FileObject
{
public:
    TQVL_Query_Options();
    ~TQVL_Query_Options() override;

    void LoadFromXML(TQVL_XMLTag& tag) override;
    void SaveToXML(TQVL_XMLTag& tag) override;

    // Sets the six flags the file does not hold, for a query with or without self-evaluation.
    void SetEvaluationFlags(bool selfEvaluated);
    // The settings every query of the query menu runs with (shuffled rounds,
    // no display times, a quarter of the cards dropped between phases);
    // self-evaluation stays as set only when `selfEvaluationAllowed`. Sets the
    // evaluation flags to match.
    void ApplyMenuSettings(bool selfEvaluationAllowed);

    // 0 by percentage, 1 by count, 2 drop the cards answered right last time.
    quint8 reducecardlisttyp = 0;
    int reducecardlistby = 0;
    std::unique_ptr<TQVL_Query_Session_Options> session;
    bool storeresults = false;
    bool uselastresults = false;
    bool onlystoreresultswheallqueried = false;
    bool changeoptions = false;
    bool selfevaluation = false;

    // The round and card levels, for the many callers that need them.
    TQVL_Query_Turn_Options& Turn() const { return *session->turn; }
    TQVL_Query_Step_Options& Step() const { return *session->turn->step; }
};
