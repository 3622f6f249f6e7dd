// The program ends cleanly on SIGTERM, SIGINT and SIGHUP: the real program runs
// as a child process with the sound system started, gets the signal, and must
// save the logged-in profile and release its lock on the way out.
#include "app/QVL_Setup.h"
#include "core/QVL_FileObject.h"
#include "core/QVL_System.h"
#include "core/QVL_SafeFile.h"
#include "core/QVL_XML.h"
#include "tests/support/TestFolders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// Whether process `pid` holds `fileName` open.
bool holdsOpen(qint64 pid, const QString& fileName)
{
    const QString folder = QStringLiteral("/proc/%1/fd").arg(pid);
    for (const QString& entry : QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot))
        if (QFile::symLinkTarget(folder + QLatin1Char('/') + entry) == fileName)
            return true;
    return false;
}

QString lastLogin(const QString& profile)
{
    QStringList values;
    const QStringList names{QStringLiteral("lastlogin")};
    TQVL_XML::ReadHeaderValues(profile, &names, 4096, &values);
    return values.value(0);
}

} // namespace

class TerminationSignal : public ::testing::TestWithParam<int>
{
};

TEST_P(TerminationSignal, EndsTheProgramLikeProgramBeenden)
{
    TestFolders folders;
    {
        // Installed as at the first start, with the first user loaded automatically.
        TQVL_System system;
        TQVL_Setup::Install(QStringLiteral(QUORVEL_PROGRAM_DIR "/setup"), system);
        const QString options = folders.AppData() + QStringLiteral("/Data/Options.xml");
        WriteFile(options, ReadFile(options).replace("<autoload>false</autoload>", "<autoload>true</autoload>"));
    }
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // A real sound system: SDL must leave the signals to the program.
    environment.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(QUORVEL_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted(10000));

    const QString profile = folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs");
    QElapsedTimer waiting;
    waiting.start();
    while (!holdsOpen(program.processId(), profile) && waiting.elapsed() < 60000 &&
           program.state() == QProcess::Running)
        QThread::msleep(50);
    ASSERT_TRUE(holdsOpen(program.processId(), profile)) << "the program did not log in";
    const QString before = lastLogin(profile);
    QThread::msleep(500); // let the start-up finish its queued work

    ::kill(pid_t(program.processId()), GetParam());
    const bool ended = program.waitForFinished(20000);
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }
    ASSERT_TRUE(ended) << "signal " << GetParam() << " did not end the program";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    EXPECT_NE(lastLogin(profile), before) << "the logout saved the profile";
    EXPECT_FALSE(lastLogin(profile).isEmpty());
    EXPECT_EQ(TQVL_FileObject::Checksum(ReadFile(profile)) + "\r\n",
              ReadFile(TQVL_FileObject::ChecksumFileName(profile)));
    EXPECT_TRUE(TQVL_FileHandle::TryOpenWrite(profile).IsValid()) << "no lock is left behind";
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationSignal, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& signal) {
                             return std::string(signal.param == SIGTERM ? "SIGTERM"
                                                : signal.param == SIGINT ? "SIGINT"
                                                                         : "SIGHUP");
                         });
