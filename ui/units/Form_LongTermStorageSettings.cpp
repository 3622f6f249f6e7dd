#include "ui/units/Form_LongTermStorageSettings.h"

#include "ui/help/HelpService.h"
#include "ui/shell/Guarded.h"
#include "users/QVL_StorageSettings.h"
#include "users/QVL_User.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

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

    auto* layout = new QGridLayout(Content());
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setHorizontalSpacing(12);
    layout->setVerticalSpacing(8);
    layout->addWidget(methodLabel, 0, 0);
    layout->addWidget(ComboBox_LearnMethod, 0, 1);
    layout->addWidget(Label_Retention, 1, 0);
    layout->addWidget(SpinEdit_Retention, 1, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);

    dxButton1->setText(QStringLiteral("Hilfe"));
    dxButton2->setText(QStringLiteral("Abbruch"));
    dxButton3->setText(QStringLiteral("Ok"));
    connect(dxButton1, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("help_longtermstorage.html")); }); });
    connect(dxButton2, &QPushButton::clicked, this, &QDialog::reject);
    connect(dxButton3, &QPushButton::clicked, this, [this] { Guarded([this] { SaveSettings(); }); });
    // The retention steers FSRS alone.
    const auto showRetention = [this] {
        const bool fsrs = ComboBox_LearnMethod->currentIndex() == int(TQVL_LearnMethod::FSRS);
        Label_Retention->setEnabled(fsrs);
        SpinEdit_Retention->setEnabled(fsrs);
    };
    connect(ComboBox_LearnMethod, &QComboBox::currentIndexChanged, this, showRetention);

    const TQVL_StorageSettings settings = TQVL_StorageSettings::Of(profile, storageUid);
    ComboBox_LearnMethod->setCurrentIndex(int(settings.Method));
    SpinEdit_Retention->setValue(settings.Retention);
    showRetention();
    if (profile.IsReadOnlySession()) {
        dxButton3->setEnabled(false);
        dxButton3->setToolTip(QStringLiteral("Das Benutzerprofil ist schreibgeschützt oder in einem anderen "
                                           "Programmfenster geöffnet."));
    }
}

TFormLongTermStorageSettings::~TFormLongTermStorageSettings() = default;

void TFormLongTermStorageSettings::SaveSettings()
{
    TQVL_StorageSettings settings;
    settings.Method = ComboBox_LearnMethod->currentIndex() == int(TQVL_LearnMethod::FSRS) ? TQVL_LearnMethod::FSRS
                                                                                         : TQVL_LearnMethod::Stages;
    settings.Retention = SpinEdit_Retention->value();
    settings.Apply(profile, storageUid, storageFile);
    accept();
}
