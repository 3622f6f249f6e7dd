#include "query/QVL_Query_PlayTimer.h"

#include "query/QVL_Query_Step_Options.h"

#include <algorithm>

namespace {

quint16 fieldValue(int ms, bool& clamped)
{
    const int held = std::clamp(ms, 0, TQVL_Query_PlayTimer::MaxTime);
    clamped = clamped || held != ms;
    return quint16(held);
}

// The value of a typed time, or -1 when it is not a number the field holds.
int typedTime(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= 0 && value <= TQVL_Query_PlayTimer::MaxTime ? value : -1;
}

QString outOfRange(const QString& what)
{
    return QStringLiteral("Die Anzeigedauer für %1 muss eine ganze Zahl von 0 bis %2 Millisekunden sein!")
        .arg(what)
        .arg(TQVL_Query_PlayTimer::MaxTime);
}

} // namespace

TQVL_Query_PlayTimer TQVL_Query_PlayTimer::FromStep(const TQVL_Query_Step_Options& step)
{
    TQVL_Query_PlayTimer values;
    values.HideQuestionTime = step.questiondisplaytimeintervall == 1;
    values.HideAnswerTime = step.answerdisplaytimeintervall == 0;
    values.QuestionTime = fieldValue(step.questiondisplaytimeintervall, values.Clamped);
    values.AnswerTime = fieldValue(step.answerdisplaytimeintervall, values.Clamped);
    values.TimerEnabled =
        (!values.HideQuestionTime && step.questiondisplaytime) || (!values.HideAnswerTime && step.answerdisplaytime);
    return values;
}

void TQVL_Query_PlayTimer::ApplyTo(TQVL_Query_Step_Options& step) const
{
    if (!HideQuestionTime) {
        step.questiondisplaytimeintervall = QuestionTime;
        step.questiondisplaytime = TimerEnabled;
    }
    if (!HideAnswerTime) {
        step.answerdisplaytimeintervall = AnswerTime;
        step.answerdisplaytime = TimerEnabled;
    }
}

QString TQVL_Query_PlayTimer::Check(const QString& questionText, const QString& answerText, bool hideQuestionTime,
                                    bool hideAnswerTime)
{
    if (!hideQuestionTime) {
        const int question = typedTime(questionText);
        if (question < 0)
            return outOfRange(QStringLiteral("die Frage"));
        if (hideAnswerTime && question < MinPseudoQuestionTime)
            return QStringLiteral("Die Anzeigedauer für die Frage muß mindestens 2000 Millisekunden betragen!");
    }
    if (!hideAnswerTime && typedTime(answerText) < 0)
        return outOfRange(QStringLiteral("die Antwort"));
    return QString();
}

QString TQVL_Query_PlayTimer::ClampedNotice()
{
    return QStringLiteral("Eine Anzeigedauer war länger als %1 Millisekunden und wurde auf diesen Wert gekürzt.")
        .arg(MaxTime);
}
