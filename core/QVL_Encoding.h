#pragma once

#include <QByteArray>
#include <QString>

// Text decoding for what we read from files. Files of older versions or edited
// by hand may hold single Windows-1252 bytes inside UTF-8 text; turning them
// into replacement characters would lose the letters for good at the next
// save, so such bytes are read as Windows-1252 instead.
namespace TQVL_Encoding {

bool IsValidUtf8(const char* data, qsizetype size);
// Decodes UTF-8 as it stands. QString::fromUtf8 drops a leading U+FEFF as a
// byte order mark; inside a file it is a character of the text and stays.
QString FromUtf8(const char* data, qsizetype size);
// `data` as UTF-8: valid sequences stay, every other byte becomes the UTF-8 of
// its Windows-1252 character. Lossless: nothing becomes U+FFFD.
QByteArray RepairUtf8(const char* data, qsizetype size);
// Decodes UTF-8, reading bytes that are not valid UTF-8 as Windows-1252.
QString DecodeUtf8(const char* data, qsizetype size);
// Decodes every byte as its Windows-1252 character.
QString DecodeWindows1252(const char* data, qsizetype size);

} // namespace TQVL_Encoding
