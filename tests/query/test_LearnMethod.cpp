// A long-term storage learned with FSRS: the choice is kept in the profile
// only when made (an older profile means the stages, and a storage that keeps
// the stages is written as before), and its due cards follow the memory
// state replayed from the review logs.
#include "core/QVL_XML.h"
#include "query/QVL_FSRS_Replay.h"
#include "query/QVL_Result_User.h"
#include "query/QVL_ReviewLog.h"
#include "query/QVL_ReviewLog_Writer.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray saved(const TQVL_Result_User& results)
{
    TQVL_XML document;
    document.Version = 1;
    results.SaveToXML(*document.Root->AddChild(QStringLiteral("results")));
    return document.SaveToBytes();
}

void load(TQVL_Result_User& results, const QByteArray& bytes)
{
    TQVL_XML document;
    document.LoadFromBytes(bytes);
    results.LoadFromXML(document.Root->NeedChild(QStringLiteral("results")));
}

const QByteArray storage = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>1</version>\r\n"
                           "  <results>\r\n"
                           "    <lastdeletion_date>30.12.1899</lastdeletion_date>\r\n"
                           "    <units>\r\n"
                           "      <unit>\r\n"
                           "        <last_queried>0</last_queried>\r\n"
                           "        <last_right>0</last_right>\r\n"
                           "        <all_queried>0</all_queried>\r\n"
                           "        <all_right>0</all_right>\r\n"
                           "        <unit_uid>S</unit_uid>\r\n"
                           "        <unit_lastknownfilename>/s/eng.qxs</unit_lastknownfilename>\r\n"
                           "        <lastquerydate>09.03.2024 17:45:30</lastquerydate>\r\n"
                           "        <longtermstorage>true</longtermstorage>\r\n"
                           "        <queries/>\r\n"
                           "        <cards/>\r\n"
                           "      </unit>\r\n"
                           "    </units>\r\n"
                           "  </results>\r\n"
                           "</root>\r\n";

class LearnMethod : public testing::Test
{
protected:
    void SetUp() override
    {
        TQVL_DateTime::SetClock([] { return QDateTime(QDate(2024, 3, 10), QTime(12, 0)); });
    }
    void TearDown() override { TQVL_DateTime::SetClock({}); }

    // An answer of storage "S" given to a card in review.
    static TQVL_ReviewLog_Entry answer(const QString& device, qint32 card, qint64 timeMs, TQVL_ReviewVerdict verdict)
    {
        TQVL_ReviewLog_Entry e;
        e.Device = device;
        e.UnitUid = QStringLiteral("S");
        e.CardUid = card;
        e.TimeMs = timeMs;
        e.Verdict = verdict;
        e.StateBefore = TQVL_ReviewState::Review;
        return e;
    }

    static qint64 daysAgo(double days)
    {
        return TQVL_FSRS_Replay::ToMs(TQVL_DateTime(TQVL_DateTime::Now().Serial() - days));
    }
};

} // namespace

TEST_F(LearnMethod, TheChoiceIsStoredOnlyWhenMadeAndSwitchingBackLosesNothing)
{
    TQVL_Result_User results;
    load(results, storage);
    TQVL_Result_Unit& unit = results.Unit(0);
    EXPECT_EQ(unit.learnmethod, TQVL_LearnMethod::Stages) << "an older profile learns with the stages";
    EXPECT_EQ(unit.desiredretention, 0.9);
    EXPECT_EQ(saved(results), storage);

    unit.learnmethod = TQVL_LearnMethod::FSRS;
    unit.desiredretention = 0.85;
    const QByteArray withFsrs = saved(results);
    EXPECT_TRUE(withFsrs.contains("<longtermstorage>true</longtermstorage>\r\n"
                                  "        <learnmethod>fsrs</learnmethod>\r\n"
                                  "        <desiredretention>0.85</desiredretention>\r\n"));
    TQVL_Result_User reread;
    load(reread, withFsrs);
    EXPECT_EQ(reread.Unit(0).learnmethod, TQVL_LearnMethod::FSRS);
    EXPECT_EQ(reread.Unit(0).desiredretention, 0.85);

    unit.learnmethod = TQVL_LearnMethod::Stages;
    unit.desiredretention = 0.9;
    EXPECT_EQ(saved(results), storage) << "back on the stages, the profile is written as before";

    // A method of a later program keeps the stages; a retention out of range is brought into it.
    const struct
    {
        const char* method;
        const char* retention;
        TQVL_LearnMethod expected;
        double expectedRetention;
    } cases[] = {
        {"sm2", "0.9", TQVL_LearnMethod::Stages, 0.9},   {"fsrs", "5", TQVL_LearnMethod::FSRS, 0.97},
        {"fsrs", "0.1", TQVL_LearnMethod::FSRS, 0.7},    {"fsrs", "viel", TQVL_LearnMethod::FSRS, 0.9},
        {"fsrs", "nan", TQVL_LearnMethod::FSRS, 0.9},    {"stages", "0.9000001", TQVL_LearnMethod::Stages, 0.9},
        {"fsrs", "0.855", TQVL_LearnMethod::FSRS, 0.86},
    };
    for (const auto& c : cases) {
        QByteArray bytes = storage;
        bytes.replace("<longtermstorage>true</longtermstorage>",
                      QByteArray("<longtermstorage>true</longtermstorage><learnmethod>") + c.method +
                          "</learnmethod><desiredretention>" + c.retention + "</desiredretention>");
        load(reread, bytes);
        EXPECT_EQ(reread.Unit(0).learnmethod, c.expected) << c.method;
        EXPECT_EQ(reread.Unit(0).desiredretention, c.expectedRetention) << c.retention;
    }
}

TEST_F(LearnMethod, DueCardsFollowTheStorageMethod)
{
    QTemporaryDir dir;
    const QString profile = dir.path() + QStringLiteral("/Anna.qxs");
    const QString device = QStringLiteral("0123456789abcdef0123456789abcdef");
    TQVL_Result_User results;
    results.ReviewLogProfile = profile;
    TQVL_Result_Unit& unit = results.GetOrCreateUnit(QStringLiteral("S"));
    unit.longtermstorage = true;
    // 1: high on the stages, but forgotten two days ago.
    TQVL_Result_Card& one = unit.GetOrCreateCard(1);
    one.stage = 5;
    one.all_queried = one.all_right = 6;
    one.lastquery = TQVL_DateTime(TQVL_DateTime::Now().Serial() - 2);
    // 2: back on stage 0 yesterday, but learned anew since, and FSRS waits two days.
    TQVL_Result_Card& two = unit.GetOrCreateCard(2);
    two.all_queried = 3;
    two.lastquery = TQVL_DateTime(TQVL_DateTime::Now().Serial() - 1);
    // 3: never asked: due either way.
    unit.GetOrCreateCard(3);
    // 4: stage 1 two days ago, remembered well enough for FSRS to wait.
    TQVL_Result_Card& four = unit.GetOrCreateCard(4);
    four.stage = 1;
    four.all_queried = four.all_right = 1;
    four.lastquery = one.lastquery;

    {
        TQVL_ReviewLog_Writer writer;
        writer.Open(TQVL_ReviewLog::FileName(profile, device));
        TQVL_ReviewLog_Entry e;
        e.Device = device;
        e.UnitUid = QStringLiteral("S");
        e.CardUid = 1;
        e.TimeMs = daysAgo(2);
        e.Verdict = TQVL_ReviewVerdict::Wrong;
        e.StateBefore = TQVL_ReviewState::Review;
        e.Stability = 4.0;
        e.Difficulty = 6.0;
        writer.Append(e);
        e.CardUid = 4;
        e.Verdict = TQVL_ReviewVerdict::Right;
        e.Stability = 30.0;
        e.Difficulty = 3.0;
        writer.Append(e);
        e.CardUid = 2;
        e.StateBefore = TQVL_ReviewState::New;
        e.Stability = e.Difficulty = 0.0;
        e.Verdict = TQVL_ReviewVerdict::Right;
        e.TimeMs = daysAgo(1);
        writer.Append(e);
        e.StateBefore = TQVL_ReviewState::Learning;
        e.TimeMs = daysAgo(1) + 600000;
        writer.Append(e);
    }

    int count = 0;
    EXPECT_TRUE(unit.CountDueToday(count));
    EXPECT_EQ(count, 3) << "the stages: cards 2, 3 and 4";
    unit.learnmethod = TQVL_LearnMethod::FSRS;
    const std::unique_ptr<TQVL_FSRS_Replay> replay = results.ReplayFSRS(unit);
    ASSERT_TRUE(replay);
    const TQVL_DateTime now = TQVL_DateTime::Now();
    EXPECT_TRUE(replay->IsDue(1, &one, now));
    EXPECT_FALSE(replay->IsDue(2, &two, now));
    EXPECT_TRUE(replay->IsDue(3, unit.FindCard(3), now));
    EXPECT_FALSE(replay->IsDue(4, &four, now));
    count = 0;
    EXPECT_TRUE(unit.CountDueToday(count));
    EXPECT_EQ(count, 2) << "FSRS: cards 1 and 3";
    count = 0;
    EXPECT_TRUE(results.CountDueInStorages(count));
    EXPECT_EQ(count, 2);
    // The logs read for those counts are kept only until one of them grows.
    {
        TQVL_ReviewLog_Writer writer;
        writer.Open(TQVL_ReviewLog::FileName(profile, device));
        writer.Append(answer(device, 4, daysAgo(0), TQVL_ReviewVerdict::Wrong));
    }
    EXPECT_EQ(unit.CountDueAt({now, TQVL_DateTime(now.Serial() + 60)}), (std::vector<int>{3, 4}))
        << "card 4 forgotten now; in two months every card";

    // A log this program cannot read leaves the stages, which were kept all along.
    QFile other(TQVL_ReviewLog::FileName(profile, QStringLiteral("fedcba9876543210fedcba9876543210")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("# Quorvel review log, version 2\n");
    other.close();
    EXPECT_FALSE(results.ReplayFSRS(unit));
    count = 0;
    unit.CountDueToday(count);
    EXPECT_EQ(count, 3);
}

TEST_F(LearnMethod, FittedWeightsAreKeptWithTheStorageAndScheduleItsCards)
{
    QTemporaryDir dir;
    const QString profile = dir.path() + QStringLiteral("/Anna.qxs");
    TQVL_Result_User results;
    load(results, storage);
    results.ReviewLogProfile = profile;
    TQVL_Result_Unit& unit = results.Unit(0);
    EXPECT_FALSE(unit.fsrsparameters) << "a profile without fitted weights uses the defaults";
    EXPECT_EQ(unit.FSRSParameters().W, TQVL_FSRS::Parameters{}.W);

    std::array<double, 21> fitted = TQVL_FSRS::Parameters{}.W;
    fitted[0] = 0.1 / 3.0;
    fitted[2] = 7.5;
    fitted[8] = 2.0000000000000004;
    unit.fsrsparameters = fitted;
    const QByteArray withWeights = saved(results);
    EXPECT_TRUE(withWeights.contains("<longtermstorage>true</longtermstorage>\r\n        <fsrsparameters>"
                                     "0.03333333333333333,1.2931,7.5,8.2956,6.4133,0.8334,3.0194,0.001,"
                                     "2.0000000000000004,0.1666,0.796,1.4835,0.0614,0.2629,1.6483,0.6014,"
                                     "1.8729,0.5425,0.0912,0.0658,0.1542</fsrsparameters>\r\n"))
        << withWeights.toStdString();
    TQVL_Result_User reread;
    load(reread, withWeights);
    ASSERT_TRUE(reread.Unit(0).fsrsparameters);
    EXPECT_EQ(*reread.Unit(0).fsrsparameters, fitted) << "every weight reads back as the same double";

    // The storage's cards are scheduled with them.
    {
        TQVL_ReviewLog_Writer writer;
        const QString device = QStringLiteral("0123456789abcdef0123456789abcdef");
        writer.Open(TQVL_ReviewLog::FileName(profile, device));
        TQVL_ReviewLog_Entry e;
        e.Device = device;
        e.UnitUid = QStringLiteral("S");
        e.CardUid = 1;
        e.TimeMs = daysAgo(1);
        e.Verdict = TQVL_ReviewVerdict::Right;
        writer.Append(e);
    }
    unit.learnmethod = TQVL_LearnMethod::FSRS;
    std::unique_ptr<TQVL_FSRS_Replay> replay = results.ReplayFSRS(unit);
    ASSERT_TRUE(replay && replay->Find(1));
    EXPECT_EQ(replay->Find(1)->Stability, 7.5) << "the fitted initial stability of a first \"Good\"";
    unit.fsrsparameters.reset();
    replay = results.ReplayFSRS(unit);
    ASSERT_TRUE(replay && replay->Find(1));
    EXPECT_EQ(replay->Find(1)->Stability, 2.3065);
    unit.learnmethod = TQVL_LearnMethod::Stages;
    EXPECT_EQ(saved(results), storage) << "without fitted weights the profile is written as before";

    // Anything but 21 numbers means the defaults; a number out of the reference's bounds is brought into them.
    const struct
    {
        const char* text;
        bool kept;
        double w0, w20;
    } cases[] = {
        {"1,2,3", false, 0, 0},
        {"0.5,1.2931,2.3065,8.2956,6.4133,0.8334,3.0194,0.001,1.8722,0.1666,0.796,1.4835,0.0614,0.2629,1.6483,"
         "0.6014,1.8729,0.5425,0.0912,0.0658,viel",
         false, 0, 0},
        {"nan,1.2931,2.3065,8.2956,6.4133,0.8334,3.0194,0.001,1.8722,0.1666,0.796,1.4835,0.0614,0.2629,1.6483,"
         "0.6014,1.8729,0.5425,0.0912,0.0658,0.1542",
         false, 0, 0},
        {"500, 1.2931,2.3065,8.2956,6.4133,0.8334,3.0194,0.001,1.8722,0.1666,0.796,1.4835,0.0614,0.2629,1.6483,"
         "0.6014,1.8729,0.5425,0.0912,0.0658,0.01",
         true, 100.0, 0.1},
    };
    for (const auto& c : cases) {
        QByteArray bytes = storage;
        bytes.replace("<longtermstorage>true</longtermstorage>",
                      QByteArray("<longtermstorage>true</longtermstorage><fsrsparameters>") + c.text +
                          "</fsrsparameters>");
        load(reread, bytes);
        ASSERT_EQ(bool(reread.Unit(0).fsrsparameters), c.kept) << c.text;
        if (c.kept) {
            EXPECT_EQ((*reread.Unit(0).fsrsparameters)[0], c.w0);
            EXPECT_EQ((*reread.Unit(0).fsrsparameters)[20], c.w20);
        }
    }
}

TEST_F(LearnMethod, APausedStorageHasNothingDueAndSpreadsItsCardsOverTheDaysAfter)
{
    TQVL_Result_User results;
    load(results, storage);
    TQVL_Result_Unit& unit = results.Unit(0);
    // 14 cards, each due every day (stage 0) since long before the pause.
    for (qint32 uid = 1; uid <= 14; ++uid)
        unit.GetOrCreateCard(uid).lastquery = TQVL_DateTime(46000.5);
    const double from = 46100, until = 46110;
    const auto at = [](double day) { return TQVL_DateTime(day + 0.5); };
    unit.pausedfrom = TQVL_DateTime(from);
    unit.pauseduntil = TQVL_DateTime(until);

    const struct
    {
        double day;
        int due;
        const char* why;
    } cases[] = {
        {from - 1, 14, "before the pause: due as ever"},
        {from, 0, "the first paused day"},
        {until - 1, 0, "the last paused day"},
        // Ten days paused, spread over seven: card uid modulo 7 is its delay in days.
        {until, 2, "cards 7 and 14"},
        {until + 1, 4, "and 1 and 8"},
        {until + 5, 12, ""},
        {until + 6, 14, "every card back a week after"},
        {until + 30, 14, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        int due = 0;
        unit.CountDue(at(c.day), due);
        EXPECT_EQ(due, c.due) << "day " << c.day - until;
        EXPECT_EQ(unit.IsPaused(at(c.day)), c.day >= from && c.day < until);
    }
    EXPECT_EQ(unit.DueDateWithPause(3, at(from + 2)).Serial(), until + 3);
    EXPECT_EQ(unit.DueDateWithPause(3, at(until + 4)).Serial(), at(until + 4).Serial()) << "due after the pause";

    // A card answered after the pause is due by its own rule again.
    TQVL_Result_Card& six = unit.GetOrCreateCard(6);
    six.lastquery = at(until);
    six.stage = 2;
    EXPECT_EQ(unit.CountDueAt({at(until + 2), at(until + 3)}), (std::vector<int>{6, 9}))
        << "7, 14, 1, 8, 2 and 9; card 6 waits for its stage, three days, and is not held back then";

    // Kept in the profile only when set; a date that does not read is no pause.
    const QByteArray withPause = saved(results);
    EXPECT_TRUE(withPause.contains("<pausedfrom>") && withPause.contains("<pauseduntil>"));
    TQVL_Result_User reread;
    load(reread, withPause);
    EXPECT_EQ(reread.Unit(0).pauseduntil.Serial(), until);
    EXPECT_EQ(reread.Unit(0).pausedfrom.Serial(), from);
    QByteArray broken = withPause;
    broken.replace("<pauseduntil>", "<pauseduntil>morgen ");
    load(reread, broken);
    EXPECT_TRUE(reread.Unit(0).pauseduntil.IsEmpty());
    unit.pausedfrom = unit.pauseduntil = TQVL_DateTime();
    EXPECT_FALSE(saved(results).contains("paused"));
}
