#include "query/QVL_Query_Options.h"

#include "core/QVL_XMLTag.h"

TQVL_Query_Options::TQVL_Query_Options() : session(std::make_unique<TQVL_Query_Session_Options>())
{
    IntegrityGuard = true;
}

TQVL_Query_Options::~TQVL_Query_Options()
{
    if (IsOpen)
        CloseFile();
}

void TQVL_Query_Options::LoadFromXML(TQVL_XMLTag& tag)
{
    selfevaluation = tag.NeedChild(QStringLiteral("selfevaluation")).AsBoolean();
    changeoptions = tag.NeedChild(QStringLiteral("changeoptions")).AsBoolean();
    storeresults = tag.NeedChild(QStringLiteral("storeresults")).AsBoolean();
    uselastresults = tag.NeedChild(QStringLiteral("uselastresults")).AsBoolean();
    onlystoreresultswheallqueried = tag.NeedChild(QStringLiteral("onlystoreresultswheallqueried")).AsBoolean();
    reducecardlisttyp = quint8(tag.NeedChild(QStringLiteral("reducecardlisttyp")).AsInteger());
    reducecardlistby = tag.NeedChild(QStringLiteral("reducecardlistby")).AsInteger();
    if (const TQVL_XMLTag* sessionTag = tag.FindChild(QStringLiteral("session")))
        session->LoadFromXML(*sessionTag);
}

void TQVL_Query_Options::SaveToXML(TQVL_XMLTag& tag)
{
    tag.AddBoolean(QStringLiteral("selfevaluation"), selfevaluation);
    tag.AddBoolean(QStringLiteral("changeoptions"), changeoptions);
    tag.AddBoolean(QStringLiteral("storeresults"), storeresults);
    tag.AddBoolean(QStringLiteral("uselastresults"), uselastresults);
    tag.AddBoolean(QStringLiteral("onlystoreresultswheallqueried"), onlystoreresultswheallqueried);
    tag.AddInteger(QStringLiteral("reducecardlisttyp"), reducecardlisttyp);
    tag.AddInteger(QStringLiteral("reducecardlistby"), reducecardlistby);
    session->SaveToXML(*tag.AddChild(QStringLiteral("session")));
}

void TQVL_Query_Options::SetEvaluationFlags(bool selfEvaluated)
{
    TQVL_Query_Step_Options& step = Step();
    step.ShowUserAnswer = true;
    step.UserInputRequired = true;
    step.EvaluateAnswer = !selfEvaluated;
    step.ShowEvaluation = !selfEvaluated;
    step.UseSelfEvaluation = selfEvaluated;
    step.AskSelfEvaluation = selfEvaluated;
}

void TQVL_Query_Options::ApplyMenuSettings(bool selfEvaluationAllowed)
{
    onlystoreresultswheallqueried = true;
    reducecardlisttyp = 0;
    reducecardlistby = 25;
    TQVL_Query_Turn_Options& turn = Turn();
    turn.mix = true;
    turn.reducecardlisttyp = 2;
    turn.reducecardlistby = 0;
    TQVL_Query_Step_Options& step = Step();
    step.questiondisplaytime = false;
    step.questiondisplaytimeintervall = 5000;
    step.answerdisplaytimeintervall = 2000;
    step.answerdisplaytime = false;
    if (!selfEvaluationAllowed)
        selfevaluation = false;
    SetEvaluationFlags(selfevaluation);
}
