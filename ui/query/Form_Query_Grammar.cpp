#include "ui/query/Form_Query_Grammar.h"

#include "content/QVL_CardArrangement.h"
#include "content/QVL_Card_Grammar.h"
#include "app/QVL.h"
#include "query/QVL_Card_Return_Grammar.h"
#include "query/QVL_Query.h"
#include "query/QVL_Query_Card.h"
#include "ui/shell/ForeignInput.h"
#include "ui/query/Form_QueryResultPic.h"
#include "ui/shell/Theme.h"
#include "ui/shell/PlainText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

int TFormQueryGrammar::RowFontSize(int rowHeight)
{
    if (rowHeight <= 23)
        return 8;
    if (rowHeight > 35)
        return 12;
    return 10;
}

TFormQueryGrammar::TFormQueryGrammar(QWidget* parent, TQVL& qvl) : TFormQueryMeta(parent, qvl)
{
    setObjectName(QStringLiteral("FormQueryGrammar"));
    SetHelpPage(QStringLiteral("help_query_grammar.html"));
    Panel1 = new QWidget(Content());
    Panel1->setObjectName(QStringLiteral("Panel1"));
    buildControls();
}

void TFormQueryGrammar::buildControls()
{
    arrangement = &core.CardArrangements->GetActiveArrangement();
    const TQVL_Language* foreign = ForeignLanguage();
    const TQVL_Language* home = HomeLanguage();
    for (int index = 0; index < arrangement->FieldCount(); ++index) {
        const TQVL_CardArrangement_Field& field = *arrangement->Field(index);
        const QFont fieldFont = ProfileSmallFont(field.LanguageForeign ? foreign : home, font());
        auto makeLabel = [&](const QString& text, bool bold) {
            // Captions come from the arrangement's file, values from the card.
            auto* label = AsPlainText(new QLabel(text, Panel1));
            label->setAttribute(Qt::WA_TranslucentBackground);
            QFont labelFont = fieldFont;
            labelFont.setBold(bold);
            label->setFont(labelFont);
            QPalette colours = label->palette();
            colours.setColor(QPalette::WindowText, Theme::EditorCaption);
            label->setPalette(colours);
            return label;
        };
        switch (field.Type) {
        case cftLabelField: {
            QLabel* label = makeLabel(QString(), arrangement->StaticLabelBold);
            label->setObjectName(QStringLiteral("Label_Field%1").arg(field.Id));
            label->setAlignment(Qt::AlignCenter);
            controls.push_back({label, field.Id, index, FieldControl::ValueLabel});
            break;
        }
        case cftInputField: {
            QLabel* caption = makeLabel(field.Caption, false);
            QFont captionFont = caption->font();
            captionFont.setPointSize(Theme::GrammarCaptionPointSize);
            caption->setFont(captionFont);
            caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            controls.push_back({caption, -1, index, FieldControl::Caption});
            auto* edit = new QLineEdit(Panel1);
            edit->setObjectName(QStringLiteral("Edit_Field%1").arg(field.Id));
            // The caption stands beside the field without a layout; tell a screen reader what it belongs to.
            caption->setBuddy(edit);
            if (caption->text().trimmed().isEmpty())
                edit->setAccessibleName(QStringLiteral("Antwort"));
            edit->setFont(fieldFont);
            // The right values stand in the disabled fields with the answer: keep them readable.
            QPalette readable = edit->palette();
            readable.setColor(QPalette::Disabled, QPalette::Text, Theme::Ink);
            edit->setPalette(readable);
            // Fields of the foreign language get its typing replacement.
            if (field.LanguageForeign)
                MarkForeignInput(edit);
            connect(edit, &QLineEdit::returnPressed, this, [this] { ResultClicked(); });
            controls.push_back({edit, field.Id, index, FieldControl::Answer});
            break;
        }
        case cftConstantLabel: {
            QLabel* label = makeLabel(field.Caption, arrangement->StaticLabelBold);
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            controls.push_back({label, -1, index, FieldControl::ConstantLabel});
            break;
        }
        case cftVertSpace:
        case cftColumn:
            break;
        }
    }
}

std::vector<QLineEdit*> TFormQueryGrammar::AnswerFields() const
{
    std::vector<QLineEdit*> fields;
    for (const FieldControl& control : controls)
        if (control.Role == FieldControl::Answer)
            fields.push_back(static_cast<QLineEdit*>(control.Control));
    return fields;
}

void TFormQueryGrammar::placeField(int index, int left, int top, int width, int height)
{
    const TQVL_CardArrangement_Field& field = *arrangement->Field(index);
    const int captionWidth = width * field.CaptionWidthPercentage / 100;
    for (const FieldControl& control : controls) {
        if (control.FieldIndex != index)
            continue;
        QFont sized = control.Control->font();
        sized.setPointSize(RowFontSize(height));
        control.Control->setFont(sized);
        switch (control.Role) {
        case FieldControl::ValueLabel:
        case FieldControl::ConstantLabel:
            control.Control->setGeometry(left, top, width, height);
            break;
        case FieldControl::Caption:
            control.Control->setGeometry(left, top, captionWidth, height);
            break;
        case FieldControl::Answer: {
            // As wide as the cell allows, as high as its text needs.
            const int fieldHeight = std::min(height, control.Control->sizeHint().height());
            control.Control->setGeometry(left + captionWidth, top + (height - fieldHeight) / 2, width - captionWidth,
                                         fieldHeight);
            break;
        }
        }
    }
}

void TFormQueryGrammar::LayoutControls()
{
    const int w = Content()->width();
    const int h = Content()->height();
    // Below the progress line, above the strip the answer window takes.
    Panel1->setGeometry(0, 34, w, std::max(0, h - 34 - 70));
    if (!arrangement)
        return;
    for (const TQVL_CardArrangement_Cell& cell : arrangement->CardCells(Panel1->width(), Panel1->height()))
        placeField(cell.Index, cell.Left, cell.Top, cell.Width, cell.Height);
}

void TFormQueryGrammar::showValues(const TQVL_Query_Card& card, bool answers)
{
    const auto* grammar = dynamic_cast<const TQVL_Card_Grammar*>(card.Card);
    for (const FieldControl& control : controls) {
        const QString value = grammar && control.FieldId >= 0 ? grammar->GetValue(control.FieldId) : QString();
        if (control.Role == FieldControl::ValueLabel) {
            static_cast<QLabel*>(control.Control)->setText(value);
        } else if (control.Role == FieldControl::Answer) {
            auto* edit = static_cast<QLineEdit*>(control.Control);
            edit->setText(answers ? value : QString());
            edit->setEnabled(!answers);
        }
    }
}

void TFormQueryGrammar::DisplayQuestion(TQVL_Query_Card& card, int direction)
{
    TFormQueryMeta::DisplayQuestion(card, direction);
    showValues(card, false);
    const std::vector<QLineEdit*> fields = AnswerFields();
    if (!fields.empty())
        fields.front()->setFocus(Qt::OtherFocusReason);
}

std::unique_ptr<TQVL_Card_Return> TFormQueryGrammar::GetUserInput(TQVL_Query_Card& card)
{
    TFormQueryMeta::GetUserInput(card);
    std::unique_ptr<TQVL_Card_Return> answer = CreateReturn(*card.Card, arrangement);
    if (auto* values = dynamic_cast<TQVL_Card_Return_Grammar*>(answer.get())) {
        for (const FieldControl& control : controls)
            if (control.Role == FieldControl::Answer)
                values->Add(static_cast<QLineEdit*>(control.Control)->text(), control.FieldId);
    }
    return answer;
}

void TFormQueryGrammar::DisplayAnswer(const TQVL_Query_AnswerShown& shown)
{
    TFormQueryMeta::DisplayAnswer(shown);
    showValues(shown.Card, true);
}

TFormQueryResultMeta* TFormQueryGrammar::CreateResultWindow(QWidget* parent)
{
    return new TFormQueryResultPic(Query(), parent);
}

void TFormQueryGrammar::PlaceResultWindow()
{
    if (TFormQueryResultMeta* result = ResultWindow()) {
        const QWidget* area = Content();
        // At the bottom, but above the window's own buttons, which it must not cover.
        const int bottom = std::min(area->height(), Button_Abort->y());
        result->move((area->width() - result->width()) / 2, std::max(0, bottom - result->height() - 4));
    }
}
