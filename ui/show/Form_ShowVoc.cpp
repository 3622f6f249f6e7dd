#include "ui/show/Form_ShowVoc.h"

#include "content/QVL_Card_Voc.h"
#include "content/QVL_Language.h"
#include "content/QVL_Unit.h"

TFormShowVoc::TFormShowVoc(QWidget* parent, TQVL& core) : TFormShowMeta(parent, core)
{
    setObjectName(QStringLiteral("FormShowVoc"));
    SetCaption(QStringLiteral("Vokabeln anzeigen"));
}

std::vector<TModelShowCards::TColumn> TFormShowVoc::BuildColumns()
{
    using Kind = TModelShowCards::TKind;
    const TQVL_Language* foreign = ForeignLanguage();
    const TQVL_Language* home = HomeLanguage();
    const QString foreignName =
        foreign && !foreign->Adjective.isEmpty() ? foreign->Adjective : QStringLiteral("Fremdsprache");
    const QString homeName = home && !home->Adjective.isEmpty() ? home->Adjective : QStringLiteral("Deutsch");
    const std::optional<QFont> foreignFont = ProfileFont(foreign);
    const std::optional<QFont> homeFont = ProfileFont(home);

    std::vector<TModelShowCards::TColumn> columns;
    columns.push_back({QString(), Kind::Light, 21, std::nullopt});
    for (int i = 1; i <= 3; ++i)
        columns.push_back({foreignName + QStringLiteral(" %1").arg(i), Kind::Text, 60, foreignFont});
    for (int i = 1; i <= 3; ++i)
        columns.push_back({homeName + QStringLiteral(" %1").arg(i), Kind::Text, 60, homeFont});
    columns.push_back({QStringLiteral("Tip"), Kind::Text, 50, std::nullopt});
    columns.push_back({QStringLiteral("Anmerkung"), Kind::Text, 70, std::nullopt});
    columns.push_back({QStringLiteral("Abgefragt"), Kind::Queried, 40, std::nullopt});
    columns.push_back({QStringLiteral("Erfolg"), Kind::Right, 40, std::nullopt});
    columns.push_back({QStringLiteral("Punktwert"), Kind::PointValue, 40, std::nullopt});
    if (Unit().IsOpen && Unit().Typ == tLongTermStorage) {
        columns.push_back({QStringLiteral("Stufe"), Kind::Stage, 40, std::nullopt});
        columns.push_back({QStringLiteral("Fällig am"), Kind::DueDate, 70, std::nullopt});
    }
    return columns;
}

TModelShowCards::TRow TFormShowVoc::BuildRow(const TQVL_Card& card)
{
    TModelShowCards::TRow row;
    row.Texts.resize(ColumnCount);
    if (const auto* voc = dynamic_cast<const TQVL_Card_Voc*>(&card)) {
        row.Texts[colForeign1] = voc->foreign1;
        row.Texts[colForeign2] = voc->foreign2;
        row.Texts[colForeign3] = voc->foreign3;
        row.Texts[colHome1] = voc->home1;
        row.Texts[colHome2] = voc->home2;
        row.Texts[colHome3] = voc->home3;
        row.Texts[colHint] = voc->hint;
        row.Texts[colNote] = voc->note;
    }
    return row;
}
