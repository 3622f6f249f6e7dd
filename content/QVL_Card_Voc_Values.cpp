#include "content/QVL_Card_Voc_Values.h"

#include "content/QVL_Card_Sound.h"

TQVL_Card_Voc_Values TQVL_Card_Voc_Values::FromCard(const TQVL_Card_Voc& card)
{
    TQVL_Card_Voc_Values values;
    values.foreign1 = card.foreign1;
    values.foreign2 = card.foreign2;
    values.foreign3 = card.foreign3;
    values.home1 = card.home1;
    values.home2 = card.home2;
    values.home3 = card.home3;
    values.note = card.note;
    values.hint = card.hint;
    if (const auto* sound = dynamic_cast<const TQVL_Card_Sound*>(&card)) {
        values.foreign_filename = sound->foreign_filename;
        values.home_filename = sound->home_filename;
    }
    return values;
}

void TQVL_Card_Voc_Values::ApplyTo(TQVL_Card_Voc& card) const
{
    card.foreign1 = foreign1;
    card.foreign2 = foreign2;
    card.foreign3 = foreign3;
    card.home1 = home1;
    card.home2 = home2;
    card.home3 = home3;
    card.note = note;
    card.hint = hint;
    if (auto* sound = dynamic_cast<TQVL_Card_Sound*>(&card)) {
        sound->foreign_filename = foreign_filename;
        sound->home_filename = home_filename;
    }
}

bool TQVL_Card_Voc_Values::IsEmpty(bool withSoundFiles) const
{
    const bool meaningsEmpty = foreign1.isEmpty() && foreign2.isEmpty() && foreign3.isEmpty() && home1.isEmpty() &&
                               home2.isEmpty() && home3.isEmpty() && note.isEmpty() && hint.isEmpty();
    return meaningsEmpty && (!withSoundFiles || (foreign_filename.isEmpty() && home_filename.isEmpty()));
}
