#pragma once

#include <QString>
#include <QtGlobal>

class TQVL_XMLTag;

// What a field of a card arrangement shows. The numbers are the stored order;
// the file names each type by its text (TypeName).
enum TQVL_CardArrangement_FieldType : quint8
{
    cftLabelField = 0,    // the card's value for the field id
    cftInputField = 1,    // caption plus the value; typed and checked in a query
    cftConstantLabel = 2, // the caption only
    cftVertSpace = 3,     // empty space of half a row
    cftColumn = 4,        // starts a new column
};

// One entry of a card arrangement's field list. `Id` ties it to the grammar
// card value with the same id.
class TQVL_CardArrangement_Field
{
public:
    // Every child is optional and leaves its field as it is; a child of the
    // one-byte fields keeps only the lowest eight bits of its number. A value
    // that is not a number raises a conversion error.
    void LoadFromXML(const TQVL_XMLTag& tag);
    void SaveToXML(TQVL_XMLTag& tag) const;

    // The name a type is stored under ("labelfield" ...).
    static QString TypeName(TQVL_CardArrangement_FieldType type);
    // The type a stored name stands for; an unknown name is a label field.
    static TQVL_CardArrangement_FieldType TypeOfName(const QString& name);

    qint32 Id = 0;
    TQVL_CardArrangement_FieldType Type = cftLabelField;
    QString Caption;
    bool QueryVisible = false;
    // For input fields: the share of the cell, in percent, taken by the caption.
    quint8 CaptionWidthPercentage = 50;
    // The text is in the foreign language (its font follows the foreign profile).
    bool LanguageForeign = false;
};
