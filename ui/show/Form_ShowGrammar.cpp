#include "ui/show/Form_ShowGrammar.h"

#include "app/QVL.h"
#include "content/QVL_CardArrangement.h"
#include "content/QVL_Card_Grammar.h"

TFormShowGrammar::TFormShowGrammar(QWidget* parent, TQVL& core) : TFormShowMeta(parent, core)
{
    setObjectName(QStringLiteral("FormShowGrammar"));
    SetCaption(QStringLiteral("Karten anzeigen"));
}

std::vector<TModelShowCards::TColumn> TFormShowGrammar::BuildColumns()
{
    using Kind = TModelShowCards::TKind;
    std::vector<TModelShowCards::TColumn> columns;
    columnFields.clear();
    columns.push_back({QString(), Kind::Light, 21, std::nullopt});
    columnFields.push_back(0);
    const TQVL_CardArrangement& arrangement = Core.CardArrangements->GetActiveArrangement();
    if (arrangement.IsOpen) {
        const std::optional<QFont> foreignFont = ProfileFont(ForeignLanguage());
        const std::optional<QFont> homeFont = ProfileFont(HomeLanguage());
        for (int i = 0; i < arrangement.FieldCount(); ++i) {
            const TQVL_CardArrangement_Field& field = *arrangement.Field(i);
            if (field.Type != cftLabelField && field.Type != cftInputField)
                continue;
            columns.push_back({field.Caption, Kind::Text, 100, field.LanguageForeign ? foreignFont : homeFont});
            columnFields.push_back(field.Id);
        }
    }
    for (const auto& [caption, kind] : {std::pair{QStringLiteral("Abgefragt"), Kind::Queried},
                                       std::pair{QStringLiteral("Erfolg"), Kind::Right},
                                       std::pair{QStringLiteral("Punktwert"), Kind::PointValue}}) {
        columns.push_back({caption, kind, 100, std::nullopt});
        columnFields.push_back(0);
    }
    return columns;
}

TModelShowCards::TRow TFormShowGrammar::BuildRow(const TQVL_Card& card)
{
    TModelShowCards::TRow row;
    row.Texts.resize(columnFields.size());
    const auto* grammar = dynamic_cast<const TQVL_Card_Grammar*>(&card);
    if (!grammar)
        return row;
    // Only the field columns carry an id; the light and count columns stay empty.
    for (std::size_t column = 1; column + 3 < columnFields.size(); ++column)
        row.Texts[column] = grammar->GetValue(columnFields[column]);
    return row;
}
