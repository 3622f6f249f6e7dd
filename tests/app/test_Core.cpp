#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "tests/support/RecordingErrorDisplay.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFolders.h"
#include "tests/support/TestInstallation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSemaphore>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>

namespace {

const QString reinstall = QStringLiteral("Eine zum Betrieb der Anwendung benötigte Datei konnte nicht gefunden "
                                         "werden. Bitte installieren Sie die Anwendung neu.");

QString startupError(TQVL& core)
{
    return ErrorOf([&] { core.Startup(); });
}

} // namespace

TEST(Core, InstanceIsTheCoreTheMainWindowCreated)
{
    TQVL core;
    EXPECT_EQ(&TQVL::Instance(), &core);
    EXPECT_EQ(TQVL::Current(), &core);
}

TEST(Core, StartupWithoutOptionsAsksForReinstallation)
{
    TestFolders folders;
    TQVL core;
    core.System->ProgramFolder = folders.Root(); // nothing to install from
    const QString options = folders.AppData() + QStringLiteral("/Data/Options.xml");
    EXPECT_EQ(startupError(core), reinstall + QLatin1Char('\r') + QStringLiteral("Datei \"%1\" nicht gefunden!").arg(options));

    WriteFile(options, TestOptions{}.Xml().replace("<programfiles_readonly>false</programfiles_readonly>", ""));
    EXPECT_EQ(startupError(core),
              reinstall + QLatin1Char('\r') +
                  QStringLiteral("Die Datei \"%1\" ist keine gültige Einstellungsdatei!").arg(options));
    EXPECT_FALSE(core.Options->IsOpen);

    WriteInstallation(folders);
    QFile::remove(folders.AppData() + QStringLiteral("/Data/LanguageNames.xml"));
    EXPECT_EQ(startupError(core), reinstall + QLatin1Char('\r') +
                                      QStringLiteral("Datei \"%1\" nicht gefunden!")
                                          .arg(folders.AppData() + QStringLiteral("/Data/LanguageNames.xml")));
    core.CloseFiles();
}

TEST(Core, StartupOpensTheOptionsReadOnlyAndAsksForAUser)
{
    TestFolders folders;
    WriteInstallation(folders);
    RecordingErrorDisplay display;
    TQVL core;
    core.System->ProgramFolder = folders.Root(); // no sound library here
    int selectionRequests = 0;
    core.OnUserSelectionRequired = [&] { ++selectionRequests; };
    core.Startup();
    EXPECT_TRUE(core.Options->IsOpen);
    EXPECT_FALSE(core.Options->WriteAccess);
    EXPECT_TRUE(core.Languages->Names->IsOpen);
    EXPECT_EQ(core.Languages->Names->NameOf(QStringLiteral("eng")), QStringLiteral("Englisch"));
    EXPECT_EQ(selectionRequests, 1);
    EXPECT_FALSE(core.System->SoundSystem) << "sound_disabled: the library is not even loaded";
    EXPECT_TRUE(display.Shown.isEmpty());
    core.CloseFiles();
    EXPECT_FALSE(core.Options->IsOpen);

}

TEST(Core, StartupWithSoundStartsTheSoundSystem)
{
    TestFolders folders;
    WriteInstallation(folders, {.SoundDisabled = false});
    RecordingErrorDisplay display;
    {
        TQVL core;
        core.System->ProgramFolder = folders.Root();
        core.Startup();
        EXPECT_TRUE(core.System->SoundSystem);
        core.CloseFiles();
    }
    ASSERT_EQ(display.Shown.size(), 3) << "missing library, failed start, failed stop";
    EXPECT_EQ(display.Shown[1], QStringLiteral("Fehler beim Initilialisieren des SoundSystems"));
}

TEST(Core, UpdateSearchDeliversItsResultOnTheMainThread)
{
    struct Case {
        std::function<bool(const QString&, const QString&)> search;
        bool found, failed;
    };
    const Case cases[] = {
        {[](const QString&, const QString&) { return true; }, true, false},
        {[](const QString&, const QString&) { return false; }, false, false},
        {[](const QString&, const QString&) -> bool { throw TQVL_Error(QStringLiteral("kaputt")); }, false, true},
    };
    for (const Case& c : cases) {
        TestFolders folders;
        TQVL core;
        QString seenVersion, seenFolder;
        core.UpdateSearch = [&](const QString& version, const QString& folder) {
            seenVersion = version;
            seenFolder = folder;
            return c.search(version, folder);
        };
        int started = 0;
        bool delivered = false, found = false, failed = false;
        QThread* deliveredOn = nullptr;
        core.OnUpdateSearchStart = [&] { ++started; };
        core.OnUpdateSearchDone = [&](bool f, bool e) {
            delivered = true;
            found = f;
            failed = e;
            deliveredOn = QThread::currentThread();
        };
        core.StartUpdateSearch();
        EXPECT_EQ(started, 1);
        EXPECT_TRUE(QTest::qWaitFor([&] { return delivered; }, 5000));
        EXPECT_EQ(found, c.found);
        EXPECT_EQ(failed, c.failed);
        EXPECT_EQ(deliveredOn, QCoreApplication::instance()->thread());
        EXPECT_EQ(seenVersion, core.System->ProgramVersion);
        EXPECT_EQ(seenFolder, core.System->AppDataFolder);
        EXPECT_TRUE(QTest::qWaitFor([&] { return core.UpdateThread.isNull(); }, 5000)) << "the thread releases itself";
    }
}

TEST(Core, ALateUpdateResultNeverReachesAReleasedCore)
{
    QSemaphore release;
    bool delivered = false;
    QPointer<TQVL_UpdateThread> thread;
    {
        TQVL core;
        // A search stuck past the core's wait: only its late result is left to check.
        core.UpdateJoinTimeoutMs = 0;
        core.UpdateSearch = [&](const QString&, const QString&) {
            release.acquire();
            return true;
        };
        core.OnUpdateSearchDone = [&](bool, bool) { delivered = true; };
        core.StartUpdateSearch();
        thread = core.UpdateThread;
    }
    release.release();
    EXPECT_TRUE(QTest::qWaitFor([&] { return thread.isNull(); }, 5000));
    QCoreApplication::processEvents();
    EXPECT_FALSE(delivered);
}

TEST(Core, TheCoreStopsARunningSearchAndWaitsForItBeforeItGoes)
{
    std::atomic<bool> running = false, interrupted = false, ended = false;
    bool delivered = false;
    {
        TQVL core;
        core.UpdateSearch = [&](const QString&, const QString&) {
            running = true;
            while (!QThread::currentThread()->isInterruptionRequested())
                QThread::msleep(1);
            interrupted = true;
            // Whatever the search still does after the request is waited for.
            QThread::msleep(50);
            ended = true;
            return true;
        };
        core.OnUpdateSearchDone = [&](bool, bool) { delivered = true; };
        core.StartUpdateSearch();
        ASSERT_TRUE(QTest::qWaitFor([&] { return running.load(); }, 5000));
    }
    EXPECT_TRUE(interrupted);
    EXPECT_TRUE(ended) << "the search ended before the core was gone";
    QCoreApplication::processEvents();
    EXPECT_FALSE(delivered);
}

TEST(Core, AutoloadLogsTheProfileInAndTheCloseSavesIt)
{
    TestFolders folders;
    WriteInstallation(folders, {.Autoload = true});
    const QString profile = InstallProfile(folders);
    TQVL_DateTime::SetClock([] { return QDateTime(QDate(2026, 12, 10), QTime(9, 30)); });
    bool asked = false;
    {
        TQVL core;
        core.System->ProgramFolder = folders.Root();
        core.OnUserSelectionRequired = [&] { asked = true; };
        int opened = 0;
        core.Users->OnFileOpened = [&] { ++opened; };
        core.Startup();
        EXPECT_FALSE(asked);
        EXPECT_EQ(opened, 1);
        ASSERT_TRUE(core.Users->HasActiveUser());
        EXPECT_TRUE(core.Users->GetActiveUser().IsLoggedIn());
        EXPECT_EQ(core.Users->GetActiveUser().name, QStringLiteral("Lernender"));
        core.CloseFiles();
        EXPECT_FALSE(core.Users->HasActiveUser());
    }
    TQVL_DateTime::SetClock({});
    EXPECT_TRUE(ReadFile(profile).contains("<lastlogin>10.12.2026 09:30:00</lastlogin>")) << "the logout saved it";
}

TEST(Core, AFailedAutoloadAsksForAUserAndReportsTheError)
{
    TestFolders folders;
    WriteInstallation(folders, {.Autoload = true});
    InstallProfile(folders);
    QFile::remove(folders.Documents() + QStringLiteral("/Benutzer/Lernender.crc"));
    TQVL core;
    core.System->ProgramFolder = folders.Root();
    bool asked = false;
    core.OnUserSelectionRequired = [&] { asked = true; };
    EXPECT_TRUE(startupError(core).contains(QStringLiteral("Lernender.crc")));
    EXPECT_TRUE(asked);
    EXPECT_FALSE(core.Users->HasActiveUser());
    EXPECT_EQ(core.Users->Provider().Items.size(), 1u) << "the selection lists the profiles";
    core.CloseFiles();
}

TEST(Core, WithoutAutoloadTheProfilesAreListedAndNoneIsOpened)
{
    TestFolders folders;
    WriteInstallation(folders);
    InstallProfile(folders);
    TQVL core;
    core.System->ProgramFolder = folders.Root();
    bool asked = false;
    core.OnUserSelectionRequired = [&] { asked = true; };
    core.Startup();
    EXPECT_TRUE(asked);
    EXPECT_FALSE(core.Users->HasActiveUser());
    ASSERT_EQ(core.Users->Provider().Items.size(), 1u);
    EXPECT_EQ(dynamic_cast<TQVL_Provider_Item_User*>(core.Users->Provider().Items[0])->UserName,
              QStringLiteral("Lernender"));
    core.CloseFiles();
}

TEST(Core, AFailedLogoutSaveStillClosesEveryFileInOrder)
{
    TestFolders folders;
    WriteInstallation(folders, {.Autoload = true});
    const QString profile = InstallProfile(folders);
    RecordingErrorDisplay display;
    {
        TQVL core;
        core.System->ProgramFolder = folders.Root();
        core.Startup();
        ASSERT_TRUE(core.Users->HasActiveUser());
        // The profile's folder vanishes (an unplugged stick): the logout cannot write.
        ASSERT_TRUE(QDir(QFileInfo(profile).absolutePath()).removeRecursively());
        EXPECT_THROW(core.CloseFiles(), TQVL_Error);
        EXPECT_FALSE(core.Users->HasActiveUser());
        EXPECT_FALSE(core.Options->IsOpen) << "the options are closed after the failed step";
    }
    EXPECT_TRUE(display.Shown.isEmpty()) << display.Shown.join('|').toStdString();
}
