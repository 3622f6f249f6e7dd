#pragma once

#include <QByteArray>
#include <QString>

class TQVL_Error;

// Turning the bytes of a foreign text file into text, and the errors that
// name the file and the line.
namespace TQVL_Import_Text {

// Reads the whole file; raises a German error when it cannot be read or is
// larger than the importers take.
QByteArray ReadFile(const QString& fileName);
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
// The line (from 1) of position `offset` in `text`.
int LineOf(QStringView text, qsizetype offset);

} // namespace TQVL_Import_Text
