#pragma once

#include "content/QVL_Card.h"

// A vocabulary card: up to three meanings in the foreign and three in the home
// language, a hint for the learner and a note. The members are named after
// their elements in the unit file.
class TQVL_Card_Voc : public TQVL_Card
{
public:
    TQVL_Card_Voc() : TQVL_Card(tVoc) {}

    void LoadFromXML(const TQVL_XMLElement& element) override;
    void WriteXML(TQVL_XMLWriter& writer) const override;
    // Identical: all six meanings equal (hint, note and sound files are not
    // compared). Similar: one of the six is non-empty and equal to the same
    // meaning of `other`.
    bool Matches(const TQVL_Card& other, bool identical) const override;
    std::unique_ptr<TQVL_Card> Clone() const override;

    // The non-empty foreign meanings in order, joined by ", ".
    QString ForeignText() const;
    // The non-empty home meanings in order, joined by ", ".
    QString HomeText() const;

    QString foreign1;
    QString foreign2;
    QString foreign3;
    QString home1;
    QString home2;
    QString home3;
    QString hint;
    QString note;

protected:
    explicit TQVL_Card_Voc(TQVL_CardType cardType) : TQVL_Card(cardType) {}
    TQVL_Card_Voc(const TQVL_Card_Voc&) = default;

    // The element names of the vocabulary part, in file order, and their
    // reading and writing; sound cards put theirs in front.
    enum VocElement : int
    {
        vocUid,
        vocForeign1,
        vocForeign2,
        vocForeign3,
        vocHome1,
        vocHome2,
        vocHome3,
        vocHint,
        vocNote,
        vocNameCount
    };
    static const QLatin1String vocNames[vocNameCount];
    void readVoc(const TQVL_XMLElement* found);
    void writeVoc(TQVL_XMLWriter& writer) const;
};
