#pragma once

#include "query/QVL_Query_Evaluation_Options.h"

#include <QtGlobal>

#include <memory>

// How one card is asked. The six flags without a file element are set by the
// query menu before every query.
class TQVL_Query_Step_Options
{
public:
    TQVL_Query_Step_Options();
    ~TQVL_Query_Step_Options();

    void LoadFromXML(const TQVL_XMLTag& tag);
    void SaveToXML(TQVL_XMLTag& tag) const;

    // 0 random per card, 1 foreign -> native, 2 native -> foreign.
    quint8 direction = 0;
    bool UserInputRequired = false;
    bool ShowUserAnswer = false;
    bool EvaluateAnswer = false;
    bool ShowEvaluation = false;
    bool UseSelfEvaluation = false;
    bool AskSelfEvaluation = false;
    int questiondisplaytimeintervall = 0;
    bool questiondisplaytime = false;
    int answerdisplaytimeintervall = 0;
    bool answerdisplaytime = false;
    std::unique_ptr<TQVL_Query_Evaluation_Options> evaluation;
    bool sounds = false;
};
