// `quorvel --due` and `--due --notify`, run as a learner's login script runs
// them: the real program, without a display, on a storage with known due cards.
#include "app/QVL.h"
#include "app/QVL_Setup.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "users/QVL_User.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestFolders.h"

#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString annaLine = QStringLiteral("Anna, Langzeitspeicher \"Englisch\": 2 Vokabeln heute abzufragen");

struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the program without a display and waits while this process's event
// loop keeps serving (the fake notification service lives here).
ProgramRun runProgram(const QStringList& arguments, const QString& busAddress)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    // A window would need a display and fail here; the report must not open one.
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QUORVEL_PROGRAM), arguments);
    EXPECT_TRUE(program.waitForStarted(10000));
    const QDeadlineTimer deadline(60000);
    while (program.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(20);
    ProgramRun run;
    run.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.out = QString::fromLocal8Bit(program.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(program.readAllStandardError());
    return run;
}

// A private session bus that activates nothing, so a notification daemon of
// the machine never answers in its place.
class PrivateBus
{
public:
    PrivateBus()
    {
        const QString config = folder.path() + QStringLiteral("/bus.conf");
        WriteFile(config,
                  "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
                  "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                  "<busconfig><type>session</type><listen>unix:dir=" +
                      folder.path().toUtf8() +
                      "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                      "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                      "<allow own=\"*\"/></policy></busconfig>\n");
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                      QStringLiteral("--print-address")});
        if (daemon.waitForStarted(10000) && daemon.waitForReadyRead(10000))
            Address = QString::fromUtf8(daemon.readLine().trimmed());
    }
    ~PrivateBus()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-notifications"));
        daemon.kill();
        daemon.waitForFinished();
    }
    QString Address;

private:
    QTemporaryDir folder;
    QProcess daemon;
};

} // namespace

// What a desktop's notification service would receive.
class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList Received;

public slots:
    uint Notify(const QString& appName, uint, const QString& icon, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int)
    {
        Received << appName << icon << summary << body;
        return 1;
    }
};

class DueCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TQVL core;
        TQVL_Setup::Install(QStringLiteral(QUORVEL_SOURCE_DIR "/data"), *core.System);
        TQVL_User anna;
        anna.ResetToNewProfile(QStringLiteral("Anna"));
        TQVL_Result_Unit& storage = anna.Results().GetOrCreateUnit(
            QStringLiteral("{S}"), folders.Documents() + QStringLiteral("/Storages/Englisch.qxs"));
        storage.longtermstorage = true;
        const TQVL_DateTime now = TQVL_DateTime::Now();
        const struct {
            double daysAgo;
            int stage;
        } cards[] = {{400, 7}, {2, 1}, {0, 1}, {5, 4}}; // due, due, not yet, not yet
        for (int i = 0; i < 4; ++i) {
            TQVL_Result_Card& card = storage.GetOrCreateCard(i + 1);
            card.lastquery = TQVL_DateTime(now.Serial() - cards[i].daysAgo);
            card.stage = cards[i].stage;
        }
        anna.NewFile(folders.Documents() + QStringLiteral("/Benutzer/Anna.qxs"));
        anna.CloseFile();
        TQVL_User bert;
        bert.ResetToNewProfile(QStringLiteral("Bert"));
        bert.SetPassword(QStringLiteral("geheim"));
        bert.NewFile(folders.Documents() + QStringLiteral("/Benutzer/Bert.qxs"));
        bert.CloseFile();
    }

    TestFolders folders;
};

TEST_F(DueCommand, PrintsOneLinePerStorageWithoutADisplay)
{
    const ProgramRun run = runProgram({QStringLiteral("--due")}, QStringLiteral("unix:path=/nonexistent"));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.sort();
    EXPECT_EQ(lines.join(QLatin1Char('\n')).toStdString(),
              (annaLine + QStringLiteral("\nLernender: kein Langzeitspeicher")).toStdString());
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST_F(DueCommand, NotifiesOnceThroughTheSessionBus)
{
    PrivateBus bus;
    ASSERT_FALSE(bus.Address.isEmpty()) << "dbus-daemon is needed";
    QDBusConnection connection = QDBusConnection::connectToBus(bus.Address, QStringLiteral("fake-notifications"));
    ASSERT_TRUE(connection.isConnected());
    FakeNotifications service;
    ASSERT_TRUE(connection.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                                          QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(connection.registerService(QStringLiteral("org.freedesktop.Notifications")));

    const ProgramRun run = runProgram({QStringLiteral("--due"), QStringLiteral("--notify")}, bus.Address);

    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty()) << "the notification replaces the printed lines: " << run.out.toStdString();
    ASSERT_EQ(service.Received.size(), 4) << "exactly one notification";
    EXPECT_EQ(service.Received[0], QStringLiteral("Vokabeltrainer Quorvel"));
    EXPECT_EQ(service.Received[1], QStringLiteral("org.quorvel.Quorvel"));
    EXPECT_EQ(service.Received[2], QStringLiteral("Heute abzufragen"));
    EXPECT_TRUE(service.Received[3].split(QLatin1Char('\n')).contains(annaLine)) << service.Received[3].toStdString();
}

TEST_F(DueCommand, SaysSoWhenNoNotificationServiceAnswers)
{
    PrivateBus bus;
    ASSERT_FALSE(bus.Address.isEmpty()) << "dbus-daemon is needed";
    for (const QString& address : {bus.Address, QStringLiteral("unix:path=/nonexistent")}) {
        const ProgramRun run = runProgram({QStringLiteral("--notify")}, address);
        EXPECT_EQ(run.exitCode, 1) << address.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("Keine Benachrichtigung gesendet: ")) &&
                    run.err.contains(QStringLiteral("kein Benachrichtigungsdienst")))
            << address.toStdString() << ": " << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(annaLine)) << "the report still reaches the learner";
    }
}

#include "test_DueCommand.moc"
