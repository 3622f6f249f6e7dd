#pragma once

#include <QString>

#include <memory>

class QTemporaryDir;

// Reads card texts aloud for cards without a recording: the text is
// synthesised (libespeak-ng) into a WAV file, which the caller plays through
// the sound library like any recording. The files live in a folder of the
// temporary folder that goes with this object; the same text in the same
// language is synthesised once.
class TQVL_System_Speech
{
public:
    TQVL_System_Speech();
    ~TQVL_System_Speech();
    TQVL_System_Speech(const TQVL_System_Speech&) = delete;
    TQVL_System_Speech& operator=(const TQVL_System_Speech&) = delete;

    // The synthesiser's voice for a language code of the language profiles
    // ("eng", "ger", ...; the two-letter codes work too); empty when it has none.
    static QString VoiceFor(const QString& langCode);
    // The WAV file of `text` spoken in the language `langCode`. Raises a German
    // error when the language has no voice, the text is empty or the
    // synthesiser cannot run.
    QString Synthesize(const QString& text, const QString& langCode);
    // Speaks `text` into a WAV file of its own in `targetFolder`, named after the
    // text and never over an existing file, and returns that file's name
    // (without the folder). Raises the errors of Synthesize, and a German
    // error when the file cannot be written; nothing half-written stays.
    QString RecordInto(const QString& text, const QString& langCode, const QString& targetFolder);
    // How many texts were synthesised (cache hits not counted).
    int SynthesizedCount() const { return synthesized; }

private:
    std::unique_ptr<QTemporaryDir> folder;
    int synthesized = 0;
};
