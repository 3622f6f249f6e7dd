#pragma once

#include <QString>

class TQVL_Import_Pace;

#include <deque>
#include <vector>

// Splits text into records of fields as spreadsheets write them (RFC 4180):
// fields separated by the delimiter, records by line breaks (CRLF, LF or CR);
// a field in double quotes may hold the delimiter, line breaks and doubled
// quotes. A quote inside an unquoted field is taken as it is. Raises a German
// error with the file and line for a quote that is never closed, for text
// after a closing quote and for a field longer than
// TQVL_Import_Text::MaxFieldLength (before its text is copied).
class TQVL_Import_Records
{
public:
    // Fields kept of one record; those beyond are read (a quote in them must
    // still close) but not kept. No card takes a column beyond (the wizard's
    // column numbers have three digits), and a line of nothing but delimiters
    // must not become hundreds of millions of fields.
    static constexpr std::size_t MaxFields = 1000;

    // `pace`, when given, hears of the position after every field.
    TQVL_Import_Records(QStringView text, QChar delimiter, const QString& fileName, TQVL_Import_Pace* pace = nullptr);

    // Goes on at `position`, which is on line `lineThere` (after lines the
    // caller read itself, such as a header).
    void StartAt(qsizetype position, int lineThere)
    {
        pos = position;
        line = lineThere;
    }
    // Reads the next record into Fields; false at the end of the text.
    bool Next();
    // The record is an empty line (or only blanks).
    bool IsBlank() const;

    // Views into the text, or into the unquoted copies of quoted fields; valid until the next Next().
    std::vector<QStringView> Fields;
    // The line of the file the record starts on.
    int Line = 0;
    // Characters read so far.
    qsizetype Position() const { return pos; }

private:
    QString quotedField();
    bool atRecordEnd() const;

    std::deque<QString> quoted;
    QStringView text;
    QChar delimiter;
    const QString& fileName;
    TQVL_Import_Pace* pace;
    qsizetype pos = 0;
    int line = 1;
};
