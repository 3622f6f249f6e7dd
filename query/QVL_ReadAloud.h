#pragma once

#include <QString>

class TQVL_Card;
class TQVL_Unit;

// What the learner hears for one side of a card: the card's own recording
// when it has one, otherwise, when the learner reads aloud, the side's text
// spoken in the side's language. Nothing when neither applies.
struct TQVL_ReadAloud
{
    // A recording to play; wins over speech.
    QString RecordingFile;
    // A text to speak, with the language code of its side (the unit's).
    QString Text;
    QString LangCode;

    bool IsEmpty() const { return RecordingFile.isEmpty() && Text.isEmpty(); }

    // For the foreign (`foreignSide`) or home side of `card` from `unit`,
    // whose shown text is `shownText`. `recordings`: the card's recordings
    // may play; `readAloud`: the learner's read-aloud switch. A recording
    // counts when the card names one and something of that name exists (the
    // sound system refuses what is no regular file, and says so).
    static TQVL_ReadAloud For(const TQVL_Card& card, const TQVL_Unit* unit, bool foreignSide, const QString& shownText,
                              bool recordings, bool readAloud);
};
