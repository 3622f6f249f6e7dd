#pragma once

#include <QString>

// A font as a language profile stores it: a family name and a size in points.
// Screens build their own font from it when the profile's font use is on.
class TQVL_Language_Font
{
public:
    QString Name = QStringLiteral("Tahoma");
    int Size = 8;
};
