// Reading aloud: card texts synthesised into WAV files that the real sound
// library plays audibly (SDL's disk driver writes the samples into a file).
#include "core/QVL_Error.h"
#include "core/QVL_System.h"
#include "core/QVL_System_SoundSystem.h"
#include "core/QVL_System_Speech.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>

namespace {

int peakOf(const QByteArray& bytes, qsizetype from)
{
    int peak = 0;
    for (qsizetype i = from & ~qsizetype(1); i + 1 < bytes.size(); i += 2)
        peak = std::max(peak, std::abs(int(qFromLittleEndian<qint16>(bytes.constData() + i))));
    return peak;
}

} // namespace

TEST(Speech, VoicesFollowTheLanguageCodesOfTheProfiles)
{
    const struct
    {
        const char* code;
        const char* voice;
    } cases[] = {{"eng", "en"}, {"ger", "de"}, {"fre", "fr"}, {"SPA", "es"}, {" swe ", "sv"},
                 {"de", "de"},  {"fao", ""},   {"", ""},      {"xyz", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(TQVL_System_Speech::VoiceFor(QString::fromLatin1(c.code)), QString::fromLatin1(c.voice)) << c.code;
}

TEST(Speech, ATextBecomesAWaveFileOnceAndBadRequestsAreRefusedInGerman)
{
    TQVL_System_Speech speech;
    const QString file = speech.Synthesize(QStringLiteral("Guten Morgen, schöne Grüße"), QStringLiteral("ger"));
    const QByteArray wav = ReadFile(file);
    ASSERT_GT(wav.size(), 44 + 2000) << "a second of speech at least";
    EXPECT_TRUE(wav.startsWith("RIFF"));
    EXPECT_EQ(wav.mid(8, 8), QByteArray("WAVEfmt "));
    EXPECT_EQ(qFromLittleEndian<quint32>(wav.constData() + 40), quint32(wav.size() - 44));
    EXPECT_GT(peakOf(wav, 44), 3000);

    EXPECT_EQ(speech.Synthesize(QStringLiteral("Guten Morgen, schöne Grüße"), QStringLiteral("ger")), file);
    EXPECT_EQ(speech.SynthesizedCount(), 1) << "the same text is not synthesised again";
    EXPECT_NE(speech.Synthesize(QStringLiteral("Guten Morgen, schöne Grüße"), QStringLiteral("eng")), file);

    EXPECT_EQ(ErrorOf([&] { speech.Synthesize(QStringLiteral("Hej"), QStringLiteral("fao")); }),
              QStringLiteral("Für die Sprache \"fao\" gibt es keine Sprachausgabe."));
    EXPECT_EQ(ErrorOf([&] { speech.Synthesize(QStringLiteral("  "), QStringLiteral("eng")); }),
              QStringLiteral("Es gibt keinen Text zum Vorlesen."));

    const QString folder = QFileInfo(file).absolutePath();
    {
        TQVL_System_Speech gone;
    }
    EXPECT_TRUE(QFileInfo::exists(folder)) << "another object's files stay";
}

TEST(Speech, ARecordingLandsBesideTheLessonNamedAfterItsTextAndNeverOverAnotherFile)
{
    TQVL_System_Speech speech;
    QTemporaryDir lesson;
    const QString first = speech.RecordInto(QStringLiteral("  the house / das Haus? "), QStringLiteral("eng"), lesson.path());
    EXPECT_EQ(first, QStringLiteral("the_house_das_Haus.wav"));
    const QByteArray wav = ReadFile(lesson.filePath(first));
    EXPECT_TRUE(wav.startsWith("RIFF"));
    EXPECT_GT(peakOf(wav, 44), 3000);

    WriteFile(lesson.filePath(QStringLiteral("Baum.wav")), "someone else's recording");
    EXPECT_EQ(speech.RecordInto(QStringLiteral("Baum"), QStringLiteral("ger"), lesson.path()), QStringLiteral("Baum_1.wav"));
    EXPECT_EQ(ReadFile(lesson.filePath(QStringLiteral("Baum.wav"))), QByteArray("someone else's recording"));
    EXPECT_EQ(speech.RecordInto(QStringLiteral("+ + +"), QStringLiteral("ger"), lesson.path()), QStringLiteral("Vorlesen.wav"));

    EXPECT_EQ(ErrorOf([&] { speech.RecordInto(QStringLiteral("Baum"), QStringLiteral("ger"), lesson.filePath(QStringLiteral("fehlt"))); }),
              QStringLiteral("Der Ordner \"%1\" existiert nicht.").arg(lesson.filePath(QStringLiteral("fehlt"))));
    EXPECT_EQ(ErrorOf([&] { speech.RecordInto(QString(), QStringLiteral("ger"), lesson.path()); }),
              QStringLiteral("Es gibt keinen Text zum Vorlesen."));
    for (const QString& name : QDir(lesson.path()).entryList(QDir::Files))
        EXPECT_FALSE(name.endsWith(QLatin1String(".part"))) << name.toStdString();
}

TEST(Speech, TheSpokenFilePlaysAudiblyThroughTheSoundLibrary)
{
    QTemporaryDir scratch;
    const QString output = scratch.filePath(QStringLiteral("output.raw"));
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output));
    qputenv("SDL_DISKAUDIODELAY", "5");
    TQVL_System_SoundSystem sound(TQVL_System::SoundLibraryFileOf(QCoreApplication::applicationDirPath()));
    ASSERT_EQ(sound.Init(), 1);

    TQVL_System_Speech speech;
    const QString file = speech.Synthesize(QStringLiteral("the house"), QStringLiteral("eng"));
    const qint64 offset = QFileInfo(output).size();
    ASSERT_EQ(sound.Play(file), 1);
    int peak = 0;
    for (int attempt = 0; attempt < 250 && peak < 3000; ++attempt) {
        QThread::msleep(20);
        peak = peakOf(ReadFile(output), offset);
    }
    EXPECT_GE(peak, 3000) << "the spoken words reached the audio output";
    sound.Deinit();
    qunsetenv("SDL_AUDIODRIVER");
    qunsetenv("SDL_DISKAUDIOFILE");
    qunsetenv("SDL_DISKAUDIODELAY");
}

TEST(Speech, OnlyTheStartOfALongTextIsSpokenCutAtTheLastBlank)
{
    const qsizetype limit = TQVL_System_Speech::MaxSpokenLength;
    ASSERT_EQ(limit, 1000) << "the cases below are laid out for it";
    const QString emoji = QString::fromUtf16(u"\U0001F600");
    const struct
    {
        const char* name;
        QString text;
        QString spoken;
    } cases[] = {
        {"short", QStringLiteral("  das Haus \n"), QStringLiteral("das Haus")},
        {"at the limit", QString(limit, QLatin1Char('a')), QString(limit, QLatin1Char('a'))},
        {"blank just after the limit", QString(limit, QLatin1Char('a')) + QStringLiteral(" b"),
         QString(limit, QLatin1Char('a'))},
        {"cut inside a word", QString(limit - 3, QLatin1Char('a')) + QStringLiteral(" bcdefg"),
         QString(limit - 3, QLatin1Char('a'))},
        {"line break as the blank", QStringLiteral("Haus\n") + QString(limit, QLatin1Char('b')),
         QStringLiteral("Haus")},
        {"many words", QStringLiteral("Haus ").repeated(300), QStringLiteral("Haus ").repeated(200).trimmed()},
        {"one long word", QString(limit * 3, QLatin1Char('z')), QString(limit, QLatin1Char('z'))},
        {"never half a character", QString(limit - 1, QLatin1Char('z')) + emoji.repeated(5),
         QString(limit - 1, QLatin1Char('z'))},
    };
    for (const auto& c : cases) {
        const QString spoken = TQVL_System_Speech::SpokenPart(c.text);
        EXPECT_EQ(spoken, c.spoken) << c.name;
        EXPECT_LE(spoken.size(), limit) << c.name;
    }

    // What is synthesised is that part: a megabyte of text costs no more than its start.
    TQVL_System_Speech speech;
    const QString page = QStringLiteral("the house is green and the garden is big ").repeated(25'000);
    const QString file = speech.Synthesize(page, QStringLiteral("eng"));
    EXPECT_EQ(speech.Synthesize(TQVL_System_Speech::SpokenPart(page), QStringLiteral("eng")), file);
    EXPECT_EQ(speech.SynthesizedCount(), 1);
    EXPECT_LT(QFileInfo(file).size(), 20'000'000) << "a minute or two of speech, not gigabytes";
}

TEST(Speech, SpeechBeyondAWaveFilesSizesOrACancelledOneWritesNothing)
{
    EXPECT_EQ(TQVL_System_Speech::WavDataLimit + 36, qint64(0xFFFFFFFFu) - 1) << "RIFF size within 32 bits, even";
    TQVL_System_Speech speech;
    speech.MaxWavDataBytes = 4000; // a tenth of a second
    EXPECT_EQ(
        ErrorOf([&] { speech.Synthesize(QStringLiteral("Guten Morgen, schöne Grüße"), QStringLiteral("ger")); }),
        QStringLiteral("Der Text ist zu lang zum Vorlesen: die Aufnahme wäre größer, als eine WAV-Datei fassen kann."));

    speech.MaxWavDataBytes = TQVL_System_Speech::WavDataLimit;
    const std::atomic<bool> cancelled = true;
    EXPECT_EQ(ErrorOf([&] { speech.Synthesize(QStringLiteral("Guten Abend"), QStringLiteral("ger"), &cancelled); }),
              QStringLiteral("Das Vorlesen wurde abgebrochen."));
    QTemporaryDir lesson;
    EXPECT_EQ(
        ErrorOf([&] { speech.RecordInto(QStringLiteral("Baum"), QStringLiteral("ger"), lesson.path(), &cancelled); }),
        QStringLiteral("Das Vorlesen wurde abgebrochen."));
    EXPECT_TRUE(QDir(lesson.path()).isEmpty());
    EXPECT_EQ(speech.SynthesizedCount(), 0);

    // The same texts work afterwards, and the failed ones left nothing beside them.
    const QString file = speech.Synthesize(QStringLiteral("Guten Morgen, schöne Grüße"), QStringLiteral("ger"));
    EXPECT_EQ(QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files), QStringList{QFileInfo(file).fileName()});
}
