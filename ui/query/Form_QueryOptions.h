#pragma once

#include "ui/shell/FormMeta.h"

#include <QtGlobal>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TQVL;

// The query settings screen ("Abfrageeinstellungen"), shown before a query
// when the learner asked for it in the query menu. "Start!" takes the choices
// over into the query options, rewrites the options file and opens the query
// window; "Abbruch" returns to the query menu.
class TFormQueryOptions : public TFormMeta
{
    Q_OBJECT
public:
    // Items of Combo_QuerySessions.
    enum
    {
        SessionsAutomatic = 0,
        SessionsFew = 1,
        SessionsMedium = 2,
        SessionsMany = 3,
        SessionsDropRight = 4,
    };
    static constexpr int TimeItemCount = 11;

    // Shows the query's options at once.
    TFormQueryOptions(QWidget* parent, TQVL& engine);
    ~TFormQueryOptions() override;

    // Sets every control from the query's options and the active unit.
    void ShowOptions();
    // "Start!": takes the choices over, writes the options file and opens the
    // query window. When the file cannot be written the options stay as they were.
    void StartQuery();

    // The sessions item that shows a query-level reduction type.
    static int SessionsIndexOf(quint8 reduceType);
    // Sets the query-level reduction type and amount of sessions item `index`
    // ("Automatisch" keeps the amount).
    static void ApplySessions(int index, quint8& reduceType, int& reduceBy);
    // The time item of an answer time in milliseconds (0 when out of range), and back.
    static int TimeIndexOf(int milliseconds);
    static int TimeOf(int index) { return 2000 + 500 * index; }

    QComboBox* Combo_QuerySessions = nullptr;
    QRadioButton* CheckFH = nullptr;
    QRadioButton* CheckHF = nullptr;
    QRadioButton* CheckR = nullptr;
    QRadioButton* Check_SelfEvaluationFalse = nullptr;
    QRadioButton* Check_SelfEvaluationTrue = nullptr;
    QRadioButton* Check_AllMeanings = nullptr;
    QRadioButton* check_OneMeaning = nullptr;
    QCheckBox* CheckCase = nullptr;
    QCheckBox* Check_PlaySounds = nullptr;
    QCheckBox* Check_StoreResults = nullptr;
    QCheckBox* Check_UseLastResults = nullptr;
    QLabel* Label_Time = nullptr;
    QComboBox* Combo_Time = nullptr;
    QPushButton* Button_Start = nullptr;
    QPushButton* Button_Abort = nullptr;
    QPushButton* Button_Help = nullptr;

private:
    TQVL& core;
    void evaluationChanged();
    bool pictureUnit() const;

    QButtonGroup* directionGroup = nullptr;
    QButtonGroup* evaluationGroup = nullptr;
    QButtonGroup* meaningsGroup = nullptr;
};
