#pragma once

#include <QString>

#include <atomic>
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

    // A card side is a word or a sentence; a thousand characters are more than
    // a minute of speech. Whole imported pages took over a minute and
    // gigabytes to synthesise, so only the start of a longer text is spoken.
    static constexpr qsizetype MaxSpokenLength = 1000;
    // The part of `text` that is spoken: trimmed and, when longer than
    // MaxSpokenLength, cut at the last blank within it (a single longer word
    // at the limit).
    static QString SpokenPart(const QString& text);

    // A WAV file states its sizes in 32 bits: the samples may fill at most this
    // many bytes (the RIFF size adds 36 to it), in whole 16-bit samples.
    static constexpr qint64 WavDataLimit = (qint64(0xFFFFFFFFu) - 36) & ~qint64(1);
    // The limit in force; tests lower it.
    qint64 MaxWavDataBytes = WavDataLimit;

    // The synthesiser's voice for a language code of the language profiles
    // ("eng", "ger", ...; the two-letter codes work too); empty when it has none.
    static QString VoiceFor(const QString& langCode);
    // The WAV file of SpokenPart(`text`) spoken in the language `langCode`.
    // Raises a German error when the language has no voice, the text is empty,
    // the synthesiser cannot run, the speech would not fit a WAV file, or
    // `cancel` was set (then nothing is written). May run on any thread; the
    // synthesiser serves one text at a time.
    QString Synthesize(const QString& text, const QString& langCode, const std::atomic<bool>* cancel = nullptr);
    // Speaks `text` into a WAV file of its own in `targetFolder`, named after the
    // text and never over an existing file, and returns that file's name
    // (without the folder). Raises the errors of Synthesize, and a German
    // error when the file cannot be written; nothing half-written stays.
    QString RecordInto(const QString& text, const QString& langCode, const QString& targetFolder,
                       const std::atomic<bool>* cancel = nullptr);
    // How many texts were synthesised (cache hits not counted).
    int SynthesizedCount() const { return synthesized; }

private:
    std::unique_ptr<QTemporaryDir> folder;
    std::atomic<int> synthesized = 0;
};
