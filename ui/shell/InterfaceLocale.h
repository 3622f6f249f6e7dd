#pragma once

#include <QLocale>

// The interface is German whatever the machine's locale: numbers ("9,00"),
// dates and the month names of Qt's own dialogs. Files never go through it;
// they write and read their own fixed formats.
inline QLocale InterfaceLocale()
{
    return QLocale(QLocale::German, QLocale::Germany);
}
