// The sync between machines as the main window runs it: the line in the unit
// bar, the runs at login, on a change of the shared folder and before a query.
#include "app/QVL.h"
#include "query/QVL_Result_Steps.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "query/QVL_ReviewLog.h"
#include "query/QVL_ReviewLog_Writer.h"
#include "tests/support/NoticeRecorder.h"
#include "tests/support/ScriptedDialogService.h"
#include "tests/support/TestFolders.h"
#include "ui/shell/Main.h"
#include "ui/shell/SyncDriver.h"
#include "users/QVL_Options.h"
#include "users/QVL_User.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString otherDevice = QStringLiteral("bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb");
const QString storage = QStringLiteral("{SYNC-STORAGE}");

class SyncInMainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        window = std::make_unique<TMainForm>();
        window->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->StartedUp(); }, 10000)) << dialogs.Errors.join('|').toStdString();
        window->Core().Users->GetActiveUser().Open(folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs"));
        ASSERT_TRUE(window->Core().Users->HasActiveUser());
        shared = folders.Root() + QStringLiteral("/Wolke");
        QDir().mkpath(shared);
        window->SyncDriver().QuietMs = 50;
    }
    void TearDown() override
    {
        if (window)
            window->close();
        window.reset();
    }

    TQVL& Core() const { return window->Core(); }
    QString Profile() const { return Core().Users->GetActiveUser().FileName; }
    QString Device() const { return Core().Query->DeviceId(); }
    QString Line() const { return window->Label_Sync->isVisible() ? window->Label_Sync->text() : QString(); }

    void SwitchOn()
    {
        Core().Options->sync_mode = TQVL_Options::SyncFolder;
        Core().Options->sync_folder = shared;
        window->SyncDriver().OptionsChanged();
    }
    bool WaitForLine(const QString& start)
    {
        return QTest::qWaitFor([&] { return !window->SyncDriver().Running() && Line().startsWith(start); }, 20000);
    }
    void Answer(int count)
    {
        TQVL_ReviewLog_Writer log;
        log.Open(TQVL_ReviewLog::FileName(Profile(), Device()));
        for (int i = 0; i < count; ++i) {
            TQVL_ReviewLog_Entry entry;
            entry.TimeMs = QDateTime::currentMSecsSinceEpoch() + i;
            entry.Device = Device();
            entry.UnitUid = storage;
            entry.CardUid = i + 1;
            entry.Verdict = TQVL_ReviewVerdict::Right;
            log.Append(entry);
        }
        log.Close();
    }
    // Another machine stored a query of one card, published in the shared folder a while ago.
    void OtherMachineLearns()
    {
        const QString folder = shared + QLatin1Char('/') + QFileInfo(Profile()).completeBaseName() +
                               QLatin1Char('/') + otherDevice;
        QDir().mkpath(folder);
        TQVL_Result_Step step;
        step.Now = TQVL_DateTime(TQVL_DateTime::FromDate(QDate::currentDate().addDays(1)).Serial() + 0.4);
        step.Device = otherDevice;
        step.UnitUid = storage;
        step.FileName = QStringLiteral("Speicher.qxu");
        step.Cards = {{1, 2, 1, 3}};
        const QString file = folder + QStringLiteral("/steps.csv");
        TQVL_Result_Steps::Append(file, {step});
        // Settled: the sync client is done with it.
        QFile settled(file);
        ASSERT_TRUE(settled.open(QIODevice::ReadWrite));
        settled.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime);
    }
    const TQVL_Result_Unit* Merged() const { return Core().Users->GetActiveUser().Results().FindUnit(storage); }

    TestFolders folders;
    ScriptedDialogService dialogs;
    NoticeRecorder notices;
    std::unique_ptr<TMainForm> window;
    QString shared;
};

TEST_F(SyncInMainWindow, TheLineIsHiddenWhileOffAndSaysWhenAndWhatWaits)
{
    EXPECT_FALSE(window->Label_Sync->isVisible()) << "off by default";
    SwitchOn();
    ASSERT_TRUE(WaitForLine(QStringLiteral("Synchronisiert vor wenigen Sekunden"))) << Line().toStdString();
    EXPECT_TRUE(QFileInfo::exists(shared + QStringLiteral("/Lernender/") + Device() + QStringLiteral("/profile.qxs")));

    // The drive of the shared folder is gone while the learner answers.
    ASSERT_TRUE(QDir().rename(shared, shared + QStringLiteral("-weg")));
    Answer(14);
    window->SyncDriver().Start();
    ASSERT_TRUE(WaitForLine(QStringLiteral("Offline"))) << Line().toStdString();
    EXPECT_EQ(Line(), QStringLiteral("Offline – 14 Antworten warten"));
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("Synchronisation fehlgeschlagen: Der Synchronisationsordner \"%1\" ist nicht erreichbar!")
                  .arg(shared));

    // Back again: the next change publishes the answers.
    ASSERT_TRUE(QDir().rename(shared + QStringLiteral("-weg"), shared));
    window->SyncDriver().Start();
    ASSERT_TRUE(WaitForLine(QStringLiteral("Synchronisiert"))) << Line().toStdString();
    EXPECT_EQ(Line(), QStringLiteral("Synchronisiert vor wenigen Sekunden"));
    EXPECT_EQ(QFile(shared + QStringLiteral("/Lernender/") + Device() + QStringLiteral("/reviews.csv")).size(),
              QFileInfo(TQVL_ReviewLog::FileName(Profile(), Device())).size());

    // Off: hidden again.
    Core().Options->sync_mode = TQVL_Options::SyncOff;
    window->SyncDriver().OptionsChanged();
    EXPECT_FALSE(window->Label_Sync->isVisible());

    if (const QString pictures = qEnvironmentVariable("QUORVEL_FIT_PICTURES"); !pictures.isEmpty()) {
        SwitchOn();
        ASSERT_TRUE(QDir().rename(shared, shared + QStringLiteral("-weg")));
        window->SyncDriver().Start();
        ASSERT_TRUE(WaitForLine(QStringLiteral("Offline")));
        QDir().mkpath(pictures);
        window->grab().save(pictures + QStringLiteral("/scale%1-sync-offline.png")
                                           .arg(qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"))));
        ASSERT_TRUE(QDir().rename(shared + QStringLiteral("-weg"), shared));
        window->SyncDriver().Start();
        ASSERT_TRUE(WaitForLine(QStringLiteral("Synchronisiert")));
        window->grab().save(pictures + QStringLiteral("/scale%1-sync-done.png")
                                           .arg(qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"))));
    }
}

TEST_F(SyncInMainWindow, AChangeOfTheSharedFolderIsMergedOnceItIsQuiet)
{
    SwitchOn();
    ASSERT_TRUE(WaitForLine(QStringLiteral("Synchronisiert"))) << Line().toStdString();
    ASSERT_EQ(Merged(), nullptr);
    OtherMachineLearns();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Merged() != nullptr; }, 20000)) << Line().toStdString();
    EXPECT_EQ(Merged()->all_queried, 2);
    EXPECT_EQ(Merged()->all_right, 1);
}

TEST_F(SyncInMainWindow, AQueryStartsFromTheMergedResults)
{
    SwitchOn();
    ASSERT_TRUE(WaitForLine(QStringLiteral("Synchronisiert"))) << Line().toStdString();
    // The watcher has not reported the change yet (it is quiet for a long while):
    // the query's start brings it in itself and waits for it.
    window->SyncDriver().QuietMs = 600000;
    OtherMachineLearns();
    QTest::qWait(500);
    ASSERT_TRUE(Core().Query->OnStarting);
    Core().Query->OnStarting();
    EXPECT_FALSE(window->SyncDriver().Running());
    ASSERT_NE(Merged(), nullptr);
    EXPECT_EQ(Merged()->all_queried, 2);
}

} // namespace
