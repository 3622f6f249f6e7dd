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
    const QList<const TQVL_CardArrangement_Field*> fields = FieldColumns();
    const int columns = int(fields.size()) + (success ? 1 : 0);
    const int columnWidth = columns == 0 ? width : width / columns;
    const QFont normal = canvas.font();
    const auto centred = [&](int rowTop) { return rowTop + rowHeight / 2 - QFontMetrics(canvas.font()).height() / 2; };
    const auto family = [this](bool foreignSide) {
        const TQVL_Language* language = nullptr;
        if (core.Languages && foreignSide) {
            language = dynamic_cast<const TQVL_Language*>(&core.Languages->ActiveFile());
        } else if (core.Languages) {
            language = core.Languages->HomeLanguage.get();
        }
        return language && language->IsOpen && language->FontUse ? language->SmallFont().Name
                                                                  : QStringLiteral("Tahoma");
    };
    int rowTop = top;
    if (ShowCaptions) {
        QFont bold = normal;
        bold.setBold(true);
        canvas.setFont(bold);
        for (int column = 0; column < fields.size(); ++column)
            DrawCellText(canvas, fields[column]->Caption, left + column * columnWidth, centred(rowTop), columnWidth);
        if (success)
            DrawCellText(canvas, QStringLiteral("Erfolg:"), left + int(fields.size()) * columnWidth, centred(rowTop),
                         columnWidth);
        rowTop += rowHeight;
        canvas.setFont(normal);
        canvas.setPen(Qt::black);
        canvas.drawLine(left, rowTop, left + width, rowTop);
    }
    const TQVL_Unit& unit = Unit();
    while (index < unit.Cards->Count()) {
        const auto* card = dynamic_cast<const TQVL_Card_Grammar*>(unit.Cards->Card(index));
        for (int column = 0; card && column < fields.size(); ++column) {
            canvas.setFont(TPrintPages::PageFont(family(fields[column]->LanguageForeign), FontSize));
            DrawCellText(canvas, card->GetValue(fields[column]->Id), left + column * columnWidth, centred(rowTop),
                         columnWidth);
            canvas.setFont(normal);
        }
        if (card && success)
            DrawCellText(canvas, SuccessText(*card), left + int(fields.size()) * columnWidth, centred(rowTop),
                         columnWidth);
        rowTop += rowHeight;
        ++index;
        if (rowTop + rowHeight - top >= height)
            break;
        if (ShowGridLines && index < unit.Cards->Count()) {
            canvas.setPen(QColor(0x80, 0x80, 0x80));
            canvas.drawLine(left, rowTop, left + width, rowTop);
            canvas.setPen(Qt::black);
        }
    }
    return index;
}
