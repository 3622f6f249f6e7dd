#pragma once

#include <QString>
#include <QtGlobal>

class TQVL_Query_Step_Options;

// The values of the play screens' timer dialog and how they come from and go
// back to the step options. The dialog's fields hold 16-bit milliseconds.
struct TQVL_Query_PlayTimer
{
    static constexpr int MaxTime = 65535;
    // A self-judged run needs time to think before the answer shows.
    static constexpr int MinPseudoQuestionTime = 2000;

    bool TimerEnabled = false;
    quint16 QuestionTime = 0;
    quint16 AnswerTime = 0;
    // The row is not the learner's to change: a question time of 1 ms means
    // question and answer show together, an answer time of 0 a self-judged run.
    bool HideQuestionTime = false;
    bool HideAnswerTime = false;
    // A stored time did not fit the field and was cut to MaxTime (or raised to 0).
    bool Clamped = false;

    // The dialog's values for these step options. The check box stands for the
    // timers of the rows shown: on when one of them runs.
    static TQVL_Query_PlayTimer FromStep(const TQVL_Query_Step_Options& step);
    // Writes accepted values back: the times of the rows shown, and the timers
    // of the rows shown switched by TimerEnabled; a hidden row keeps its timer.
    void ApplyTo(TQVL_Query_Step_Options& step) const;

    // The German error for the typed values, or an empty text when they may be taken.
    static QString Check(const QString& questionText, const QString& answerText, bool hideQuestionTime,
                         bool hideAnswerTime);
    static QString ClampedNotice();
};
