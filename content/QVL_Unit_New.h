#pragma once

#include "content/QVL_Card_Type.h"

#include <QString>

// What the learner chose for a new unit: its name (which becomes the file
// name), its kind and languages, the card arrangement of a grammar unit and,
// for a picture unit, whether its pictures get a folder of their own.
class TQVL_Unit_New
{
public:
    QString Name;
    TQVL_CardType Typ = tVoc;
    QString LangCodeHome;
    QString LangCodeForeign;
    QString ArrangementId;
    bool OwnPictureFolder = false;

    // The name as a file name without extension: blanks around it dropped and
    // a typed ".qxu" removed. Raises a German message when nothing is left or
    // the name cannot be a file name.
    static QString CheckedName(const QString& name);
    // The path the unit file gets in `folder`.
    QString FilePath(const QString& folder) const;
    // Raises the German message of the first choice that does not fit,
    // including a name that is taken in `folder`.
    void Validate(const QString& folder) const;
    // Validates, then writes the new unit file into `folder` (and its picture
    // folder) and returns its path. Never replaces an existing file.
    QString Create(const QString& folder) const;
};
