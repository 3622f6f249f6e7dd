#include "core/QVL_System_SoundSystem.h"
#include "core/QVL_System.h"
#include "tests/support/RecordingErrorDisplay.h"
#include "tests/support/TestFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

// The test executable sits in the program folder, beside data/ and Sounds/.
QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString RightSound()
{
    return ProgramFolder() + QStringLiteral("/Sounds/right.wav");
}

// Highest absolute 16-bit sample the disk audio driver wrote from `offset` on.
int PeakSince(const QString& file, qint64 offset)
{
    const QByteArray bytes = ReadFile(file);
    int peak = 0;
    for (qsizetype i = offset & ~qint64(3); i + 1 < bytes.size(); i += 2) {
        const int sample = qFromLittleEndian<qint16>(bytes.constData() + i);
        peak = std::max(peak, std::abs(sample));
    }
    return peak;
}

// Waits until sound after `offset` reaches `threshold`, for a few seconds at most.
int WaitForPeak(const QString& file, qint64 offset, int threshold)
{
    int peak = 0;
    for (int attempt = 0; attempt < 250 && peak < threshold; ++attempt) {
        QThread::msleep(20);
        peak = PeakSince(file, offset);
    }
    return peak;
}

// Waits until the newest output is silent again; false after a few seconds.
bool WaitForSilence(const QString& file)
{
    for (int attempt = 0; attempt < 250; ++attempt) {
        QThread::msleep(20);
        const qint64 size = QFileInfo(file).size();
        if (size > 8192 && PeakSince(file, size - 8192) == 0)
            return true;
    }
    return false;
}

constexpr int kAudible = 8000; // the sounds peak at about half of full scale

} // namespace

// The real library, playing into a file through SDL's disk driver.
class SoundSystemOutput : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        scratch = std::make_unique<QTemporaryDir>();
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(OutputFile()));
        // A few times faster than real time, without spinning.
        qputenv("SDL_DISKAUDIODELAY", "5");
    }
    static void TearDownTestSuite()
    {
        qunsetenv("SDL_AUDIODRIVER");
        qunsetenv("SDL_DISKAUDIOFILE");
        qunsetenv("SDL_DISKAUDIODELAY");
        scratch.reset();
    }
    static QString OutputFile() { return scratch->filePath(QStringLiteral("output.raw")); }

    void SetUp() override { ASSERT_EQ(sound.Init(), 1); }
    void TearDown() override { sound.Deinit(); }

    // Plays `file` and returns the loudest sample it produced.
    int PlayedPeak(const QString& file)
    {
        const qint64 offset = QFileInfo(OutputFile()).size();
        if (sound.Play(file) != 1)
            return -1;
        return WaitForPeak(OutputFile(), offset, kAudible);
    }

    static inline std::unique_ptr<QTemporaryDir> scratch; // disk output and made-up files
    TQVL_System_SoundSystem sound{TQVL_System::SoundLibraryFileOf(ProgramFolder())};
};

TEST_F(SoundSystemOutput, PlaysTheAnswerSoundAudibly)
{
    EXPECT_EQ(sound.Init(), 1) << "a second Init keeps the running system";
    EXPECT_GE(PlayedPeak(RightSound()), kAudible);
}

// Overlapping answers each get a channel; their chunks are released once they
// have ended (the sanitizer build checks that this frees each exactly once).
TEST_F(SoundSystemOutput, OverlappingSoundsAreReleasedAfterTheyEnd)
{
    const qint64 offset = QFileInfo(OutputFile()).size();
    for (int i = 0; i < 8; ++i)
        ASSERT_EQ(sound.Play(RightSound()), 1) << "sound " << i;
    ASSERT_GE(WaitForPeak(OutputFile(), offset, kAudible), kAudible);
    ASSERT_TRUE(WaitForSilence(OutputFile()));
    EXPECT_EQ(sound.Play(RightSound()), 1);
}

TEST_F(SoundSystemOutput, PlayStartsOnlyForReadableSounds)
{
    const QString folder = scratch->path();
    const QString umlauts = folder + QStringLiteral("/Töne/richtig ä.wav");
    QDir().mkpath(QFileInfo(umlauts).absolutePath());
    ASSERT_TRUE(QFile::copy(RightSound(), umlauts));
    const QString text = folder + QStringLiteral("/notes.wav");
    WriteFile(text, QByteArrayLiteral("not a sound at all"));

    const struct
    {
        const char* what;
        QString file;
        int result;
    } cases[] = {
        {"answer sound", RightSound(), 1},
        {"non-ASCII path", umlauts, 1},
        {"missing file", folder + QStringLiteral("/missing.wav"), 0},
        {"not a sound", text, 0},
        {"empty name", QString(), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sound.Play(c.file), c.result) << c.what;
}

TEST_F(SoundSystemOutput, DescribesItselfWithTheActiveDriver)
{
    const QString version = sound.Version();
    EXPECT_TRUE(version.contains(QStringLiteral("SDL_mixer"))) << version.toStdString();

    QString info = QStringLiteral("unset");
    sound.Info(info);
    EXPECT_TRUE(info.startsWith(QStringLiteral("Spielt WAV"))) << info.toStdString();
    EXPECT_TRUE(info.endsWith(QStringLiteral("über disk"))) << info.toStdString();
}

TEST_F(SoundSystemOutput, DeinitStopsAndUnloads)
{
    ASSERT_EQ(sound.Play(RightSound()), 1);
    EXPECT_EQ(sound.Deinit(), 1);
    // The library is gone now, so nothing answers any more.
    EXPECT_EQ(sound.Play(RightSound()), 0);
    EXPECT_EQ(sound.Version(), QStringLiteral("Error"));
    EXPECT_EQ(sound.Deinit(), 0);
}

// Without a usable audio device the library refuses to start; telling the
// learner is left to the caller.
TEST(SoundSystemWithoutDevice, InitFailsQuietly)
{
    const QByteArray previous = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    RecordingErrorDisplay errors;
    TQVL_System_SoundSystem sound(TQVL_System::SoundLibraryFileOf(ProgramFolder()));

    EXPECT_EQ(sound.Init(), 0);
    EXPECT_EQ(sound.Play(RightSound()), 0);
    EXPECT_TRUE(errors.Shown.isEmpty()) << errors.Shown.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(sound.Deinit(), 1) << "nothing was running, so nothing failed to stop";

    if (previous.isNull())
        qunsetenv("SDL_AUDIODRIVER");
    else
        qputenv("SDL_AUDIODRIVER", previous);
}

// Compressed formats, made with sox when it is there.
class SoundSystemCompressed : public SoundSystemOutput, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(SoundSystemCompressed, PlaysAudibly)
{
    const QString format = QString::fromLatin1(GetParam());
    QString info;
    sound.Info(info);
    if (!info.contains(format.toUpper()))
        GTEST_SKIP() << "SDL_mixer here has no " << GetParam() << " decoder: " << info.toStdString();
    const QString sox = QStandardPaths::findExecutable(QStringLiteral("sox"));
    if (sox.isEmpty())
        GTEST_SKIP() << "sox is not installed, so no " << GetParam() << " file can be made";

    const QString file = scratch->filePath(QStringLiteral("tone.") + format);
    const int exitCode = QProcess::execute(sox, {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                                                 QStringLiteral("-c"), QStringLiteral("1"), file,
                                                 QStringLiteral("synth"), QStringLiteral("0.3"),
                                                 QStringLiteral("sine"), QStringLiteral("660"),
                                                 QStringLiteral("vol"), QStringLiteral("0.5")});
    ASSERT_EQ(exitCode, 0) << "sox failed to write " << file.toStdString();

    EXPECT_GE(PlayedPeak(file), kAudible);
}

INSTANTIATE_TEST_SUITE_P(Formats, SoundSystemCompressed, ::testing::Values("ogg", "flac"));

// A program folder whose library is missing or lacks exports: every call fails softly.
struct Incomplete
{
    const char* what;
    bool withPartialLibrary;
    int initResult;
    bool reportsMissingLibrary;
};

class SoundSystemIncomplete : public ::testing::TestWithParam<Incomplete>
{
};

TEST_P(SoundSystemIncomplete, FailsSoftly)
{
    const Incomplete& c = GetParam();
    QTemporaryDir program;
    ASSERT_TRUE(program.isValid());
    const QString folder = program.path();
    if (c.withPartialLibrary) {
        ASSERT_TRUE(QDir(folder).mkpath(QStringLiteral("data")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUORVEL_PARTIAL_SOUNDSYSTEM), folder + QStringLiteral("/data/soundsystem.so")));
    }

    RecordingErrorDisplay errors;
    TQVL_System_SoundSystem sound(TQVL_System::SoundLibraryFileOf(folder));
    EXPECT_EQ(sound.Init(), c.initResult);
    const QString expected = c.reportsMissingLibrary
                                 ? QStringLiteral("DLL ") + folder + QStringLiteral("/data/soundsystem.sonicht gefunden!")
                                 : QString();
    EXPECT_EQ(errors.Shown.join(QLatin1Char('\n')).toStdString(), expected.toStdString());

    EXPECT_EQ(sound.Play(RightSound()), 0);
    EXPECT_EQ(sound.Version(), QStringLiteral("Error"));
    QString info = QStringLiteral("unverändert");
    sound.Info(info);
    EXPECT_EQ(info, QStringLiteral("unverändert"));
    EXPECT_EQ(sound.Deinit(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, SoundSystemIncomplete,
                         ::testing::Values(Incomplete{"NoLibrary", false, 0, true},
                                           Incomplete{"OnlyInit", true, 7, false}),
                         [](const auto& test) { return std::string(test.param.what); });
