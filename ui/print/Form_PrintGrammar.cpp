#include "ui/print/Form_PrintGrammar.h"

#include "app/QVL.h"
#include "content/QVL_CardArrangement.h"
#include "content/QVL_CardArrangement_Field.h"
#include "content/QVL_Card_Container.h"
#include "content/QVL_Card_Grammar.h"
#include "content/QVL_Language.h"
#include "content/QVL_Unit.h"
#include "ui/print/PrintPages.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QFontMetrics>
#include <QPainter>
#include <QVBoxLayout>

TFormPrintGrammar::TFormPrintGrammar(TQVL& engine, QWidget* parent) : TFormPrintCards(engine, parent)
{
    setObjectName(QStringLiteral("FormPrintGrammar"));
    Label1->setText(QStringLiteral("Grammatik drucken"));
    SettingsLayout()->addSpacing(8);
    Check_Success = new QCheckBox(QStringLiteral("Erfolg"), Group_Settings);
    Check_Success->setObjectName(QStringLiteral("Check_Success"));
    Check_Success->setChecked(true);
    SettingsLayout()->addWidget(Check_Success);
    SettingsLayout()->addStretch(1);
    RebuildOnChange(Check_Success);
    BuildPages();
}

QString TFormPrintGrammar::HelpPage() const
{
    return QStringLiteral("help_print_grammar.html");
}

void TFormPrintGrammar::ReadSettings()
{
    TFormPrintCards::ReadSettings();
    success = Check_Success->isChecked();
}

QList<const TQVL_CardArrangement_Field*> TFormPrintGrammar::FieldColumns() const
{
    QList<const TQVL_CardArrangement_Field*> fields;
    if (!core.CardArrangements || !core.CardArrangements->ActiveFile().IsOpen)
        return fields;
    const TQVL_CardArrangement& arrangement = core.CardArrangements->GetActiveArrangement();
    for (int index = 0; index < arrangement.FieldCount(); ++index) {
        const TQVL_CardArrangement_Field* field = arrangement.Field(index);
        if (field->Type == cftLabelField || field->Type == cftInputField)
            fields << field;
    }
    return fields;
}

int TFormPrintGrammar::PrintRows(QPainter& canvas, int width, int index, int rowHeight, int top, int left,
                                 int height)
{
    QList<TColumn> columns;
    for (const TQVL_CardArrangement_Field* field : FieldColumns())
        columns.append({field->Caption, LanguageFontFamily(field->LanguageForeign), [field](const TQVL_Card& card) {
                            const auto* grammar = dynamic_cast<const TQVL_Card_Grammar*>(&card);
                            return grammar ? grammar->GetValue(field->Id) : QString();
                        }});
    if (success)
        columns.append({QStringLiteral("Erfolg:"), QString(), [this](const TQVL_Card& card) {
                            return dynamic_cast<const TQVL_Card_Grammar*>(&card) ? SuccessText(card) : QString();
                        }});
    return PrintList(canvas, columns, width, index, rowHeight, top, left, height);
}
