#include "tests/support/TestFolders.h"

#include <QCoreApplication>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

struct Wave
{
    bool valid = false;
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<int> samples; // 16-bit mono only
};

// Reads a RIFF/WAVE file chunk by chunk; anything malformed leaves `valid` false.
Wave ParseWave(const QByteArray& bytes)
{
    Wave wave;
    const char* p = bytes.constData();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE"
        || qFromLittleEndian<quint32>(p + 4) != quint32(bytes.size() - 8))
        return wave;

    bool haveFormat = false, haveData = false;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = qFromLittleEndian<quint32>(p + at + 4);
        const qsizetype body = at + 8;
        if (body + size > bytes.size())
            return wave;
        if (id == "fmt " && size >= 16) {
            wave.format = qFromLittleEndian<quint16>(p + body);
            wave.channels = qFromLittleEndian<quint16>(p + body + 2);
            wave.rate = int(qFromLittleEndian<quint32>(p + body + 4));
            wave.bits = qFromLittleEndian<quint16>(p + body + 14);
            haveFormat = true;
        } else if (id == "data" && haveFormat && wave.bits == 16 && wave.channels == 1) {
            for (qsizetype i = 0; i + 1 < size; i += 2)
                wave.samples.push_back(qFromLittleEndian<qint16>(p + body + i));
            haveData = true;
        }
        at = body + size + (size & 1);
    }
    wave.valid = haveFormat && haveData;
    return wave;
}

int Peak(const std::vector<int>& samples)
{
    int peak = 0;
    for (int s : samples)
        peak = std::max(peak, std::abs(s));
    return peak;
}

// Sign changes per second: a rough measure of how high a sound is.
double CrossingRate(const Wave& wave)
{
    int crossings = 0;
    for (std::size_t i = 1; i < wave.samples.size(); ++i)
        crossings += (wave.samples[i - 1] < 0) != (wave.samples[i] < 0);
    return crossings * double(wave.rate) / double(wave.samples.size());
}

QByteArray SoundFile(const char* name)
{
    return ReadFile(QCoreApplication::applicationDirPath() + QStringLiteral("/Sounds/") + QString::fromLatin1(name));
}

} // namespace

TEST(SoundSystemAnswerSounds, AreCleanAudiblePcmWaves)
{
    for (const char* name : {"right.wav", "wrong.wav"}) {
        SCOPED_TRACE(name);
        const Wave wave = ParseWave(SoundFile(name));
        ASSERT_TRUE(wave.valid);
        EXPECT_EQ(wave.format, 1) << "PCM";
        EXPECT_EQ(wave.channels, 1);
        EXPECT_EQ(wave.rate, 44100);
        EXPECT_EQ(wave.bits, 16);

        const double seconds = double(wave.samples.size()) / wave.rate;
        EXPECT_GE(seconds, 0.2);
        EXPECT_LE(seconds, 0.6);

        const int peak = Peak(wave.samples);
        EXPECT_GT(peak, 8000) << "audible";
        EXPECT_LT(peak, 32000) << "no clipping";
        // Starting or stopping away from zero clicks.
        EXPECT_LT(std::abs(wave.samples.front()), 100);
        EXPECT_LT(std::abs(wave.samples.back()), 100);
    }
}

TEST(SoundSystemAnswerSounds, RightIsBrighterThanWrong)
{
    const QByteArray right = SoundFile("right.wav"), wrong = SoundFile("wrong.wav");
    ASSERT_TRUE(right != wrong);
    const Wave rightWave = ParseWave(right), wrongWave = ParseWave(wrong);
    ASSERT_TRUE(rightWave.valid && wrongWave.valid);
    EXPECT_GT(CrossingRate(rightWave), 2 * CrossingRate(wrongWave));
}
