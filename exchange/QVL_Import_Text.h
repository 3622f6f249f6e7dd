#pragma once

#include "exchange/QVL_Import_Source.h"

#include <QByteArray>
#include <QString>

// Turning the bytes of a foreign text file into text, and the errors that
// name the file and the line.
namespace TQVL_Import_Text {

// The longest field (in UTF-16 units) a card takes from a file. A card side
// is a word or a few sentences; a line of hundreds of megabytes is a wrongly
// chosen file or delimiter, and is refused before its text is built, instead
// of filling the memory several times over.
constexpr qsizetype MaxFieldLength = 64 * 1024;

// Reads the whole file, reporting the bytes read to `progress`; raises a
// German error naming the file when it is missing, not a regular file (a
// folder, a FIFO or a device, which could block or never end), cannot be
// read or is larger than the importers take; TQVL_Import_Cancelled when
// `progress` says so.
QByteArray ReadFile(const QString& fileName, const TQVL_Import_Progress& progress = {});
// UTF-16 with a byte order mark, UTF-8 with or without one, and Windows-1252
// when the bytes are not valid UTF-8 (spreadsheets on older systems write
// that). `encoding` receives the name of what was used. A file holding zero
// bytes outside UTF-16 is not a text file and raises an error with its line.
QString Decode(const QByteArray& bytes, const QString& fileName, QString* encoding = nullptr);
// Refuses text that is an XML document: a KVTML file chosen as CSV or
// plain text would otherwise give a card per line of markup.
void RefuseXml(QStringView text, const QString& fileName);
// A field's text as a card can hold it: characters that an XML file cannot
// carry (control characters other than tab and line feed, lone surrogates,
// U+FFFE and U+FFFF, stray byte order marks) removed, blanks around it
// dropped.
QString CardText(QStringView field);
// "Die Datei "…" kann nicht importiert werden." and "Zeile n: …" below it.
TQVL_Error LineError(const QString& fileName, int line, const QString& text);
// The LineError for a field longer than MaxFieldLength on `line`.
TQVL_Error FieldTooLong(const QString& fileName, int line);
// The line (from 1) of position `offset` in `text`.
int LineOf(QStringView text, qsizetype offset);

} // namespace TQVL_Import_Text
