#pragma once

#include "content/QVL_Card_Voc.h"

class TQVL_System_SoundSystem;

// A vocabulary card with a sound file for each side. The file names are kept
// as they were entered (usually full paths).
class TQVL_Card_Sound : public TQVL_Card_Voc
{
public:
    TQVL_Card_Sound() : TQVL_Card_Voc(tSound) {}

    void LoadFromXML(const TQVL_XMLElement& element) override;
    void WriteXML(TQVL_XMLWriter& writer) const override;
    std::unique_ptr<TQVL_Card> Clone() const override;

    // Play the file of one side through `soundSystem` (the core's
    // System->SoundSystem) and return its result; without a sound system
    // nothing is played and the result is 0.
    int PlayForeign(TQVL_System_SoundSystem* soundSystem) const;
    int PlayHome(TQVL_System_SoundSystem* soundSystem) const;

    QString foreign_filename;
    QString home_filename;

protected:
    TQVL_Card_Sound(const TQVL_Card_Sound&) = default;
};
