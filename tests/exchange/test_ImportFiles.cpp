#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Error.h"
#include "exchange/QVL_Backup.h"
#include "exchange/QVL_Import.h"
#include "exchange/QVL_Import_Run.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace {

class ImportFiles : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString sources() const { return dir.path(); }
    QString output() const { return dir.path() + QStringLiteral("/Lektionen"); }
    TQVL_Import import;

    void SetUp() override
    {
        QDir().mkpath(output());
        import.LangCodeHome = QStringLiteral("de");
        import.LangCodeForeign = QStringLiteral("en");
        import.OutputFolder = output();
    }
    QStringList written() const { return QDir(output()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
};

} // namespace

TEST_F(ImportFiles, OneUnitPerFileNamedAfterItNeverOverwriting)
{
    const QString source = sources() + QStringLiteral("/Tiere.csv");
    WriteFile(source, "Hund;;;dog\nKatze;;;cat\n");
    int count = 0;
    const QString first = import.ImportFile(source, &count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(first, output() + QStringLiteral("/Tiere.qxu"));
    const QString second = import.ImportFile(source);
    EXPECT_EQ(second, output() + QStringLiteral("/Tiere_1.qxu"));

    TQVL_Unit unit;
    unit.Open(first);
    EXPECT_EQ(unit.Typ, tVoc);
    EXPECT_EQ(unit.LangCodeHome, QStringLiteral("de"));
    EXPECT_EQ(unit.LangCodeForeign, QStringLiteral("en"));
    ASSERT_EQ(unit.Cards->Count(), 2);
    EXPECT_EQ(unit.Cards->MaxCardId, 2);
    const auto& cat = static_cast<const TQVL_Card_Voc&>(*unit.Cards->Card(1));
    EXPECT_EQ(cat.home1, QStringLiteral("Katze"));
    EXPECT_EQ(cat.foreign1, QStringLiteral("cat"));
    EXPECT_EQ(cat.Uid, 2);
    unit.CloseFile();
}

TEST_F(ImportFiles, LanguagesFromTheSourceFile)
{
    const QString source = sources() + QStringLiteral("/vocabulary.kvtml");
    QFile::copy(QStringLiteral(QUORVEL_FIXTURES "/exchange/vocabulary.kvtml"), source);
    import.Type = TQVL_Import_Type::itKVTML;
    import.LangCodeHome = QStringLiteral("de");
    import.LangCodeForeign = QStringLiteral("fr");
    import.LanguagesFromSource = true;
    TQVL_Unit unit;
    unit.Open(import.ImportFile(source));
    EXPECT_EQ(unit.LangCodeForeign, QStringLiteral("eng"));
    EXPECT_EQ(unit.LangCodeHome, QStringLiteral("ger"));
    unit.CloseFile();
}

TEST_F(ImportFiles, FailedOrCancelledImportsLeaveNothingBehind)
{
    const QString broken = sources() + QStringLiteral("/kaputt.csv");
    WriteFile(broken, "Hund;;;dog\n\"offen;;;open\n");
    EXPECT_TRUE(ErrorOf([&] { import.ImportFile(broken); }).contains(QStringLiteral("Zeile 2:")));

    const QString nothing = sources() + QStringLiteral("/leer.csv");
    WriteFile(nothing, "\n;;;\n\n");
    EXPECT_TRUE(ErrorOf([&] { import.ImportFile(nothing); }).contains(QStringLiteral("keine Karten")));

    QByteArray rows;
    for (int i = 0; i < 20000; ++i)
        rows += "Wort;;;word\n";
    const QString large = sources() + QStringLiteral("/gross.csv");
    WriteFile(large, rows);
    int calls = 0;
    import.OnProgress = [&calls](qint64, qint64) { return ++calls < 2; };
    EXPECT_THROW(import.ImportFile(large), TQVL_Import_Cancelled);
    EXPECT_EQ(written(), QStringList()) << "no unit and no temporary file";

    import.OutputFolder = sources() + QStringLiteral("/fehlt");
    EXPECT_TRUE(ErrorOf([&] { import.ImportFile(large); }).contains(QStringLiteral("existiert nicht")));
}

// The files of a run are read on a worker; what the window hears of them.
TEST_F(ImportFiles, ARunReportsOnTheContextsThreadAndACancelStopsTheFileBeingRead)
{
    QByteArray rows;
    for (int i = 0; i < 20000; ++i)
        rows += "Wort;;;word\n";
    const QString large = sources() + QStringLiteral("/Gross.csv");
    const QString small = sources() + QStringLiteral("/Klein.csv");
    const QString broken = sources() + QStringLiteral("/Leer.csv");
    WriteFile(large, rows);
    WriteFile(small, "Hund;;;dog\n");
    WriteFile(broken, "");

    QObject context;
    std::vector<TQVL_Import_Outcome> outcomes;
    bool finished = false;
    QList<int> progress;
    bool progressOnContextThread = true;
    const auto run = [&](const QStringList& files, TQVL_Import_Run::WorkerReport report, bool cancelAtFirst) {
        finished = false;
        progress.clear();
        auto importRun = std::make_unique<TQVL_Import_Run>(
            import, files, &context,
            [&](int thousandths) {
                progress << thousandths;
                progressOnContextThread &= QThread::currentThread() == context.thread();
            },
            [&](const std::vector<TQVL_Import_Outcome>& result) {
                outcomes = result;
                finished = true;
            });
        importRun->OnWorkerReport = std::move(report);
        importRun->Start();
        if (cancelAtFirst) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !progress.isEmpty(); }, 5000));
            importRun->Cancel();
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return finished; }, 20000));
        EXPECT_FALSE(importRun->IsRunning());
    };

    run({small, broken}, {}, false);
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[0].Unit, output() + QStringLiteral("/Klein.qxu"));
    EXPECT_EQ(outcomes[0].Cards, 1);
    EXPECT_TRUE(outcomes[0].Error.isEmpty());
    EXPECT_TRUE(outcomes[1].Unit.isEmpty());
    EXPECT_TRUE(outcomes[1].Error.contains(QStringLiteral("Die Datei ist leer."))) << outcomes[1].Error.toStdString();
    EXPECT_EQ(progress.last(), 1000);
    EXPECT_TRUE(progressOnContextThread);

    // Held at its first report until the cancel: the large file is stopped, the next one skipped.
    const auto hold = [](const std::atomic<bool>& cancelled) {
        QDeadlineTimer limit(10000);
        while (!cancelled.load() && !limit.hasExpired())
            QThread::msleep(1);
    };
    run({large, small}, hold, true);
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[0].Error, QStringLiteral("Abgebrochen. Es wurde keine Lektion angelegt."));
    EXPECT_EQ(outcomes[1].Error, QStringLiteral("Nicht importiert (abgebrochen)."));
    EXPECT_EQ(written(), QStringList{QStringLiteral("Klein.qxu")}) << "nothing of the cancelled run";
}

TEST_F(ImportFiles, TheEndOfARunWaitsForItsWorkerAndDeliversNothing)
{
    QByteArray rows;
    for (int i = 0; i < 20000; ++i)
        rows += "Wort;;;word\n";
    const QString large = sources() + QStringLiteral("/Gross.csv");
    WriteFile(large, rows);
    QObject context;
    bool heard = false;
    std::atomic<bool> reported = false, leftReport = false;
    {
        TQVL_Import_Run importRun(
            import, {large}, &context, [&](int) { heard = true; },
            [&](const std::vector<TQVL_Import_Outcome>&) { heard = true; });
        importRun.OnWorkerReport = [&](const std::atomic<bool>& cancelled) {
            reported = true;
            while (!cancelled.load())
                QThread::msleep(1);
            // What the worker still does after the cancel is waited for.
            QThread::msleep(50);
            leftReport = true;
        };
        importRun.Start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return reported.load(); }, 5000));
    }
    EXPECT_TRUE(leftReport) << "the worker ended before the run was gone";
    heard = false;
    QCoreApplication::processEvents();
    EXPECT_FALSE(heard) << "nothing queued by the worker arrives after the run";
    EXPECT_TRUE(written().isEmpty());
}

TEST(Backup, DatedCopiesBesideTheFileTheNewestFiveKept)
{
    QTemporaryDir dir;
    const QString storage = dir.path() + QStringLiteral("/Englisch.qxs");
    const QString other = dir.path() + QStringLiteral("/Englisch 2.qxs");
    WriteFile(other, "andere");
    const QDateTime start(QDate(2026, 12, 10), QTime(17, 45, 3));
    QStringList made;
    for (int i = 0; i < 7; ++i) {
        WriteFile(storage, "Stand " + QByteArray::number(i));
        made << TQVL_Backup::BackupFile(storage, start.addSecs(i * 60));
    }
    // The same second twice: the second copy gets a number, the first stays.
    WriteFile(storage, "Stand 7");
    made << TQVL_Backup::BackupFile(storage, start.addSecs(6 * 60));
    TQVL_Backup::BackupFile(other, start);

    EXPECT_EQ(made[0], dir.path() + QStringLiteral("/Backups/Englisch 2026-12-10 17-45-03.qxs"));
    EXPECT_EQ(made[7].toStdString(), (dir.path() + QStringLiteral("/Backups/Englisch 2026-12-10 17-51-03_1.qxs")).toStdString());
    const QStringList kept = TQVL_Backup::BackupsOf(storage);
    EXPECT_EQ(kept, (QStringList{made[3], made[4], made[5], made[6], made[7]}));
    EXPECT_EQ(ReadFile(kept.front()), QByteArray("Stand 3"));
    EXPECT_EQ(ReadFile(kept.back()), QByteArray("Stand 7"));
    EXPECT_EQ(TQVL_Backup::BackupsOf(other).size(), 1) << "another storage's copies are not counted or removed";

    EXPECT_TRUE(ErrorOf([&] { TQVL_Backup::BackupFile(dir.path() + QStringLiteral("/fehlt.qxs")); })
                    .contains(QStringLiteral("Sicherungskopie")));
}
