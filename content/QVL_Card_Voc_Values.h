#pragma once

#include <QString>

class TQVL_Card_Voc;

// The inputs of the vocabulary and sound editors as one value: the editor
// copies its fields to and from it, and it copies itself to and from a card.
// The file names belong to sound cards only; a vocabulary card ignores them.
class TQVL_Card_Voc_Values
{
public:
    QString foreign1, foreign2, foreign3;
    QString home1, home2, home3;
    QString note;
    QString hint;
    QString foreign_filename;
    QString home_filename;

    static TQVL_Card_Voc_Values FromCard(const TQVL_Card_Voc& card);
    void ApplyTo(TQVL_Card_Voc& card) const;
    // Every field is empty (the file names only count when `withSoundFiles`).
    bool IsEmpty(bool withSoundFiles) const;

    bool operator==(const TQVL_Card_Voc_Values&) const = default;
};
