#include "exchange/QVL_Import_CSV.h"

#include "exchange/QVL_Export_CSV.h"
#include "exchange/QVL_Import_Pace.h"
#include "exchange/QVL_Import_Records.h"
#include "exchange/QVL_Import_Text.h"

#include <algorithm>

QString TQVL_Import_CSV::DelimiterName(QChar delimiter)
{
    if (delimiter == QLatin1Char('\t'))
        return QStringLiteral("Tabulator");
    if (delimiter == QLatin1Char(' '))
        return QStringLiteral("Leerzeichen");
    return QString(delimiter);
}

TQVL_Import_Source TQVL_Import_CSV::Read(const QByteArray& bytes, const QString& fileName,
                                         const TQVL_Import_Progress& progress) const
{
    if (std::all_of(Columns.begin(), Columns.end(), [](int column) { return column <= 0; }))
        throw TQVL_Error(QStringLiteral("Bitte geben Sie mindestens eine Spalte an, aus der ein Feld der Karten "
                                        "gelesen werden soll."));
    if (Delimiter == QLatin1Char('"') || Delimiter == QLatin1Char('\n') || Delimiter == QLatin1Char('\r') ||
        Delimiter.isNull())
        throw TQVL_Error(QStringLiteral("Das Zeichen \"%1\" kann nicht als Trennzeichen dienen.").arg(Delimiter));
    TQVL_Import_Source source;
    const QString text = TQVL_Import_Text::Decode(bytes, fileName, &source.Encoding);
    TQVL_Import_Text::RefuseXml(text, fileName);
    TQVL_Import_Pace pace(progress, text.size());
    TQVL_Import_Records records(text, Delimiter, fileName, &pace);
    const int widest = *std::max_element(Columns.begin(), Columns.end());
    bool delimiterSeen = false;
    int firstLine = 0;
    while (records.Next()) {
        if (records.IsBlank())
            continue;
        if (!firstLine)
            firstLine = records.Line;
        delimiterSeen = delimiterSeen || records.Fields.size() > 1;
        std::array<QString, fFieldCount> values;
        bool any = false;
        for (int field = 0; field < fFieldCount; ++field) {
            const int column = Columns[std::size_t(field)];
            if (column > 0 && std::size_t(column) <= records.Fields.size()) {
                // The apostrophe that our export puts before a formula-like text is not the learner's.
                values[std::size_t(field)] = TQVL_Export_CSV::WithoutFormulaGuard(
                    TQVL_Import_Text::CardText(records.Fields[std::size_t(column - 1)]));
                any = any || !values[std::size_t(field)].isEmpty();
            }
        }
        if (!any)
            continue;
        TQVL_Card_Voc_Values& card = source.Cards.emplace_back();
        card.home1 = std::move(values[fHome1]);
        card.home2 = std::move(values[fHome2]);
        card.home3 = std::move(values[fHome3]);
        card.foreign1 = std::move(values[fForeign1]);
        card.foreign2 = std::move(values[fForeign2]);
        card.foreign3 = std::move(values[fForeign3]);
        card.note = std::move(values[fNote]);
        card.hint = std::move(values[fHint]);
    }
    // Every line one field although the columns name several: the file is
    // separated by another character (or is no CSV file), and every card
    // would hold a whole line in one field.
    if (firstLine && !delimiterSeen && widest > 1)
        throw TQVL_Import_Text::LineError(
            fileName, firstLine,
            QStringLiteral("Das Trennzeichen \"%1\" kommt in keiner Zeile vor. Bitte prüfen Sie das Trennzeichen "
                           "und den Dateityp.")
                .arg(DelimiterName(Delimiter)));
    pace.Finish();
    return source;
}
