#include "exchange/QVL_Import_Records.h"

#include "core/QVL_Error.h"
#include "exchange/QVL_Import_Pace.h"
#include "exchange/QVL_Import_Text.h"

#include <algorithm>

TQVL_Import_Records::TQVL_Import_Records(QStringView input, QChar separator, const QString& file,
                                         TQVL_Import_Pace* progress)
    : text(input), delimiter(separator), fileName(file), pace(progress)
{
}

bool TQVL_Import_Records::atRecordEnd() const
{
    return pos >= text.size() || text[pos] == QLatin1Char('\n') || text[pos] == QLatin1Char('\r');
}

bool TQVL_Import_Records::Next()
{
    Fields.clear();
    quoted.clear();
    if (pos >= text.size())
        return false;
    Line = line;
    const qsizetype size = text.size();
    for (;;) {
        // Blanks before an opening quote belong to the layout, not the field.
        qsizetype start = pos;
        while (start < size && text[start] == QLatin1Char(' ') && delimiter != QLatin1Char(' '))
            ++start;
        const bool kept = Fields.size() < MaxFields;
        if (start < size && text[start] == QLatin1Char('"')) {
            pos = start;
            QString field = quotedField();
            if (kept)
                Fields.push_back(quoted.emplace_back(std::move(field)));
        } else {
            start = pos;
            // Never further than one past the longest field: a line of
            // hundreds of megabytes is refused at once.
            const qsizetype stop = std::min(size, start + TQVL_Import_Text::MaxFieldLength + 1);
            while (pos < stop && text[pos] != delimiter && text[pos] != QLatin1Char('\n') &&
                   text[pos] != QLatin1Char('\r'))
                ++pos;
            if (pos - start > TQVL_Import_Text::MaxFieldLength)
                throw TQVL_Import_Text::FieldTooLong(fileName, line);
            if (kept)
                Fields.push_back(text.mid(start, pos - start));
        }
        if (pace)
            pace->At(pos);
        if (pos < size && text[pos] == delimiter) {
            ++pos;
            continue;
        }
        break;
    }
    if (pos < size && text[pos] == QLatin1Char('\r'))
        ++pos;
    if (pos < size && text[pos] == QLatin1Char('\n'))
        ++pos;
    ++line;
    return true;
}

QString TQVL_Import_Records::quotedField()
{
    const int openedOn = line;
    const qsizetype size = text.size();
    QString field;
    ++pos; // the opening quote
    for (;;) {
        if (pos >= size)
            throw TQVL_Import_Text::LineError(
                fileName, openedOn,
                QStringLiteral("Ein Anführungszeichen am Anfang eines Feldes wird nicht wieder geschlossen."));
        if (field.size() > TQVL_Import_Text::MaxFieldLength)
            throw TQVL_Import_Text::FieldTooLong(fileName, openedOn);
        const QChar c = text[pos];
        if (c == QLatin1Char('"')) {
            if (pos + 1 < size && text[pos + 1] == QLatin1Char('"')) {
                field.append(c);
                pos += 2;
                continue;
            }
            ++pos;
            break;
        }
        if (c == QLatin1Char('\r')) {
            // CRLF and a lone CR inside a field are both one line break.
            field.append(QLatin1Char('\n'));
            ++line;
            pos += pos + 1 < size && text[pos + 1] == QLatin1Char('\n') ? 2 : 1;
            continue;
        }
        if (c == QLatin1Char('\n'))
            ++line;
        field.append(c);
        ++pos;
    }
    if (field.size() > TQVL_Import_Text::MaxFieldLength)
        throw TQVL_Import_Text::FieldTooLong(fileName, openedOn);
    while (pos < size && text[pos] == QLatin1Char(' ') && delimiter != QLatin1Char(' '))
        ++pos;
    if (!atRecordEnd() && text[pos] != delimiter)
        throw TQVL_Import_Text::LineError(
            fileName, line,
            QStringLiteral("Nach einem schließenden Anführungszeichen folgt \"%1\" statt des Trennzeichens.")
                .arg(text[pos]));
    return field;
}

bool TQVL_Import_Records::IsBlank() const
{
    for (const QStringView field : Fields)
        if (!field.trimmed().isEmpty())
            return false;
    return true;
}
