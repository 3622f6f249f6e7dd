#pragma once

#include "content/QVL_Card_Voc_Values.h"

#include <QByteArray>
#include <QString>

#include <vector>

// Writes vocabulary cards as a package that desktop and phone flashcard
// programs import (".apkg"): a zip with the collection database and an empty
// media map. One deck named after the lesson, one note per card with the
// foreign side in front and the home side behind (meanings joined by "; ",
// note and hint below), a card for each direction.
class TQVL_Export_Anki
{
public:
    QString DeckName;
    // Seconds since 1970 for the collection's dates; fixed in tests.
    qint64 Now = 0;

    // Raises a German error when the database or the zip cannot be made.
    QByteArray Write(const std::vector<TQVL_Card_Voc_Values>& cards) const;

    // A card's text as a field of the package: HTML with line breaks as "<br>".
    static QString FieldText(const QString& text);
};
