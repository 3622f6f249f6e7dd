#include "ui/query/Form_QueryOptions.h"

#include "app/QVL.h"
#include "query/QVL_Query_Options.h"
#include "ui/help/HelpService.h"
#include "ui/query/Form_MenuQuery.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Navigator.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Everything the screen changes in the options, so that a failed write can put it back.
struct TChoice
{
    quint8 reducecardlisttyp = 0;
    int reducecardlistby = 0;
    int questiondisplaytimeintervall = 0;
    quint8 direction = 0;
    bool selfevaluation = false;
    bool userInputRequired = false;
    bool showUserAnswer = false;
    bool evaluateAnswer = false;
    bool showEvaluation = false;
    bool useSelfEvaluation = false;
    bool askSelfEvaluation = false;
    bool ignorecase = false;
    bool allmeaningscorrect = false;
    bool sounds = false;
    bool storeresults = false;
    bool uselastresults = false;

    static TChoice Of(const TQVL_Query_Options& options)
    {
        const TQVL_Query_Step_Options& step = options.Step();
        return {options.reducecardlisttyp,
                options.reducecardlistby,
                step.questiondisplaytimeintervall,
                step.direction,
                options.selfevaluation,
                step.UserInputRequired,
                step.ShowUserAnswer,
                step.EvaluateAnswer,
                step.ShowEvaluation,
                step.UseSelfEvaluation,
                step.AskSelfEvaluation,
                step.evaluation->ignorecase,
                step.evaluation->allmeaningscorrect,
                step.sounds,
                options.storeresults,
                options.uselastresults};
    }
    void ApplyTo(TQVL_Query_Options& options) const
    {
        TQVL_Query_Step_Options& step = options.Step();
        options.reducecardlisttyp = reducecardlisttyp;
        options.reducecardlistby = reducecardlistby;
        step.questiondisplaytimeintervall = questiondisplaytimeintervall;
        step.direction = direction;
        options.selfevaluation = selfevaluation;
        step.UserInputRequired = userInputRequired;
        step.ShowUserAnswer = showUserAnswer;
        step.EvaluateAnswer = evaluateAnswer;
        step.ShowEvaluation = showEvaluation;
        step.UseSelfEvaluation = useSelfEvaluation;
        step.AskSelfEvaluation = askSelfEvaluation;
        step.evaluation->ignorecase = ignorecase;
        step.evaluation->allmeaningscorrect = allmeaningscorrect;
        step.sounds = sounds;
        options.storeresults = storeresults;
        options.uselastresults = uselastresults;
    }
};

QString timeText(int index)
{
    const int halfSeconds = 4 + index;
    return halfSeconds % 2 == 0 ? QStringLiteral("%1 Sekunden").arg(halfSeconds / 2)
                                : QStringLiteral("%1,5 Sekunden").arg(halfSeconds / 2);
}

QRadioButton* radio(const char* name, const QString& caption, QButtonGroup* group, int id, QWidget* parent)
{
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    group->addButton(button, id);
    return button;
}

QCheckBox* check(const char* name, const QString& caption, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// Shows `id` in an exclusive group; no button for an id the group does not have.
void checkOnly(QButtonGroup* group, int id)
{
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(group->id(button) == id);
    group->setExclusive(true);
}

} // namespace

TFormQueryOptions::TFormQueryOptions(QWidget* parent, TQVL& engine) : TFormMeta(parent), core(engine)
{
    setObjectName(QStringLiteral("FormQueryOptions"));
    SetHeaderHeight(TallHeaderHeight);
    SetCaption(QStringLiteral("Abfrageeinstellungen"));
    SetSubCaption(QStringLiteral("Legen Sie hier die Einstellungen für die Abfrage fest..."));
    QWidget* area = Content();

    Combo_QuerySessions = new QComboBox(area);
    Combo_QuerySessions->setObjectName(QStringLiteral("Combo_QuerySessions"));
    Combo_QuerySessions->addItems({QStringLiteral("Automatisch"), QStringLiteral("Wenige"), QStringLiteral("Mittel"),
                                   QStringLiteral("Viele"), QStringLiteral("Richtige aussortieren.")});

    directionGroup = new QButtonGroup(this);
    CheckFH = radio("CheckFH", QStringLiteral("Fremdsprache -> Deutsch"), directionGroup, 1, area);
    CheckHF = radio("CheckHF", QStringLiteral("Deutsch -> Fremdsprache"), directionGroup, 2, area);
    CheckR = radio("CheckR", QStringLiteral("Zufällig"), directionGroup, 0, area);

    evaluationGroup = new QButtonGroup(this);
    Check_SelfEvaluationFalse =
        radio("Check_SelfEvaluationFalse", QStringLiteral("Automatische Bewertung"), evaluationGroup, 0, area);
    Check_SelfEvaluationTrue =
        radio("Check_SelfEvaluationTrue", QStringLiteral("Eigene Bewertung"), evaluationGroup, 1, area);
    connect(Check_SelfEvaluationFalse, &QRadioButton::toggled, this, [this] { Guarded([this] { evaluationChanged(); }); });

    meaningsGroup = new QButtonGroup(this);
    Check_AllMeanings =
        radio("Check_AllMeanings", QStringLiteral("Alle Bedeutungen müssen angegeben werden"), meaningsGroup, 1, area);
    check_OneMeaning = radio("check_OneMeaning", QStringLiteral("Eine Bedeutung reicht"), meaningsGroup, 0, area);

    CheckCase = check("CheckCase", QStringLiteral("Groß- und Kleinschreibung beachten"), area);
    Check_PlaySounds = check("Check_PlaySounds", QStringLiteral("Antworttöne abspielen"), area);
    Check_StoreResults = check("Check_StoreResults", QStringLiteral("Ergebnisse speichern"), area);
    Check_UseLastResults =
        check("Check_UseLastResults", QStringLiteral("Ergebnisse der letzten Abfrage berücksichtigen"), area);

    Label_Time = new QLabel(QStringLiteral("Zeit für die Eingabe der Antwort:"), area);
    Label_Time->setObjectName(QStringLiteral("Label_Time"));
    Combo_Time = new QComboBox(area);
    Combo_Time->setObjectName(QStringLiteral("Combo_Time"));
    for (int i = 0; i < TimeItemCount; ++i)
        Combo_Time->addItem(timeText(i));
    Label_Time->setBuddy(Combo_Time);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(4);
    int row = 0;
    // The choices of a row stand one below the other: side by side they need
    // more than the screen's width in the fonts of a Linux desktop.
    auto addRow = [&](const QString& caption, std::initializer_list<QWidget*> widgets) {
        auto* label = new QLabel(caption, area);
        const bool single = widgets.size() == 1;
        grid->addWidget(label, row, 0, Qt::AlignLeft | (single ? Qt::AlignVCenter : Qt::AlignTop));
        // On the line of the first choice.
        if (!single)
            label->setContentsMargins(
                0, std::max(0, ((*widgets.begin())->sizeHint().height() - label->sizeHint().height()) / 2), 0, 0);
        auto* choices = new QVBoxLayout;
        choices->setSpacing(2);
        for (QWidget* widget : widgets)
            choices->addWidget(widget, 0, Qt::AlignLeft);
        grid->addLayout(choices, row, 1);
        ++row;
        return label;
    };
    addRow(QStringLiteral("Übungsphasen:"), {Combo_QuerySessions})->setBuddy(Combo_QuerySessions);
    addRow(QStringLiteral("Abfragerichtung:"), {CheckFH, CheckHF, CheckR});
    addRow(QStringLiteral("Bewertung der Antwort:"), {Check_SelfEvaluationFalse, Check_SelfEvaluationTrue});
    addRow(QStringLiteral("Bewertung bei mehreren Bedeutungen:"), {Check_AllMeanings, check_OneMeaning});
    grid->addWidget(CheckCase, row, 1);
    grid->addWidget(Check_PlaySounds, ++row, 1);
    grid->addWidget(Check_StoreResults, ++row, 1);
    grid->addWidget(Check_UseLastResults, ++row, 1);
    ++row;
    grid->addWidget(Label_Time, row, 0);
    grid->addWidget(Combo_Time, row, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);

    Button_Start = new QPushButton(QStringLiteral("Start!"), area);
    Button_Start->setObjectName(QStringLiteral("Button_Start"));
    SetDefaultButton(Button_Start);
    Button_Abort = new QPushButton(QStringLiteral("Abbruch"), area);
    Button_Abort->setObjectName(QStringLiteral("Button_Abort"));
    SetEscapeButton(Button_Abort);
    Button_Help = new QPushButton(QStringLiteral("Hilfe"), area);
    Button_Help->setObjectName(QStringLiteral("Button_Help"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button_Start);
    buttons->addWidget(Button_Abort);
    buttons->addWidget(Button_Help);

    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(20, 10, 20, 10);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(Button_Start, &QPushButton::clicked, this, [this] { Guarded([this] { StartQuery(); }); });
    connect(Button_Abort, &QPushButton::clicked, this,
            [this] { Guarded([this] { Navigator().Show(TDestination::QueryMenu); }); });
    connect(Button_Help, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("help_query_options.html")); }); });

    Guarded([this] { ShowOptions(); });
}

TFormQueryOptions::~TFormQueryOptions() = default;

int TFormQueryOptions::SessionsIndexOf(quint8 reduceType)
{
    return reduceType == 2 ? SessionsDropRight : SessionsAutomatic;
}

void TFormQueryOptions::ApplySessions(int index, quint8& reduceType, int& reduceBy)
{
    switch (index) {
    case SessionsAutomatic:
        reduceType = 0;
        break;
    case SessionsFew:
        reduceType = 0, reduceBy = 50;
        break;
    case SessionsMedium:
        reduceType = 0, reduceBy = 33;
        break;
    case SessionsMany:
        reduceType = 0, reduceBy = 25;
        break;
    case SessionsDropRight:
        reduceType = 2;
        break;
    default:
        break;
    }
}

int TFormQueryOptions::TimeIndexOf(int milliseconds)
{
    const int index = (milliseconds - 2000) / 500;
    return index >= 0 && index < TimeItemCount ? index : 0;
}

bool TFormQueryOptions::pictureUnit() const
{
    const TQVL_Unit& unit = core.Units->GetActiveUnit();
    return unit.IsOpen && unit.Typ == tPic;
}

void TFormQueryOptions::ShowOptions()
{
    const TQVL_Query_Options& options = *core.Query->Options;
    const TQVL_Query_Step_Options& step = options.Step();
    Combo_QuerySessions->setCurrentIndex(SessionsIndexOf(options.reducecardlisttyp));
    Combo_Time->setCurrentIndex(TimeIndexOf(step.questiondisplaytimeintervall));
    Label_Time->setVisible(step.questiondisplaytime);
    Combo_Time->setVisible(step.questiondisplaytime);
    checkOnly(directionGroup, step.direction);
    checkOnly(meaningsGroup, step.evaluation->allmeaningscorrect ? 1 : 0);
    CheckCase->setChecked(!step.evaluation->ignorecase);
    Check_PlaySounds->setChecked(step.sounds);
    Check_StoreResults->setChecked(options.storeresults);
    Check_UseLastResults->setChecked(options.uselastresults);

    const bool picture = pictureUnit();
    for (QAbstractButton* button : directionGroup->buttons())
        button->setEnabled(!picture);
    Check_SelfEvaluationTrue->setEnabled(!TFormMenuQuery::LacksRight(core, &TQVL_User_Rights::QUERY_SELFASSESSMENT));
    // Set last: its change decides whether the meaning choices can be used.
    checkOnly(evaluationGroup, options.selfevaluation ? 1 : 0);
    evaluationChanged();
}

void TFormQueryOptions::evaluationChanged()
{
    // How many meanings must be given matters only when the program judges the answer.
    const bool enabled = Check_SelfEvaluationFalse->isChecked() && !pictureUnit();
    Check_AllMeanings->setEnabled(enabled);
    check_OneMeaning->setEnabled(enabled);
}

void TFormQueryOptions::StartQuery()
{
    TQVL_Query_Options& options = *core.Query->Options;

    // Everything is read from the controls before the options change; a group
    // without a chosen button keeps its option.
    const TChoice previous = TChoice::Of(options);
    TChoice chosen = previous;
    ApplySessions(Combo_QuerySessions->currentIndex(), chosen.reducecardlisttyp, chosen.reducecardlistby);
    if (options.Step().questiondisplaytime && Combo_Time->currentIndex() >= 0)
        chosen.questiondisplaytimeintervall = TimeOf(Combo_Time->currentIndex());
    if (directionGroup->checkedId() >= 0)
        chosen.direction = quint8(directionGroup->checkedId());
    chosen.selfevaluation = Check_SelfEvaluationTrue->isChecked() &&
                            !TFormMenuQuery::LacksRight(core, &TQVL_User_Rights::QUERY_SELFASSESSMENT);
    chosen.ignorecase = !CheckCase->isChecked();
    if (meaningsGroup->checkedId() >= 0)
        chosen.allmeaningscorrect = meaningsGroup->checkedId() == 1;
    chosen.sounds = Check_PlaySounds->isChecked();
    chosen.storeresults = Check_StoreResults->isChecked();
    chosen.uselastresults = Check_UseLastResults->isChecked();

    chosen.ApplyTo(options);
    options.SetEvaluationFlags(chosen.selfevaluation);
    try {
        TFormMenuQuery::WriteOptions(core);
    } catch (...) {
        previous.ApplyTo(options);
        throw;
    }

    // Play runs never come here; their settings are not the query's.
    if (core.Query->QueryType == TQVL_QueryType::Play)
        return;
    Navigator().Show(TDestination::Run);
}
