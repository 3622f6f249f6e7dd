#include "ui/play/Form_PlayGrammar.h"

#include "app/QVL.h"
#include "content/QVL_CardArrangement.h"
#include "content/QVL_Card_Grammar.h"
#include "query/QVL_Query_Card.h"
#include "query/QVL_ReadAloud.h"
#include "ui/play/ReadAloud.h"
#include "ui/query/Form_Query_Grammar.h"
#include "ui/shell/PlainText.h"
#include "ui/shell/Theme.h"

#include <QLabel>
#include <QToolButton>

#include <algorithm>

TFormPlayGrammar::TFormPlayGrammar(QWidget* parent, TQVL& qvl) : TFormPlayMeta(parent, qvl)
{
    setObjectName(QStringLiteral("FormPlayGrammar"));
    SetCaption(QStringLiteral("Karten vorspielen"));
    SetHelpPage(QStringLiteral("help_play_grammar.html"));
    Panel1 = new QWidget(Content());
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Button_ReadAloud = ReadAloud::CreateButton(Content());
    buildLabels();
}

void TFormPlayGrammar::buildLabels()
{
    arrangement = &core.CardArrangements->GetActiveArrangement();
    for (int index = 0; index < arrangement->FieldCount(); ++index) {
        const TQVL_CardArrangement_Field& field = *arrangement->Field(index);
        auto makeLabel = [&](const QString& text, bool bold, int pointSize) {
            // Captions come from the arrangement's file, values from the card.
            auto* label = AsPlainText(new QLabel(text, Panel1));
            QFont font = label->font();
            font.setBold(bold);
            if (pointSize > 0)
                font.setPointSize(pointSize);
            label->setFont(font);
            QPalette colours = label->palette();
            colours.setColor(QPalette::WindowText, Theme::EditorCaption);
            label->setPalette(colours);
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            return label;
        };
        switch (field.Type) {
        case cftLabelField: {
            QLabel* value = makeLabel(QString(), arrangement->StaticLabelBold, 0);
            value->setObjectName(QStringLiteral("Label_Field%1").arg(field.Id));
            value->setAlignment(Qt::AlignCenter);
            labels.push_back({value, field.Id, index, FieldLabel::Value});
            break;
        }
        case cftInputField: {
            QLabel* caption = makeLabel(field.Caption, false, 14);
            labels.push_back({caption, -1, index, FieldLabel::Caption});
            QLabel* value = makeLabel(QString(), false, 14);
            value->setObjectName(QStringLiteral("Label_Value%1").arg(field.Id));
            labels.push_back({value, field.Id, index, FieldLabel::InputValue});
            break;
        }
        case cftConstantLabel:
            labels.push_back(
                {makeLabel(field.Caption, arrangement->StaticLabelBold, 0), -1, index, FieldLabel::ConstantLabel});
            break;
        case cftVertSpace:
        case cftColumn:
            break;
        }
    }
}

void TFormPlayGrammar::placeField(int index, int left, int top, int width, int height)
{
    const TQVL_CardArrangement_Field& field = *arrangement->Field(index);
    const int valueLeft = left + width * field.CaptionWidthPercentage / 100;
    for (const FieldLabel& entry : labels) {
        if (entry.FieldIndex != index)
            continue;
        QLabel* label = entry.Label;
        QFont sized = label->font();
        sized.setPointSize(TFormQueryGrammar::RowFontSize(height));
        label->setFont(sized);
        // Vertically centred on the row (the middle at Top + Height div 2).
        const int textHeight = height;
        const int labelTop = top;
        switch (entry.Role) {
        case FieldLabel::Value:
            label->setGeometry(left, labelTop, width, textHeight);
            break;
        case FieldLabel::Caption:
            label->setGeometry(left, labelTop, valueLeft - left, textHeight);
            break;
        case FieldLabel::InputValue:
            label->setGeometry(valueLeft, labelTop, left + width - valueLeft, textHeight);
            break;
        case FieldLabel::ConstantLabel:
            label->setGeometry(left, labelTop, width, textHeight);
            break;
        }
    }
}

void TFormPlayGrammar::Arrange()
{
    const int w = Content()->width();
    // Below the line of the success bar, above the buttons.
    Panel1->setGeometry(0, 34, w, std::max(0, ButtonRowTop() - 34 - 6));
    Button_ReadAloud->setGeometry(w - 20 - 26 - 30, 6, 26, 26);
    if (!arrangement)
        return;
    for (const TQVL_CardArrangement_Cell& cell : arrangement->CardCells(Panel1->width(), Panel1->height()))
        placeField(cell.Index, cell.Left, cell.Top, cell.Width, cell.Height);
}

void TFormPlayGrammar::showValues(const TQVL_Query_Card& card, bool answer)
{
    const auto* grammar = dynamic_cast<const TQVL_Card_Grammar*>(card.Card);
    for (const FieldLabel& entry : labels) {
        const QString value = grammar && entry.FieldId >= 0 ? grammar->GetValue(entry.FieldId) : QString();
        if (entry.Role == FieldLabel::Value)
            entry.Label->setText(value);
        else if (entry.Role == FieldLabel::InputValue)
            entry.Label->setText(answer ? value : QString());
    }
}

void TFormPlayGrammar::OnDisplayQuestion(TQVL_Query_Card& card, int)
{
    showValues(card, false);
    readAloud(card, FieldLabel::Value);
}

void TFormPlayGrammar::OnDisplayAnswer(TQVL_Query_Card& card, int)
{
    showValues(card, true);
    Arrange();
    readAloud(card, FieldLabel::InputValue);
}

void TFormPlayGrammar::readAloud(const TQVL_Query_Card& card, FieldLabel::Kind role)
{
    // The foreign forms of the shown fields, one after the other.
    const auto* grammar = dynamic_cast<const TQVL_Card_Grammar*>(card.Card);
    if (!grammar || !arrangement)
        return;
    QStringList forms;
    for (const FieldLabel& entry : labels)
        if (entry.Role == role && arrangement->Field(entry.FieldIndex)->LanguageForeign)
            forms << grammar->GetValue(entry.FieldId).trimmed();
    forms.removeAll(QString());
    ReadAloud::Play(
        TQVL_ReadAloud::For(*card.Card, card.Unit, true, forms.join(QStringLiteral(", ")), false, ReadAloud::IsOn()),
        this);
}
