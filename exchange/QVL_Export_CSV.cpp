#include "exchange/QVL_Export_CSV.h"

#include "core/QVL_Error.h"

namespace {

bool startsLikeFormula(QStringView text)
{
    if (text.isEmpty())
        return false;
    const QChar first = text.front();
    return first == u'=' || first == u'+' || first == u'-' || first == u'@';
}

// A text that needs the apostrophe: formula-like, or already starting with an
// apostrophe before a formula-like text (so that reading drops exactly one).
bool needsGuard(QStringView text)
{
    return startsLikeFormula(text) || (text.startsWith(u'\'') && startsLikeFormula(text.mid(1)));
}

} // namespace

QString TQVL_Export_CSV::Field(const QString& text, QChar delimiter)
{
    QString field = needsGuard(text) ? QLatin1Char('\'') + text : text;
    const bool quoted = field.contains(delimiter) || field.contains(u'"') || field.contains(u'\n') ||
                        field.contains(u'\r') || field.startsWith(u' ') || field.endsWith(u' ');
    if (!quoted)
        return field;
    field.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

QString TQVL_Export_CSV::WithoutFormulaGuard(const QString& text)
{
    return text.startsWith(u'\'') && needsGuard(QStringView(text).mid(1)) ? text.mid(1) : text;
}

QByteArray TQVL_Export_CSV::Write(const std::vector<TQVL_Card_Voc_Values>& cards) const
{
    if (Delimiter == u'"' || Delimiter == u'\n' || Delimiter == u'\r' || Delimiter == u'\'' || Delimiter.isNull())
        throw TQVL_Error(QStringLiteral("Das Zeichen \"%1\" kann nicht als Trennzeichen dienen.").arg(Delimiter));
    QString text;
    for (const TQVL_Card_Voc_Values& card : cards) {
        const QString* const values[TQVL_Import_CSV::fFieldCount] = {
            &card.home1,    &card.home2,    &card.home3, &card.foreign1,
            &card.foreign2, &card.foreign3, &card.note,  &card.hint,
        };
        bool first = true;
        for (int field = 0; field < TQVL_Import_CSV::fFieldCount; ++field) {
            if (!Fields[std::size_t(field)])
                continue;
            if (!first)
                text += Delimiter;
            first = false;
            text += Field(*values[field], Delimiter);
        }
        text += QLatin1String("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}
