#pragma once

#include "query/QVL_Query_PlayTimer.h"
#include "ui/shell/FormDialogMeta.h"

class QCheckBox;
class QLabel;
class QLineEdit;

// The timer dialog of the play screens: switches the automatic change of
// question and answer and sets their display times. The caller fills it with
// SetValues and reads Values back when Accepted.
class TFormPlayTimerOptions : public TFormDialogMeta
{
    Q_OBJECT
public:
    explicit TFormPlayTimerOptions(QWidget* parent = nullptr);
    ~TFormPlayTimerOptions() override;

    void SetValues(const TQVL_Query_PlayTimer& values);
    TQVL_Query_PlayTimer Values() const { return values; }
    bool Accepted() const { return accepted; }

    // "Übernehmen": checks the typed times; a refused one is said and the dialog stays.
    void Apply();

    QCheckBox* Check_TimerEnabled = nullptr;
    QLabel* Label_QuestionTime = nullptr;
    QLineEdit* Edit_QuestionTime = nullptr;
    QLabel* Label_QuestionUnit = nullptr;
    QLabel* Label_AnswerTime = nullptr;
    QLineEdit* Edit_AnswerTime = nullptr;
    QLabel* Label_AnswerUnit = nullptr;

private:
    TQVL_Query_PlayTimer values;
    bool accepted = false;
};
