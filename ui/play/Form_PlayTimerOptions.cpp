#include "ui/play/Form_PlayTimerOptions.h"

#include "ui/help/HelpService.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

TFormPlayTimerOptions::TFormPlayTimerOptions(QWidget* parent) : TFormDialogMeta(parent)
{
    setObjectName(QStringLiteral("FormPlayTimerOptions"));
    setWindowTitle(QStringLiteral("Vokabeltrainer Quorvel"));
    Label1->setText(QStringLiteral("Einstellungen zum Automatischen Timer"));

    QWidget* area = Content();
    Check_TimerEnabled = new QCheckBox(QStringLiteral("Automatischer Timer aktivieren"), area);
    Check_TimerEnabled->setObjectName(QStringLiteral("Check_TimerEnabled"));
    auto row = [area](const char* labelName, const QString& caption, const char* editName, const char* unitName,
                      QLabel*& label, QLineEdit*& edit, QLabel*& unit) {
        label = new QLabel(caption, area);
        label->setObjectName(QString::fromLatin1(labelName));
        edit = new QLineEdit(area);
        edit->setObjectName(QString::fromLatin1(editName));
        edit->setMaxLength(5);
        edit->setMaximumWidth(90);
        label->setBuddy(edit);
        unit = new QLabel(QStringLiteral("1/1000 Sekunde"), area);
        unit->setObjectName(QString::fromLatin1(unitName));
    };
    row("Label_QuestionTime", QStringLiteral("Anzeigedauer Frage:"), "Edit_QuestionTime", "Label_QuestionUnit",
        Label_QuestionTime, Edit_QuestionTime, Label_QuestionUnit);
    row("Label_AnswerTime", QStringLiteral("Anzeigedauer Antwort:"), "Edit_AnswerTime", "Label_AnswerUnit",
        Label_AnswerTime, Edit_AnswerTime, Label_AnswerUnit);
    // Only digits reach the question time; Backspace and Enter work as ever.
    Edit_QuestionTime->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), Edit_QuestionTime));

    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(24, 24, 24, 24);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(12);
    grid->addWidget(Check_TimerEnabled, 0, 0, 1, 3);
    grid->addWidget(Label_QuestionTime, 1, 0);
    grid->addWidget(Edit_QuestionTime, 1, 1);
    grid->addWidget(Label_QuestionUnit, 1, 2);
    grid->addWidget(Label_AnswerTime, 2, 0);
    grid->addWidget(Edit_AnswerTime, 2, 1);
    grid->addWidget(Label_AnswerUnit, 2, 2);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(3, 1);

    dxButton1->setText(QStringLiteral("Hilfe"));
    dxButton2->setText(QStringLiteral("Abbruch"));
    dxButton3->setText(QStringLiteral("Übernehmen"));
    connect(dxButton1, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("help_play_timeroptions.html")); }); });
    connect(dxButton2, &QPushButton::clicked, this, &QDialog::reject);
    connect(dxButton3, &QPushButton::clicked, this, [this] { Guarded([this] { Apply(); }); });
    connect(Edit_QuestionTime, &QLineEdit::returnPressed, this, [this] { Guarded([this] { Apply(); }); });
    connect(Edit_AnswerTime, &QLineEdit::returnPressed, this, [this] { Guarded([this] { Apply(); }); });
}

TFormPlayTimerOptions::~TFormPlayTimerOptions() = default;

void TFormPlayTimerOptions::SetValues(const TQVL_Query_PlayTimer& given)
{
    values = given;
    accepted = false;
    Check_TimerEnabled->setChecked(values.TimerEnabled);
    Edit_QuestionTime->setText(QString::number(values.QuestionTime));
    Edit_AnswerTime->setText(QString::number(values.AnswerTime));
    for (QWidget* part : {static_cast<QWidget*>(Label_QuestionTime), static_cast<QWidget*>(Edit_QuestionTime),
                          static_cast<QWidget*>(Label_QuestionUnit)})
        part->setVisible(!values.HideQuestionTime);
    for (QWidget* part : {static_cast<QWidget*>(Label_AnswerTime), static_cast<QWidget*>(Edit_AnswerTime),
                          static_cast<QWidget*>(Label_AnswerUnit)})
        part->setVisible(!values.HideAnswerTime);
    (values.HideQuestionTime ? Edit_AnswerTime : Edit_QuestionTime)->setFocus(Qt::OtherFocusReason);
}

void TFormPlayTimerOptions::Apply()
{
    const QString error = TQVL_Query_PlayTimer::Check(Edit_QuestionTime->text(), Edit_AnswerTime->text(),
                                                      values.HideQuestionTime, values.HideAnswerTime);
    if (!error.isEmpty()) {
        TDialogService::Current().ShowError(error);
        return;
    }
    values.TimerEnabled = Check_TimerEnabled->isChecked();
    if (!values.HideQuestionTime)
        values.QuestionTime = quint16(Edit_QuestionTime->text().trimmed().toInt());
    if (!values.HideAnswerTime)
        values.AnswerTime = quint16(Edit_AnswerTime->text().trimmed().toInt());
    accepted = true;
    accept();
}
