#include "ui/edit/Form_EditGrammar.h"

#include "app/QVL.h"
#include "content/QVL_Card_Grammar.h"
#include "ui/shell/ForeignInput.h"
#include "ui/shell/PlainText.h"
#include "ui/shell/Theme.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// Names and captions from the arrangement's file.
QLabel* arrangementLabel(const QString& text, QWidget* parent, bool bold)
{
    auto* label = AsPlainText(new QLabel(text, parent));
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, Theme::EditorCaption);
    label->setPalette(colours);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

} // namespace

TFormEditGrammar::TFormEditGrammar(TQVL& core, QWidget* parent) : TFormEdit(core, parent)
{
    setObjectName(QStringLiteral("FormEditGrammar"));
    SetCaption(QStringLiteral("Grammatik-Karten hinzufügen"));
    SetSubCaption(QStringLiteral("Füllen Sie die Felder der Karte aus. Mit \"Übernehmen & Nächste\" speichern Sie die "
                                 "Karte und legen die nächste an."));
    createInputs();
}

TFormEditGrammar::~TFormEditGrammar() = default;

int TFormEditGrammar::CardKind() const
{
    return tGrammar;
}

QString TFormEditGrammar::HelpPage() const
{
    // The editor has its own page; the query page would explain the wrong screen.
    return QStringLiteral("help_edit_grammar.html");
}

// Fields before the first column break span the whole width above the
// columns; every column starts where the first one started.
void TFormEditGrammar::createInputs()
{
    const TQVL_CardArrangement& arrangement = Core.CardArrangements->GetActiveArrangement();
    QWidget* area = Editor();
    Label_Arrangement = arrangementLabel(QStringLiteral("Vorlage: %1").arg(arrangement.Name), area, true);
    Label_Arrangement->setObjectName(QStringLiteral("Label_Arrangement"));

    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(24, 4, 24, 4);
    layout->setSpacing(8);
    layout->addWidget(Label_Arrangement);
    auto* columns = new QHBoxLayout;
    columns->setSpacing(24);
    const auto newGrid = [] {
        auto* grid = new QGridLayout;
        grid->setHorizontalSpacing(8);
        grid->setVerticalSpacing(6);
        grid->setColumnStretch(1, 1);
        return grid;
    };
    QGridLayout* grid = newGrid();
    layout->addLayout(grid);
    layout->addLayout(columns);
    layout->addStretch(1);
    const TQVL_Language* foreign = ForeignLanguage();
    const TQVL_Language* home = HomeLanguage();
    for (int i = 0; i < arrangement.FieldCount(); ++i) {
        const TQVL_CardArrangement_Field& field = *arrangement.Field(i);
        const int row = grid->rowCount();
        switch (field.Type) {
        case cftLabelField:
        case cftInputField: {
            grid->addWidget(arrangementLabel(field.Caption, area, false), row, 0);
            auto* input = new QLineEdit(area);
            input->setObjectName(QStringLiteral("Edit_Field%1").arg(i));
            input->setMaximumWidth(InputMaxWidth);
            input->setToolTip(PlainToolTip(field.Caption));
            if (field.LanguageForeign)
                MarkForeignInput(input);
            ApplyProfileFont(input, field.LanguageForeign ? foreign : home);
            grid->addWidget(input, row, 1);
            inputs.push_back({field.Id, input});
            break;
        }
        case cftConstantLabel:
            grid->addWidget(arrangementLabel(field.Caption, area, arrangement.StaticLabelBold), row, 0, 1, 2);
            break;
        case cftVertSpace:
            grid->setRowMinimumHeight(row, 12);
            break;
        case cftColumn:
            grid->setRowStretch(grid->rowCount(), 1);
            grid = newGrid();
            columns->addLayout(grid, 1);
            break;
        }
    }
    grid->setRowStretch(grid->rowCount(), 1);
    for (std::size_t i = 1; i < inputs.size(); ++i)
        setTabOrder(inputs[i - 1].Input, inputs[i].Input);
}

QMap<qint32, QString> TFormEditGrammar::Values() const
{
    QMap<qint32, QString> values;
    for (const BoundInput& bound : inputs)
        values.insert(bound.Id, bound.Input->text());
    return values;
}

void TFormEditGrammar::ShowCard(int index)
{
    TFormEdit::ShowCard(index);
    const auto* card = dynamic_cast<const TQVL_Card_Grammar*>(CurrentCard());
    for (const BoundInput& bound : inputs) {
        bound.Input->setText(card ? card->GetValue(bound.Id) : QString());
        bound.Input->setEnabled(card != nullptr);
    }
    if (isVisible() && !inputs.empty())
        inputs.front().Input->setFocus();
}

void TFormEditGrammar::WriteCard(TQVL_Card& card)
{
    auto* grammar = dynamic_cast<TQVL_Card_Grammar*>(&card);
    if (!grammar)
        return;
    for (const BoundInput& bound : inputs) {
        if (grammar->GetValue(bound.Id) == bound.Input->text())
            continue;
        grammar->SetValue(bound.Id, bound.Input->text());
        MarkModified();
    }
}

bool TFormEditGrammar::IsCardEmpty() const
{
    const auto* card = dynamic_cast<const TQVL_Card_Grammar*>(CurrentCard());
    if (!card)
        return false;
    for (const BoundInput& bound : inputs)
        if (!bound.Input->text().isEmpty())
            return false;
    // Values of fields the arrangement does not show are never thrown away.
    for (int i = 0; i < card->FieldValueCount(); ++i)
        if (!card->FieldValue(i)->value.isEmpty())
            return false;
    return true;
}
