#pragma once

#include <QString>

// The content of one field of a card arrangement on a grammar card: the field
// is the arrangement's field with the same `id`.
struct TQVL_Card_Grammar_FieldValue
{
    QString value;
    qint32 id = 0;
};
