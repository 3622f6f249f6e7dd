#include "ui/units/Form_LongTermStorageSettings.h"

#include "core/QVL_Error.h"
#include "query/QVL_FSRS_Optimizer.h"
#include "query/QVL_Result_User.h"
#include "query/QVL_ReviewLog.h"
#include "ui/help/HelpService.h"
#include "ui/shell/Guarded.h"
#include "users/QVL_StorageSettings.h"
#include "users/QVL_User.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

namespace {

QString german(double value)
{
    return QLocale(QLocale::German).toString(value, 'f', 3);
}

} // namespace

TFormLongTermStorageSettings::TFormLongTermStorageSettings(TQVL_User& user, const QString& uid,
                                                           const QString& fileName, const QString& storageName,
                                                           QWidget* parent)
    : TFormDialogMeta(parent), profile(user), storageUid(uid), storageFile(fileName)
{
    setObjectName(QStringLiteral("FormLongTermStorageSettings"));
    setWindowTitle(QStringLiteral("Vokabeltrainer Quorvel"));
    Label1->setText(QStringLiteral("Einstellungen des Langzeitspeichers \"%1\"").arg(storageName));
    Label1->setTextFormat(Qt::PlainText);

    auto* methodLabel = new QLabel(QStringLiteral("Lernverfahren:"), Content());
    methodLabel->setObjectName(QStringLiteral("Label_LearnMethod"));
    ComboBox_LearnMethod = new QComboBox(Content());
    ComboBox_LearnMethod->setObjectName(QStringLiteral("ComboBox_LearnMethod"));
    // In the order of TQVL_LearnMethod.
    ComboBox_LearnMethod->addItems({QStringLiteral("Stufen (klassisch)"), QStringLiteral("FSRS (Vergessenskurve)")});
    methodLabel->setBuddy(ComboBox_LearnMethod);

    Label_Retention = new QLabel(QStringLiteral("Gewünschte Behaltensquote:"), Content());
    Label_Retention->setObjectName(QStringLiteral("Label_Retention"));
    SpinEdit_Retention = new QDoubleSpinBox(Content());
    SpinEdit_Retention->setObjectName(QStringLiteral("SpinEdit_Retention"));
    SpinEdit_Retention->setDecimals(2);
    SpinEdit_Retention->setSingleStep(0.01);
    SpinEdit_Retention->setRange(QVL_MinRetention, QVL_MaxRetention);
    SpinEdit_Retention->setToolTip(QStringLiteral("Der Anteil der Vokabeln, die Sie noch wissen sollen, wenn sie "
                                                  "wieder abgefragt werden (0,70 bis 0,97). Je höher, desto öfter "
                                                  "wird abgefragt."));
    Label_Retention->setBuddy(SpinEdit_Retention);

    auto* parametersLabel = new QLabel(QStringLiteral("Parameter:"), Content());
    parametersLabel->setObjectName(QStringLiteral("Label_ParametersCaption"));
    Label_Parameters = new QLabel(Content());
    Label_Parameters->setObjectName(QStringLiteral("Label_Parameters"));
    Label_Parameters->setTextFormat(Qt::PlainText);
    Button_FitParameters = new QPushButton(QStringLiteral("Parameter an meine Antworten anpassen"), Content());
    Button_FitParameters->setObjectName(QStringLiteral("Button_FitParameters"));
    Button_DefaultParameters = new QPushButton(QStringLiteral("Standardwerte"), Content());
    Button_DefaultParameters->setObjectName(QStringLiteral("Button_DefaultParameters"));
    Button_DefaultParameters->setToolTip(QStringLiteral("Die veröffentlichten Standardparameter verwenden."));
    Label_FitResult = new QLabel(Content());
    Label_FitResult->setObjectName(QStringLiteral("Label_FitResult"));
    Label_FitResult->setTextFormat(Qt::PlainText);
    Label_FitResult->setWordWrap(true);
    auto* parameterButtons = new QHBoxLayout;
    parameterButtons->addWidget(Button_FitParameters);
    parameterButtons->addWidget(Button_DefaultParameters);
    parameterButtons->addStretch(1);

    CheckBox_Pause = new QCheckBox(QStringLiteral("Langzeitspeicher &pausieren bis"), Content());
    CheckBox_Pause->setObjectName(QStringLiteral("CheckBox_Pause"));
    CheckBox_Pause->setToolTip(QStringLiteral("Für die Ferien: Bis zu diesem Tag ist keine Vokabel fällig. Danach "
                                              "kommen die liegengebliebenen Vokabeln über einige Tage verteilt."));
    DateEdit_PauseUntil = new QDateEdit(Content());
    DateEdit_PauseUntil->setObjectName(QStringLiteral("DateEdit_PauseUntil"));
    DateEdit_PauseUntil->setCalendarPopup(true);
    DateEdit_PauseUntil->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DateEdit_PauseUntil->setAccessibleName(QStringLiteral("Pause bis"));
    auto* pauseRow = new QHBoxLayout;
    pauseRow->addWidget(CheckBox_Pause);
    pauseRow->addWidget(DateEdit_PauseUntil);
    pauseRow->addStretch(1);

    auto* layout = new QGridLayout(Content());
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setHorizontalSpacing(12);
    layout->setVerticalSpacing(8);
    layout->addWidget(methodLabel, 0, 0);
    layout->addWidget(ComboBox_LearnMethod, 0, 1);
    layout->addWidget(Label_Retention, 1, 0);
    layout->addWidget(SpinEdit_Retention, 1, 1);
    layout->addWidget(parametersLabel, 2, 0);
    layout->addWidget(Label_Parameters, 2, 1);
    layout->addLayout(parameterButtons, 3, 1);
    layout->addWidget(Label_FitResult, 4, 1);
    layout->addLayout(pauseRow, 5, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(6, 1);

    dxButton1->setText(QStringLiteral("Hilfe"));
    dxButton2->setText(QStringLiteral("Abbruch"));
    dxButton3->setText(QStringLiteral("Ok"));
    connect(dxButton1, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("help_longtermstorage.html")); }); });
    connect(dxButton2, &QPushButton::clicked, this, &QDialog::reject);
    connect(dxButton3, &QPushButton::clicked, this, [this] { Guarded([this] { SaveSettings(); }); });
    connect(ComboBox_LearnMethod, &QComboBox::currentIndexChanged, this, [this] { updateControls(); });
    connect(CheckBox_Pause, &QCheckBox::toggled, this, [this] { updateControls(); });
    connect(Button_FitParameters, &QPushButton::clicked, this, [this] { Guarded([this] { FitParameters(); }); });
    connect(Button_DefaultParameters, &QPushButton::clicked, this, [this] {
        weights.reset();
        Label_FitResult->clear();
        updateControls();
    });

    const TQVL_StorageSettings settings = TQVL_StorageSettings::Of(profile, storageUid);
    ComboBox_LearnMethod->setCurrentIndex(int(settings.Method));
    SpinEdit_Retention->setValue(settings.Retention);
    weights = settings.Weights;
    const QDate today = QDate::currentDate();
    DateEdit_PauseUntil->setMinimumDate(today.addDays(1));
    // A pause that is over shows as none.
    const bool paused = !settings.PausedUntil.IsEmpty() && settings.PausedUntil.Date() > today;
    CheckBox_Pause->setChecked(paused);
    DateEdit_PauseUntil->setDate(paused ? settings.PausedUntil.Date() : today.addDays(14));
    if (paused) {
        pausedFrom = settings.PausedFrom;
    } else {
        endedFrom = settings.PausedFrom;
        endedUntil = settings.PausedUntil;
    }
    if (const QString& log = profile.Results().ReviewLogProfile; !log.isEmpty()) {
        try {
            optimizer = std::make_unique<TQVL_FSRS_Optimizer>(TQVL_ReviewLog::ReadProfile(log).Entries, storageUid);
        } catch (const TQVL_Error& error) {
            logError = error.Message();
        }
    }
    updateControls();
    if (profile.IsReadOnlySession()) {
        dxButton3->setEnabled(false);
        dxButton3->setToolTip(QStringLiteral("Das Benutzerprofil ist schreibgeschützt oder in einem anderen "
                                           "Programmfenster geöffnet."));
    }
}

TFormLongTermStorageSettings::~TFormLongTermStorageSettings() = default;

void TFormLongTermStorageSettings::updateControls()
{
    // The retention and the weights steer FSRS alone.
    const bool fsrs = ComboBox_LearnMethod->currentIndex() == int(TQVL_LearnMethod::FSRS);
    const bool writable = !profile.IsReadOnlySession();
    Label_Retention->setEnabled(fsrs);
    SpinEdit_Retention->setEnabled(fsrs);
    const int histories = optimizer ? optimizer->HistoryCount() : 0;
    Label_Parameters->setText(
        (weights ? QStringLiteral("an Ihre Antworten angepasst") : QStringLiteral("Standardwerte")) +
        QStringLiteral(" (%1 Vokabeln mit Wiederholungen an späteren Tagen im Antwortprotokoll)").arg(histories));
    const bool enough = histories >= TQVL_FSRS_Optimizer::MinHistories;
    Button_FitParameters->setEnabled(fsrs && writable && enough);
    if (!logError.isEmpty())
        Button_FitParameters->setToolTip(logError);
    else if (!enough)
        Button_FitParameters->setToolTip(QStringLiteral("Zum Anpassen braucht es mindestens %1 Vokabeln, die Sie "
                                                        "an einem späteren Tag wiederholt haben (bisher %2).")
                                             .arg(TQVL_FSRS_Optimizer::MinHistories)
                                             .arg(histories));
    else
        Button_FitParameters->setToolTip(QStringLiteral("Die Parameter des Gedächtnismodells aus Ihren eigenen "
                                                        "Antworten in diesem Langzeitspeicher bestimmen."));
    Button_DefaultParameters->setEnabled(fsrs && writable && weights.has_value());
    DateEdit_PauseUntil->setEnabled(CheckBox_Pause->isChecked());
}

void TFormLongTermStorageSettings::FitParameters()
{
    if (!optimizer || optimizer->HistoryCount() < TQVL_FSRS_Optimizer::MinHistories)
        return;
    const TQVL_FSRS_Optimizer::Result result = [this] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        struct Restore
        {
            ~Restore() { QApplication::restoreOverrideCursor(); }
        } restore;
        return optimizer->Fit(weights ? *weights : TQVL_FSRS_Optimizer::Defaults());
    }();

    const QString figures =
        QStringLiteral("Log-Loss vorher %1 – nachher %2").arg(german(result.LogLossBefore), german(result.LogLossAfter));
    Label_FitResult->setText(figures);
    if (result.Scope == TQVL_FSRS_Optimizer::TScope::None) {
        TDialogService::Current().ShowInformation(
            QStringLiteral("Angepasste Parameter sagen Ihre Antworten nicht besser voraus als die bisherigen; "
                           "diese bleiben.\n%1")
                .arg(figures));
        return;
    }
    weights = result.W;
    updateControls();
    const QString what =
        result.Scope == TQVL_FSRS_Optimizer::TScope::Extended
            ? QStringLiteral("Angepasst wurden die Anfangsstabilitäten und weitere Parameter des Gedächtnismodells")
            : QStringLiteral("Angepasst wurden die Anfangsstabilitäten; die übrigen Parameter bleiben Standardwerte");
    TDialogService::Current().ShowInformation(
        QStringLiteral("Die Parameter wurden an Ihre Antworten angepasst.\n%1 (%2 Vokabeln, %3 Wiederholungen).\n%4"
                       "\nSie gelten, sobald Sie die Einstellungen mit \"Ok\" speichern.")
            .arg(what)
            .arg(result.Histories)
            .arg(result.Reviews)
            .arg(figures));
}

void TFormLongTermStorageSettings::SaveSettings()
{
    TQVL_StorageSettings settings;
    settings.Method = ComboBox_LearnMethod->currentIndex() == int(TQVL_LearnMethod::FSRS) ? TQVL_LearnMethod::FSRS
                                                                                         : TQVL_LearnMethod::Stages;
    settings.Retention = SpinEdit_Retention->value();
    settings.Weights = weights;
    if (CheckBox_Pause->isChecked()) {
        settings.PausedFrom =
            pausedFrom.IsEmpty() ? TQVL_DateTime::FromDate(QDate::currentDate()) : pausedFrom;
        settings.PausedUntil = TQVL_DateTime::FromDate(DateEdit_PauseUntil->date());
    } else {
        settings.PausedFrom = endedFrom;
        settings.PausedUntil = endedUntil;
    }
    settings.Apply(profile, storageUid, storageFile);
    accept();
}
