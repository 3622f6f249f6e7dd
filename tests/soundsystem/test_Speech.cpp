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
