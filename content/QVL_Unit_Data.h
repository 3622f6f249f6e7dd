#pragma once

#include <QString>

class TQVL_Unit;

// The page "Lektionsdaten" of the unit editor as one value: the unit's name
// (its file name without folder and extension) and its two languages.
class TQVL_Unit_Data
{
public:
    QString Name;
    QString LangCodeHome;
    QString LangCodeForeign;

    static TQVL_Unit_Data FromUnit(const TQVL_Unit& unit);
    // Writes the languages into `unit`, saves it and, when the name changed,
    // renames its file in its folder (closing and opening the unit again).
    // The unit keeps its Uid, so the results filed under it stay with it.
    // Checks everything before it changes anything; when the rename fails the
    // saved languages stay.
    // Returns whether the file was renamed.
    bool ApplyTo(TQVL_Unit& unit) const;
};
