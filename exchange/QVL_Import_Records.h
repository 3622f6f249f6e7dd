#pragma once

#include <QString>

#include <deque>
#include <vector>

// Splits text into records of fields as spreadsheets write them (RFC 4180):
// fields separated by the delimiter, records by line breaks (CRLF, LF or CR);
// a field in double quotes may hold the delimiter, line breaks and doubled
// quotes. A quote inside an unquoted field is taken as it is. Raises a German
// error with the file and line for a quote that is never closed and for text
// after a closing quote.
class TQVL_Import_Records
{
public:
    TQVL_Import_Records(QStringView text, QChar delimiter, const QString& fileName);

    // Reads the next record into Fields; false at the end of the text.
    bool Next();
    // The record is an empty line (or only blanks).
    bool IsBlank() const;

    // Views into the text, or into the unquoted copies of quoted fields; valid until the next Next().
    std::vector<QStringView> Fields;
    // The line the record starts on, from 1.
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
    qsizetype pos = 0;
    int line = 1;
};
