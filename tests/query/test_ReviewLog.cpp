// The review log keeps every answer a query was given: what was written reads
// back, a killed writer never costs an earlier answer, and a log of another
// format or version is refused rather than misread.
#include "core/QVL_SafeFile.h"
#include "query/QVL_FSRS_Replay.h"
#include "query/QVL_ReviewLog.h"
#include "query/QVL_ReviewLog_Writer.h"
#include "tests/support/TestErrors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString device = QStringLiteral("0123456789abcdef0123456789abcdef");

TQVL_ReviewLog_Entry answer(qint32 card, qint64 timeMs = 1733900000000)
{
    TQVL_ReviewLog_Entry entry;
    entry.TimeMs = timeMs;
    entry.Device = device;
    entry.UnitUid = QStringLiteral("{6F1C2A3B-0000-4000-8000-00000000002A}");
    entry.CardUid = card;
    entry.Verdict = TQVL_ReviewVerdict::Right;
    entry.AnswerMs = 2350;
    entry.StateBefore = TQVL_ReviewState::Review;
    entry.StageAfter = 3;
    entry.Stability = 12.34567891;
    entry.Difficulty = 4.5;
    return entry;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void appendBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
    file.write(bytes);
}

class ReviewLog : public testing::Test
{
protected:
    QString Path(const QString& name = QStringLiteral("Anna.%1.reviews.csv").arg(device)) const
    {
        return dir.path() + QLatin1Char('/') + name;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(ReviewLog, WhatIsWrittenReadsBack)
{
    std::vector<TQVL_ReviewLog_Entry> entries;
    entries.push_back(answer(1));
    TQVL_ReviewLog_Entry lesson = answer(2, -5);
    lesson.StageAfter = -1;
    lesson.Stability = lesson.Difficulty = 0.0;
    lesson.StateBefore = TQVL_ReviewState::New;
    lesson.Verdict = TQVL_ReviewVerdict::SelfWrong;
    entries.push_back(lesson);
    // Text from a file may hold anything CSV must quote.
    TQVL_ReviewLog_Entry odd = answer(-7, 4102444800000);
    odd.UnitUid = QStringLiteral("a,b \"c\"\nd\\n\r\nü\\");
    odd.Verdict = TQVL_ReviewVerdict::AlmostRight;
    odd.StateBefore = TQVL_ReviewState::Relearning;
    odd.Stability = 0.001;
    odd.Difficulty = 10.0;
    odd.StageAfter = 2147483647;
    entries.push_back(odd);
    for (TQVL_ReviewVerdict verdict : {TQVL_ReviewVerdict::Wrong, TQVL_ReviewVerdict::SelfRight}) {
        TQVL_ReviewLog_Entry e = answer(9);
        e.Verdict = verdict;
        e.StateBefore = TQVL_ReviewState::Learning;
        e.Stability = 1.0 / 3.0;
        e.Difficulty = 2.0 / 3.0;
        entries.push_back(e);
    }
    {
        TQVL_ReviewLog_Writer writer;
        writer.Open(Path());
        for (const TQVL_ReviewLog_Entry& e : entries)
            writer.Append(e);
    }
    const TQVL_ReviewLog::Contents read = TQVL_ReviewLog::Read(Path());
    EXPECT_EQ(read.DamagedLines, 0);
    EXPECT_FALSE(read.TornTail);
    ASSERT_EQ(read.Entries.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(read.Entries[i], entries[i]) << "entry " << i;
    // Readable text with the version on its first line.
    const QByteArray bytes = TQVL_FileHandle::ReadWholeFile(Path());
    EXPECT_TRUE(bytes.startsWith("# Quorvel review log, version 1\ntime_ms,device,unit_uid,card_uid,verdict,"));
    EXPECT_TRUE(bytes.contains("\n1733900000000,0123456789abcdef0123456789abcdef,{6F1C2A3B-0000-4000-8000-"
                               "00000000002A},1,right,2350,review,3,12.34567891,4.5\n"));
    EXPECT_TRUE(bytes.contains(",2,self-wrong,2350,new,,,\n"));
}

TEST_F(ReviewLog, AnOverriddenVerdictIsKeptAndAnUndoneAnswerDropped)
{
    TQVL_ReviewLog_Entry typo = answer(1);
    typo.Verdict = TQVL_ReviewVerdict::AlmostRight;
    typo.Overridden = true;
    TQVL_ReviewLog_Entry undone = answer(2, typo.TimeMs + 5000);
    undone.Verdict = TQVL_ReviewVerdict::Wrong;
    TQVL_ReviewLog_Entry again = answer(2, typo.TimeMs + 9000);
    {
        TQVL_ReviewLog_Writer writer;
        writer.Open(Path());
        writer.Append(typo);
        // The same card and time twice: the undo takes the later one back.
        writer.Append(undone);
        writer.Append(undone);
        writer.AppendUndo(undone);
        writer.Append(again);
    }
    const QByteArray bytes = TQVL_FileHandle::ReadWholeFile(Path());
    EXPECT_TRUE(bytes.contains(",1,almost-overridden,2350,")) << bytes.constData();
    EXPECT_TRUE(bytes.contains(",2,undo,2350,")) << "the log only grows";
    TQVL_ReviewLog::Contents read = TQVL_ReviewLog::Read(Path());
    EXPECT_EQ(read.DamagedLines, 0);
    EXPECT_EQ(read.Entries, (std::vector<TQVL_ReviewLog_Entry>{typo, undone, again}));
    EXPECT_EQ(TQVL_FSRS_Replay::RatingOf(typo), TQVL_FSRS_Rating::Good) << "overridden counts as right";
    EXPECT_EQ(TQVL_FSRS_Replay::RatingOf(undone), TQVL_FSRS_Rating::Again);

    // Only a wrong or almost-right verdict can be overridden; an undo needs its answer in the same file.
    appendBytes(Path(), "1,dev,unit,1,right-overridden,5,new,,,\n"
                        "1,dev,unit,1,self-wrong-overridden,5,new,,,\n"
                        "1,dev,unit,1,wrong-overridden-overridden,5,new,,,\n"
                        "1,dev,unit,1,undo,5,new,,,\n");
    read = TQVL_ReviewLog::Read(Path());
    EXPECT_EQ(read.DamagedLines, 4);
    EXPECT_EQ(read.Entries.size(), 3u);
}

TEST_F(ReviewLog, ATornLastLineIsDroppedAndTheNextWriterStartsOnANewLine)
{
    {
        TQVL_ReviewLog_Writer writer;
        writer.Open(Path());
        writer.Append(answer(1));
        writer.Append(answer(2));
    }
    QByteArray third;
    TQVL_ReviewLog::AppendLine(third, answer(3));
    appendBytes(Path(), third.left(third.size() / 2));

    TQVL_ReviewLog::Contents read = TQVL_ReviewLog::Read(Path());
    EXPECT_TRUE(read.TornTail);
    EXPECT_EQ(read.DamagedLines, 0);
    ASSERT_EQ(read.Entries.size(), 2u);

    {
        TQVL_ReviewLog_Writer writer;
        writer.Open(Path());
        writer.Append(answer(4));
    }
    read = TQVL_ReviewLog::Read(Path());
    EXPECT_FALSE(read.TornTail);
    EXPECT_EQ(read.DamagedLines, 0) << "the new answer was glued onto the torn one";
    ASSERT_EQ(read.Entries.size(), 3u);
    EXPECT_EQ(read.Entries[2].CardUid, 4);
}

TEST_F(ReviewLog, ATornHeaderIsAnEmptyLogThatTheWriterCompletes)
{
    const QByteArray header = TQVL_ReviewLog::Header();
    for (const qsizetype cut : {qsizetype(0), qsizetype(5), header.indexOf('\n') + 1, header.size() - 1}) {
        writeFile(Path(), header.left(cut));
        const TQVL_ReviewLog::Contents read = TQVL_ReviewLog::Read(Path());
        EXPECT_TRUE(read.Entries.empty());
        EXPECT_EQ(read.TornTail, cut > 0) << cut;
        TQVL_ReviewLog_Writer writer;
        writer.Open(Path());
        writer.Append(answer(1));
        writer.Close();
        ASSERT_EQ(TQVL_ReviewLog::Read(Path()).Entries.size(), 1u) << cut;
    }
}

TEST_F(ReviewLog, ADamagedLineIsSkippedAndCounted)
{
    {
        TQVL_ReviewLog_Writer writer;
        writer.Open(Path());
        writer.Append(answer(1));
    }
    // Each line a fault of its own: a field too few or too many, words and
    // numbers that are none, half a memory state, an open quote.
    appendBytes(Path(), "1,dev,unit,1,right,5,new,,\n"
                        "1,dev,unit,1,right,5,new,,,,\n"
                        "1,dev,unit,1,maybe,5,new,,,\n"
                        "1,dev,unit,1,right,5,old,,,\n"
                        "x,dev,unit,1,right,5,new,,,\n"
                        "1,dev,unit,1,right,-5,new,,,\n"
                        "1,dev,unit,1,right,5,new,,3,\n"
                        "1,dev,unit,1,right,5,new,,nan,1\n"
                        "1,dev,\"unit,1,right,5,new,,,\n"
                        "1,,unit,1,right,5,new,,,\n"
                        "\n");
    {
        TQVL_ReviewLog_Writer writer;
        writer.Open(Path());
        writer.Append(answer(2));
    }
    const TQVL_ReviewLog::Contents read = TQVL_ReviewLog::Read(Path());
    EXPECT_EQ(read.DamagedLines, 10);
    ASSERT_EQ(read.Entries.size(), 2u);
    EXPECT_EQ(read.Entries[1].CardUid, 2);
}

TEST_F(ReviewLog, ALogOfAnotherVersionOrFormatIsRefusedWithAGermanMessage)
{
    struct Case
    {
        QByteArray bytes;
        QString message;
    };
    const Case cases[] = {
        {"# Quorvel review log, version 2\ntime_ms,device,future_column\n1,2,3\n",
         QStringLiteral("Das Antwortprotokoll \"%1\" hat die Version 2. Dieses Programm kann nur Antwortprotokolle der "
                        "Version 1 lesen. Bitte aktualisieren Sie Quorvel.")},
        {"card;unit;time\n1;2;3\n", QStringLiteral("Die Datei \"%1\" ist kein gültiges Antwortprotokoll!")},
        {"# Quorvel review log, version 1\ntime_ms,device\n", QStringLiteral("Die Datei \"%1\" ist kein gültiges "
                                                                             "Antwortprotokoll!")},
    };
    for (const Case& c : cases) {
        writeFile(Path(), c.bytes);
        const QString expected = c.message.arg(Path());
        EXPECT_EQ(ErrorOf([&] { TQVL_ReviewLog::Read(Path()); }), expected);
        TQVL_ReviewLog_Writer writer;
        EXPECT_EQ(ErrorOf([&] { writer.Open(Path()); }), expected);
        EXPECT_FALSE(writer.IsOpen());
        EXPECT_EQ(TQVL_FileHandle::ReadWholeFile(Path()), c.bytes) << "a refused log must stay as it is";
    }
}

TEST_F(ReviewLog, OnlyOneWriterAtATime)
{
    TQVL_ReviewLog_Writer first;
    first.Open(Path());
    TQVL_ReviewLog_Writer second;
    EXPECT_EQ(
        ErrorOf([&] { second.Open(Path()); }),
        QStringLiteral("Das Antwortprotokoll \"%1\" wird gerade von einem anderen Programm geschrieben.").arg(Path()));
    first.Close();
    EXPECT_NO_THROW(second.Open(Path()));
}

TEST_F(ReviewLog, AProfileReadsTheLogsOfAllItsDevicesInTimeOrder)
{
    const QString profile = Path(QStringLiteral("Anna.qxs"));
    const QString other = QStringLiteral("fedcba9876543210fedcba9876543210");
    const auto write = [](const QString& path, const QString& dev, std::initializer_list<qint64> times) {
        TQVL_ReviewLog_Writer writer;
        writer.Open(path);
        for (const qint64 t : times) {
            TQVL_ReviewLog_Entry e = answer(int(t), t);
            e.Device = dev;
            writer.Append(e);
        }
    };
    write(TQVL_ReviewLog::FileName(profile, device), device, {10, 30, 50});
    write(TQVL_ReviewLog::FileName(profile, other), other, {20, 40});
    // The profile "Anna.b" and stray files are not Anna's.
    write(TQVL_ReviewLog::FileName(Path(QStringLiteral("Anna.b.qxs")), device), device, {25});
    writeFile(Path(QStringLiteral("Anna.nodevice.reviews.csv")), "x\n");

    EXPECT_EQ(TQVL_ReviewLog::FileName(profile, device), Path(QStringLiteral("Anna.%1.reviews.csv").arg(device)));
    EXPECT_EQ(TQVL_ReviewLog::FilesOf(profile).size(), 2);
    const TQVL_ReviewLog::Contents read = TQVL_ReviewLog::ReadProfile(profile);
    std::vector<qint64> times;
    for (const TQVL_ReviewLog_Entry& e : read.Entries)
        times.push_back(e.TimeMs);
    EXPECT_EQ(times, (std::vector<qint64>{10, 20, 30, 40, 50}));
    EXPECT_EQ(read.Entries[1].Device, other);
}

// The writing child is killed at random moments, again and again; after each
// kill the log reads without an error, holds every answer written before in
// order, and the next writer goes on after them.
TEST_F(ReviewLog, AKilledWriterNeverLosesAnEarlierAnswer)
{
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> delayMicroseconds(0, 40000);
    int kept = 0;
    int grew = 0;
    const int rounds = 120;
    for (int round = 0; round < rounds; ++round) {
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                const int start = int(TQVL_ReviewLog::Read(Path()).Entries.size());
                TQVL_ReviewLog_Writer writer;
                // Flushes often, so kills land inside a flush too.
                writer.SyncIntervalMs = 1;
                writer.Open(Path());
                for (int k = start;; ++k) {
                    writer.Append(answer(k, 1733900000000 + k));
                    if (k == start && ::write(started[1], "x", 1) != 1)
                        ::_exit(3);
                }
            } catch (...) {
                ::_exit(2);
            }
        }
        // The delay counts from the child's first answer, so a busy machine still lets it write.
        ::close(started[1]);
        char byte = 0;
        const bool wrote = ::read(started[0], &byte, 1) == 1;
        ::close(started[0]);
        ::usleep(useconds_t(delayMicroseconds(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(wrote && WIFSIGNALED(status)) << "the writing child failed by itself, exit " << WEXITSTATUS(status);

        TQVL_ReviewLog::Contents read;
        ASSERT_NO_THROW(read = TQVL_ReviewLog::Read(Path())) << "round " << round;
        ASSERT_EQ(read.DamagedLines, 0) << "round " << round;
        ASSERT_GE(int(read.Entries.size()), kept) << "round " << round << ": an earlier answer was lost";
        for (int i = 0; i < int(read.Entries.size()); ++i)
            ASSERT_EQ(read.Entries[std::size_t(i)].CardUid, i) << "round " << round;
        if (int(read.Entries.size()) > kept)
            ++grew;
        kept = int(read.Entries.size());
    }
    EXPECT_GT(grew, rounds / 4) << "the children must really have written";
}
