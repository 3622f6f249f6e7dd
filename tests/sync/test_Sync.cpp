// Two simulated machines (two data folders, two device ids) and one shared
// folder that a sync client keeps in step; here the "sync client" is the test
// itself, which copies nothing: both machines see the same folder.
#include "content/QVL_Card_Container.h"
#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "core/QVL_SafeFile.h"
#include "core/QVL_XMLStream.h"
#include "query/QVL_Result_Steps.h"
#include "query/QVL_Result_User.h"
#include "query/QVL_ReviewLog.h"
#include "query/QVL_ReviewLog_Writer.h"
#include "sync/QVL_Sync_Files.h"
#include "sync/QVL_Sync_Folder.h"
#include "sync/QVL_Sync_LessonMerge.h"
#include "sync/QVL_Sync_Status.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestFolders.h"
#include "users/QVL_User.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString deviceA = QStringLiteral("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa");
const QString deviceB = QStringLiteral("bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb");
const QString storage = QStringLiteral("{STORAGE}");

TEST(SyncFiles, ConflictCopiesAndTemporaryNames)
{
    const struct
    {
        const char* name;
        const char* original;
    } conflicts[] = {
        {"steps.sync-conflict-20240301-101500-ABCDEFG.csv", "steps.csv"},
        {"lessons/Tiere.sync-conflict-20240301-101500-ABCDEFG.qxu", "lessons/Tiere.qxu"},
        {"steps (conflicted copy 2024-03-01 101500).csv", "steps.csv"},
        {"steps (Anna's conflicted copy 2024-03-01).csv", "steps.csv"},
        {"Meine Wörter (Konfliktkopie 2024-03-01).qxu", "Meine Wörter.qxu"},
        {"steps.csv", ""},
        {"Tiere (2).qxu", ""},
    };
    for (const auto& c : conflicts)
        EXPECT_EQ(TQVL_Sync_Files::ConflictOriginal(QString::fromUtf8(c.name)), QString::fromUtf8(c.original)) << c.name;

    for (const char* name : {".syncthing.steps.csv.tmp", "~syncthing~steps.csv.tmp", "steps.csv.part", ".~lock.x#",
                             "profile.qxs.tmp", ".steps.csv.swp"})
        EXPECT_TRUE(TQVL_Sync_Files::IsTemporary(QString::fromLatin1(name))) << name;
    for (const char* name : {"steps.csv", "reviews.csv", "profile.qxs", "origin.xml"})
        EXPECT_FALSE(TQVL_Sync_Files::IsTemporary(QString::fromLatin1(name))) << name;
}

TEST(SyncFiles, UnionOfLinesKeepsEveryLineOfBoth)
{
    const QByteArray mine = "h1\nh2\na\nb\nb\n";
    EXPECT_EQ(TQVL_Sync_Files::UnionOfLines(mine, "h1\nh2\na\nb\nc\nb\nd", 2), QByteArray("h1\nh2\na\nb\nb\nc\n"));
    EXPECT_EQ(TQVL_Sync_Files::UnionOfLines(mine, "h1\nh2\nb\n", 2), mine);
    // Another header: not a version of the same file.
    EXPECT_EQ(TQVL_Sync_Files::UnionOfLines(mine, "x1\nh2\nz\n", 2), mine);
}

TEST(SyncFiles, ASettledFileIsQuietAndUnchanged)
{
    TestFolders folders;
    QDir().mkpath(folders.Root());
    const QString file = folders.Root() + QStringLiteral("/steps.csv");
    TQVL_SafeFile::Write(file, "abc\n");
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    QByteArray bytes;
    EXPECT_FALSE(TQVL_Sync_Files::ReadSettled(file, 5000, now, bytes)) << "just written: the client may still write";
    EXPECT_TRUE(TQVL_Sync_Files::ReadSettled(file, 5000, now + 6000, bytes));
    EXPECT_EQ(bytes, QByteArray("abc\n"));
    const QString temporary = folders.Root() + QStringLiteral("/.syncthing.steps.csv.tmp");
    TQVL_SafeFile::Write(temporary, "abc\n");
    EXPECT_FALSE(TQVL_Sync_Files::ReadSettled(temporary, 0, now + 6000, bytes));
}

std::unique_ptr<TQVL_Card_Container> cards(std::initializer_list<std::pair<int, const char*>> list, int maxId = 0)
{
    auto container = std::make_unique<TQVL_Card_Container>();
    for (const auto& [uid, text] : list) {
        auto card = std::make_unique<TQVL_Card_Voc>();
        card->Uid = uid;
        card->foreign1 = QString::fromUtf8(text);
        container->Add(std::move(card));
        container->MaxCardId = std::max(container->MaxCardId, qint32(uid));
    }
    container->MaxCardId = std::max(container->MaxCardId, qint32(maxId));
    return container;
}

QStringList texts(const TQVL_Card_Container& container)
{
    QStringList result;
    for (int i = 0; i < container.Count(); ++i)
        result << QStringLiteral("%1=%2").arg(container.Card(i)->Uid).arg(
                      static_cast<const TQVL_Card_Voc*>(container.Card(i))->foreign1);
    return result;
}

TEST(SyncLessonMerge, ByCardId)
{
    const auto base = cards({{1, "dog"}, {2, "cat"}, {3, "cow"}, {4, "pig"}});
    // Here: 1 changed, 3 deleted, 5 added. There: 1 and 2 changed, 4 deleted, 5 added (another card), 6 added.
    const auto mine = cards({{1, "Hund"}, {2, "cat"}, {4, "pig"}, {5, "horse"}});
    const auto theirs = cards({{1, "hound"}, {2, "Katze"}, {3, "cow"}, {5, "sheep"}, {6, "goat"}});
    for (const bool theirsLater : {true, false}) {
        const TQVL_Sync_LessonMerge::Result result =
            TQVL_Sync_LessonMerge::Merge(base.get(), *mine, *theirs, theirsLater);
        EXPECT_EQ(texts(*result.Cards), QStringList({theirsLater ? "1=hound" : "1=Hund", "2=Katze", "5=horse",
                                                     "7=sheep", "6=goat"}))
            << theirsLater;
        EXPECT_EQ(result.ChangedOnBoth, QList<qint32>({1}));
        EXPECT_TRUE(result.ChangesMine);
        EXPECT_EQ(result.Cards->MaxCardId, 7);
    }
    const TQVL_Sync_LessonMerge::Result same = TQVL_Sync_LessonMerge::Merge(base.get(), *mine, *mine, true);
    EXPECT_FALSE(same.ChangesMine);
    EXPECT_TRUE(same.ChangedOnBoth.isEmpty());
    EXPECT_TRUE(TQVL_Sync_LessonMerge::Notice(QStringLiteral("Tiere"), {1, 4}).contains(QStringLiteral("1, 4")));
}

// One machine: its profile and lessons in its own folder.
struct Machine
{
    QString Folder;
    QString Device;
    QString Shared;
    qint64 Clock = 0;

    QString Profile() const { return Folder + QStringLiteral("/Benutzer/Anna.qxs"); }
    QString Lesson() const { return Folder + QStringLiteral("/Lektionen/Tiere.qxu"); }

    TQVL_Sync_Folder Engine()
    {
        TQVL_Sync_Folder sync;
        sync.SharedFolder = Shared;
        sync.DeviceId = Device;
        sync.QuietMs = 0;
        sync.Lessons = {Lesson()};
        return sync;
    }

    TQVL_Sync_Folder::Report Sync()
    {
        TQVL_User user;
        user.Open(Profile());
        EXPECT_TRUE(user.RequestWriteAccess());
        TQVL_Sync_Folder sync;
        sync.SharedFolder = Shared;
        sync.DeviceId = Device;
        sync.QuietMs = 0;
        sync.Lessons = {Lesson()};
        if (Clock)
            sync.NowMs = [this] { return Clock; };
        TQVL_Sync_Folder::Report report = sync.Run(user);
        user.CloseFile();
        return report;
    }

    // What a stored long-term query does: its steps first, then the profile.
    void Learn(TQVL_DateTime when, std::vector<TQVL_Result_Step::Card> answers)
    {
        TQVL_Result_Step step;
        step.Now = when;
        step.Device = Device;
        step.UnitUid = storage;
        step.FileName = QStringLiteral("Speicher.qxu");
        step.LongTermMode = true;
        step.ReferenceDate = TQVL_DateTime(std::floor(when.Serial()));
        step.Duration = 60;
        step.Cards = std::move(answers);
        TQVL_Result_Steps::Append(TQVL_Result_Steps::FileName(Profile(), Device), {step});
        TQVL_User user;
        user.Open(Profile());
        EXPECT_TRUE(user.RequestWriteAccess());
        step.ApplyTo(user.Results());
        user.Save();
        user.CloseFile();

        TQVL_ReviewLog_Writer log;
        log.Open(TQVL_ReviewLog::FileName(Profile(), Device));
        for (const TQVL_Result_Step::Card& card : step.Cards) {
            TQVL_ReviewLog_Entry entry;
            entry.TimeMs = qint64((when.Serial() - 25569.0) * 86400000.0);
            entry.Device = Device;
            entry.UnitUid = storage;
            entry.CardUid = card.CardUid;
            entry.Verdict = card.Right > 0 ? TQVL_ReviewVerdict::Right : TQVL_ReviewVerdict::Wrong;
            log.Append(entry);
        }
        log.Close();
    }

    QByteArray ResultsText() const
    {
        TQVL_User user;
        user.Open(Profile());
        TQVL_XMLStream stream(1);
        user.Results().WriteXML(stream);
        QByteArray text = stream.Finish();
        user.CloseFile();
        return text;
    }
};

class TwoMachines : public ::testing::Test
{
protected:
    void SetUp() override
    {
        a = {folders.Root() + QStringLiteral("/a"), deviceA, folders.Root() + QStringLiteral("/shared"), 0};
        b = {folders.Root() + QStringLiteral("/b"), deviceB, a.Shared, 0};
        for (const Machine* m : {&a, &b}) {
            QDir().mkpath(m->Folder + QStringLiteral("/Benutzer"));
            QDir().mkpath(m->Folder + QStringLiteral("/Lektionen"));
        }
        QDir().mkpath(a.Shared);
        TQVL_User user;
        user.NewFile(a.Profile());
        user.ResetToNewProfile(QStringLiteral("Anna"));
        user.Save();
        user.CloseFile();
        TQVL_Unit unit;
        unit.Typ = tVoc;
        for (const char* word : {"dog", "cat", "cow"})
            static_cast<TQVL_Card_Voc*>(unit.Cards->NewCard(tVoc))->foreign1 = QString::fromLatin1(word);
        unit.NewFile(a.Lesson());
        unit.CloseFile();
        // The learner's second machine starts as a copy of the first.
        for (const QString& name : {QStringLiteral("/Benutzer/Anna.qxs"), QStringLiteral("/Benutzer/Anna.crc"),
                                    QStringLiteral("/Lektionen/Tiere.qxu")})
            QFile::copy(a.Folder + name, b.Folder + name);
        a.Sync();
        b.Sync();
    }

    TestFolders folders;
    Machine a, b;
};

TEST_F(TwoMachines, BothLearnOfflineTheSameDayThenEveryAnswerCounts)
{
    // Tomorrow: after the origin the machines started from.
    const TQVL_DateTime day = TQVL_DateTime::FromDate(QDate::currentDate().addDays(1));
    TQVL_DateTime at[] = {TQVL_DateTime(day.Serial() + 10 / 24.0), TQVL_DateTime(day.Serial() + 11 / 24.0),
                          TQVL_DateTime(day.Serial() + 12 / 24.0)};
    // Card 1 right on A at 10:00 and on B at 11:00; card 2 wrong on A, then right on B at 12:00.
    a.Learn(at[0], {{1, 1, 1, 5}, {2, 2, 0, -3}});
    b.Learn(at[1], {{1, 1, 1, 4}});
    b.Learn(at[2], {{2, 1, 1, 2}});
    a.Sync();
    b.Sync();
    a.Sync();

    TQVL_User single;
    single.Open(a.Profile());
    const TQVL_Result_Unit* merged = single.Results().FindUnit(storage);
    ASSERT_NE(merged, nullptr);
    EXPECT_EQ(merged->all_queried, 5);
    EXPECT_EQ(merged->all_right, 3);
    EXPECT_EQ(merged->QueryCount(), 3);
    const TQVL_Result_Card* one = merged->FindCard(1);
    const TQVL_Result_Card* two = merged->FindCard(2);
    ASSERT_TRUE(one && two);
    // Stage 0 -> 1 on A, then 1 -> 2 on B: B's query continues from A's.
    EXPECT_EQ(one->stage, 2);
    EXPECT_EQ(one->all_queried, 2);
    EXPECT_EQ(two->stage, 1);
    EXPECT_EQ(two->all_queried, 3);
    EXPECT_EQ(two->all_right, 1);
    single.CloseFile();

    EXPECT_EQ(a.ResultsText(), b.ResultsText()) << "both machines show the same results";
    // Every answer of both machines is in each machine's logs, which the FSRS replay reads.
    for (const Machine* m : {&a, &b})
        EXPECT_EQ(TQVL_ReviewLog::ReadProfile(m->Profile()).Entries.size(), 4u) << m->Folder.toStdString();
    // A further run changes nothing.
    const QByteArray before = a.ResultsText();
    a.Sync();
    EXPECT_EQ(a.ResultsText(), before);
}

TEST_F(TwoMachines, ALessonEditedOnBoth)
{
    const auto edit = [](const Machine& m, const std::function<void(TQVL_Card_Container&)>& change) {
        TQVL_Unit unit;
        unit.Open(m.Lesson());
        ASSERT_TRUE(unit.RequestWriteAccess());
        change(*unit.Cards);
        unit.Save();
        unit.CloseFile();
    };
    const auto word = [](TQVL_Card_Container& cards, int uid) -> QString& {
        return static_cast<TQVL_Card_Voc*>(cards.FindByUid(uid))->foreign1;
    };
    edit(a, [&](TQVL_Card_Container& cards) {
        word(cards, 1) = QStringLiteral("Hund");
        cards.Delete(cards.IndexOf(cards.FindByUid(3)));
    });
    // B saves later.
    QThread::msleep(20);
    edit(b, [&](TQVL_Card_Container& cards) {
        word(cards, 1) = QStringLiteral("hound");
        word(cards, 2) = QStringLiteral("Katze");
        static_cast<TQVL_Card_Voc*>(cards.NewCard(tVoc))->foreign1 = QStringLiteral("horse");
    });
    a.Sync();
    const TQVL_Sync_Folder::Report report = b.Sync();
    a.Sync();
    ASSERT_EQ(report.Notices.size(), 1);
    EXPECT_TRUE(report.Notices[0].contains(QStringLiteral("Karten 1 gilt"))) << report.Notices[0].toStdString();
    for (const Machine* m : {&a, &b}) {
        TQVL_Unit unit;
        unit.Open(m->Lesson());
        EXPECT_EQ(texts(*unit.Cards), QStringList({"1=hound", "2=Katze", "4=horse"})) << m->Folder.toStdString();
    }
}

TEST_F(TwoMachines, AConflictCopyIsMergedThenRemoved)
{
    const TQVL_DateTime day(TQVL_DateTime::FromDate(QDate::currentDate().addDays(1)).Serial() + 10 / 24.0);
    b.Learn(day, {{1, 1, 1, 0}});
    b.Sync();
    // The sync client lost the race: B's step file in the shared folder is an
    // older version, the newer one sits beside it as a conflict copy.
    const QString folder = a.Shared + QStringLiteral("/Anna/") + deviceB;
    const QString steps = folder + QStringLiteral("/steps.csv");
    const QByteArray newer = TQVL_FileHandle::ReadWholeFile(steps);
    const QString copy = folder + QStringLiteral("/steps.sync-conflict-20240304-100500-ABCDEFG.csv");
    QFile::rename(steps, copy);
    TQVL_SafeFile::Write(steps, TQVL_Result_Steps::Header());
    const TQVL_Sync_Folder::Report report = a.Sync();
    EXPECT_EQ(report.ConflictCopies, 1);
    EXPECT_FALSE(QFileInfo::exists(copy));
    TQVL_User user;
    user.Open(a.Profile());
    const TQVL_Result_Unit* unit = user.Results().FindUnit(storage);
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->all_queried, 1) << "the answer given on B only reached A through the conflict copy";
}

TEST_F(TwoMachines, AMergeKilledAtAnyMomentIsCompletedByTheNextRun)
{
    const TQVL_DateTime day(TQVL_DateTime::FromDate(QDate::currentDate().addDays(1)).Serial() + 10 / 24.0);
    a.Learn(day, {{1, 1, 1, 0}, {2, 1, 0, 0}});
    b.Learn(TQVL_DateTime(day.Serial() + 0.01), {{1, 1, 1, 0}});
    b.Sync();
    // Every attempt starts from the same files: A's folder and the shared one are copied aside.
    const QString pristine = folders.Root() + QStringLiteral("/pristine");
    const auto copyTree = [](const QString& from, const QString& to) {
        QDir(to).removeRecursively();
        const int status = std::system(qPrintable(QStringLiteral("cp -a '%1' '%2'").arg(from, to)));
        ASSERT_EQ(status, 0);
    };
    copyTree(a.Folder, pristine + QStringLiteral("-a"));
    copyTree(a.Shared, pristine + QStringLiteral("-shared"));
    int killed = 0;
    for (int attempt = 0; attempt < 25; ++attempt) {
        copyTree(pristine + QStringLiteral("-a"), a.Folder);
        copyTree(pristine + QStringLiteral("-shared"), a.Shared);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            a.Sync();
            ::_exit(0);
        }
        ::usleep(useconds_t(QRandomGenerator::global()->bounded(30000)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        killed += WIFSIGNALED(status) ? 1 : 0;
        // Stale temporaries of the killed save are a few seconds old before they go; they never count.
        a.Sync();
        TQVL_User user;
        user.Open(a.Profile());
        const TQVL_Result_Unit* unit = user.Results().FindUnit(storage);
        ASSERT_NE(unit, nullptr) << attempt;
        EXPECT_EQ(unit->all_queried, 3) << attempt;
        ASSERT_NE(unit->FindCard(1), nullptr);
        EXPECT_EQ(unit->FindCard(1)->stage, 2) << attempt;
        user.CloseFile();
    }
    EXPECT_GT(killed, 0) << "no run was killed in the middle";
}

TEST(SyncStatus, TheLineSaysWhenAndWhatWaits)
{
    const qint64 now = 1760000000000;
    const struct
    {
        TQVL_Sync_Status status;
        const char* text;
    } cases[] = {
        {{false, false, now - 2 * 60000 - 5000, 0}, "Synchronisiert vor 2 Minuten"},
        {{false, false, now - 61000, 0}, "Synchronisiert vor 1 Minute"},
        {{false, false, now - 20000, 0}, "Synchronisiert vor wenigen Sekunden"},
        {{false, false, now - 3 * 3600000, 1}, "Synchronisiert vor 3 Stunden – 1 Antwort wartet"},
        {{false, false, now - 50 * 3600000, 0}, "Synchronisiert vor 2 Tagen"},
        {{false, true, now - 60000, 14}, "Offline – 14 Antworten warten"},
        {{false, true, 0, 0}, "Offline"},
        {{false, false, 0, 3}, "Noch nicht synchronisiert"},
        {{true, true, now, 14}, "Synchronisiere …"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.status.Text(now).toStdString(), c.text);
}

TEST_F(TwoMachines, PreparedOnAnotherThreadFromACopyThenApplied)
{
    const TQVL_DateTime day(TQVL_DateTime::FromDate(QDate::currentDate().addDays(1)).Serial() + 10 / 24.0);
    b.Learn(day, {{1, 1, 1, 0}, {2, 1, 0, 0}});
    b.Sync();
    TQVL_User user;
    user.Open(a.Profile());
    ASSERT_TRUE(user.RequestWriteAccess());
    TQVL_Sync_Folder sync = a.Engine();
    std::vector<int> seen;
    sync.OnProgress = [&seen](int percent) { seen.push_back(percent); };
    const std::unique_ptr<TQVL_User> copy = TQVL_Sync_Folder::Detach(user);
    TQVL_Sync_Folder::Merge merge;
    std::thread worker([&] { merge = sync.Prepare(*copy); });
    worker.join();
    EXPECT_EQ(user.Results().FindUnit(storage), nullptr) << "Prepare leaves the profile alone";
    ASSERT_TRUE(sync.Apply(user, merge));
    ASSERT_NE(user.Results().FindUnit(storage), nullptr);
    EXPECT_EQ(user.Results().FindUnit(storage)->all_queried, 2);
    user.CloseFile();
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 100);
    EXPECT_EQ(a.ResultsText(), b.ResultsText());
}

TEST_F(TwoMachines, AMergeIsOutOfDateOnceAQueryStoredItsStepsOrTheSettingsChanged)
{
    const TQVL_DateTime day(TQVL_DateTime::FromDate(QDate::currentDate().addDays(1)).Serial() + 10 / 24.0);
    b.Learn(day, {{1, 1, 1, 0}});
    b.Sync();
    const TQVL_Sync_Folder sync = a.Engine();
    {
        TQVL_User user;
        user.Open(a.Profile());
        TQVL_Sync_Folder::Merge merge = sync.Prepare(*TQVL_Sync_Folder::Detach(user));
        user.CloseFile();
        // The learner finished a query on A while the merge was being computed.
        a.Learn(TQVL_DateTime(day.Serial() + 0.01), {{2, 1, 1, 0}});
        user.Open(a.Profile());
        ASSERT_TRUE(user.RequestWriteAccess());
        const QByteArray before = ReadFile(a.Profile());
        EXPECT_FALSE(sync.Apply(user, merge)) << "it would have dropped the query just stored";
        EXPECT_EQ(ReadFile(a.Profile()), before);

        merge = sync.Prepare(user);
        user.name = QStringLiteral("Anna B.");
        EXPECT_FALSE(sync.Apply(user, merge)) << "it would have undone the renaming";
        merge = sync.Prepare(user);
        ASSERT_TRUE(sync.Apply(user, merge));
        EXPECT_EQ(user.Results().FindUnit(storage)->all_queried, 2) << "both queries, A's and B's";
        user.CloseFile();
    }
}

TEST_F(TwoMachines, AnswersWaitWhileTheSharedFolderIsOutOfReach)
{
    const TQVL_DateTime day(TQVL_DateTime::FromDate(QDate::currentDate().addDays(1)).Serial() + 10 / 24.0);
    EXPECT_EQ(TQVL_Sync_Folder::WaitingAnswers(a.Profile(), a.Device), 0);
    a.Learn(day, {{1, 1, 1, 0}, {2, 1, 0, 0}});
    EXPECT_EQ(TQVL_Sync_Folder::WaitingAnswers(a.Profile(), a.Device), 2);
    a.Sync();
    EXPECT_EQ(TQVL_Sync_Folder::WaitingAnswers(a.Profile(), a.Device), 0);

    // The folder's drive is not there: the run is refused with the folder named, the answers wait.
    const QString away = a.Shared + QStringLiteral("-weg");
    ASSERT_TRUE(QDir().rename(a.Shared, away));
    a.Learn(TQVL_DateTime(day.Serial() + 0.01), {{3, 1, 1, 0}});
    TQVL_User user;
    user.Open(a.Profile());
    ASSERT_TRUE(user.RequestWriteAccess());
    EXPECT_EQ(ErrorOf([&] { a.Engine().Run(user); }),
              QStringLiteral("Der Synchronisationsordner \"%1\" ist nicht erreichbar!").arg(a.Shared));
    user.CloseFile();
    EXPECT_EQ(TQVL_Sync_Folder::WaitingAnswers(a.Profile(), a.Device), 1);
    ASSERT_TRUE(QDir().rename(away, a.Shared));
    a.Sync();
    EXPECT_EQ(TQVL_Sync_Folder::WaitingAnswers(a.Profile(), a.Device), 0);
    b.Sync();
    EXPECT_EQ(TQVL_ReviewLog::ReadProfile(b.Profile()).Entries.size(), 3u);
}

TEST_F(TwoMachines, ALessonBeingEditedIsMergedAtALaterRun)
{
    {
        TQVL_Unit unit;
        unit.Open(b.Lesson());
        ASSERT_TRUE(unit.RequestWriteAccess());
        static_cast<TQVL_Card_Voc*>(unit.Cards->FindByUid(2))->foreign1 = QStringLiteral("Katze");
        unit.Save();
        unit.CloseFile();
    }
    b.Sync();
    // A's editor holds the lesson: the run goes on without it and says so.
    TQVL_Unit editor;
    editor.Open(a.Lesson());
    ASSERT_TRUE(editor.RequestWriteAccess());
    const TQVL_Sync_Folder::Report report = a.Sync();
    ASSERT_EQ(report.Notices.size(), 1);
    EXPECT_TRUE(report.Notices[0].contains(QStringLiteral("wird gerade bearbeitet"))) << report.Notices[0].toStdString();
    EXPECT_TRUE(report.ChangedLessons.isEmpty());
    editor.CloseFile();
    const TQVL_Sync_Folder::Report later = a.Sync();
    EXPECT_EQ(later.ChangedLessons, QStringList{a.Lesson()});
    TQVL_Unit unit;
    unit.Open(a.Lesson());
    EXPECT_EQ(texts(*unit.Cards), QStringList({"1=dog", "2=Katze", "3=cow"}));
    unit.CloseFile();
}

} // namespace

