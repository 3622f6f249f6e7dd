#pragma once

#include "exchange/QVL_Import_Source.h"

#include <QString>

// Reads the plain-text exports of flashcard programs: one note per line,
// "front<TAB>back", optionally preceded by header lines such as
// "#separator:tab", "#html:true" or "#deck column:3". The front becomes the
// foreign meaning, the back the home meaning; columns the header marks as
// note type, deck, tags or id are skipped. HTML is reduced to its text unless
// the header says "#html:false".
class TQVL_Import_PlainText
{
public:
    TQVL_Import_Source Read(const QByteArray& bytes, const QString& fileName,
                            const TQVL_Import_Progress& progress = {}) const;

    // The text of an HTML field: tags dropped (line breaks and blocks become
    // blanks), entities decoded, sound references removed, blanks collapsed;
    // in time linear in the field's length.
    static QString StripHtml(QStringView html);
};
