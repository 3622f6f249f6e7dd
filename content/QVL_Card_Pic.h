#pragma once

#include "content/QVL_Card.h"
#include "content/QVL_Card_Pic_Clickareas.h"

// A picture card: a picture with a question, answered by typing a text
// (answer_typ 0) or by clicking into one of the click areas (answer_typ 1).
// The members are named after their elements in the unit file.
class TQVL_Card_Pic : public TQVL_Card
{
public:
    TQVL_Card_Pic();
    ~TQVL_Card_Pic() override;

    // Sets HasExternalFile when the card names a picture file. The areas read
    // are appended to `clickareas`; an unknown area element or a point without
    // x or y raises.
    void LoadFromXML(const TQVL_XMLElement& element) override;
    // Writes the answer text only for answer_typ 0 and the areas only for 1;
    // picture_shadow only when it is off.
    void WriteXML(TQVL_XMLWriter& writer) const override;
    // Identical: equal question, answer text, picture file name and number of
    // click areas. Similar: a non-empty equal question or answer text.
    bool Matches(const TQVL_Card& other, bool identical) const override;
    std::unique_ptr<TQVL_Card> Clone() const override;

    QString question;
    quint8 answer_typ = 0;
    QString answer_text;
    // Relative to the unit's external-files folder (TQVL_Unit::ExternalFilesFolder).
    QString picture_filename;
    bool picture_shadow = true;
    std::unique_ptr<TQVL_Card_Pic_Clickareas> clickareas;

private:
    TQVL_Card_Pic(const TQVL_Card_Pic& other);
};
