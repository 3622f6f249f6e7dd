#include "core/QVL_Error.h"
#include "core/QVL_XML.h"
#include "query/QVL_Result_User.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A fixed "now" for the tests of this file; the system clock comes back afterwards.
class ResultsTest : public ::testing::Test
{
protected:
    void SetUp() override { setNow(QDateTime(QDate(2024, 3, 10), QTime(12, 0))); }
    void TearDown() override { TQVL_DateTime::SetClock({}); }

    static void setNow(const QDateTime& now)
    {
        TQVL_DateTime::SetClock([now] { return now; });
    }
    static TQVL_DateTime daysBeforeNow(double days) { return TQVL_DateTime(TQVL_DateTime::Now().Serial() - days); }
};

// A card record at `stage` last queried `daysAgo` before now (never when negative).
void addCard(TQVL_Result_Unit& unit, qint32 uid, qint32 stage, double daysAgo)
{
    TQVL_Result_Card& card = unit.GetOrCreateCard(uid);
    card.stage = stage;
    if (daysAgo >= 0)
        card.lastquery = TQVL_DateTime(TQVL_DateTime::Now().Serial() - daysAgo);
}

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

// One unit with one query and one card, in the exact layout of a profile's results.
const QByteArray oneUnit =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>1</version>\r\n"
    "  <results>\r\n"
    "    <lastdeletion_date>01.02.2024 08:15:00</lastdeletion_date>\r\n"
    "    <units>\r\n"
    "      <unit>\r\n"
    "        <last_queried>4</last_queried>\r\n"
    "        <last_right>3</last_right>\r\n"
    "        <all_queried>40</all_queried>\r\n"
    "        <all_right>-2</all_right>\r\n"
    "        <unit_uid>{0A1B2C3D-0000-4000-8000-00000000000A}</unit_uid>\r\n"
    "        <unit_lastknownfilename>/home/anna/Lektionen/Tiere &amp; Pflanzen.qxu</unit_lastknownfilename>\r\n"
    "        <lastquerydate>09.03.2024 17:45:30</lastquerydate>\r\n"
    "        <longtermstorage>true</longtermstorage>\r\n"
    "        <queries>\r\n"
    "          <query>\r\n"
    "            <datetime>09.03.2024 17:45:30</datetime>\r\n"
    "            <duration>125</duration>\r\n"
    "            <queried>4</queried>\r\n"
    "            <right>3</right>\r\n"
    "            <selfevaluation>true</selfevaluation>\r\n"
    "          </query>\r\n"
    "        </queries>\r\n"
    "        <cards>\r\n"
    "          <card>\r\n"
    "            <card_uid>17</card_uid>\r\n"
    "            <pointvalue>-35</pointvalue>\r\n"
    "            <lastquery>30.12.1899</lastquery>\r\n"
    "            <stage>9</stage>\r\n"
    "            <last_queried>2</last_queried>\r\n"
    "            <last_right>1</last_right>\r\n"
    "            <all_queried>12</all_queried>\r\n"
    "            <all_right>2147483647</all_right>\r\n"
    "          </card>\r\n"
    "        </cards>\r\n"
    "      </unit>\r\n"
    "    </units>\r\n"
    "  </results>\r\n"
    "</root>\r\n";

} // namespace

TEST_F(ResultsTest, DueRuleFollowsTheStageIntervals)
{
    struct Case
    {
        qint32 stage;
        double daysAgo; // negative: never queried
        bool due;
    };
    const Case cases[] = {
        {0, -1, true},   {1, -1, false},  {0, 0, true},    {1, 0.5, false},   {1, 0.6, true},
        {2, 2.5, false}, {2, 3, true},    {3, 9.4, false}, {3, 9.5, true},    {4, 29, false},
        {4, 30, true},   {5, 99, false},  {5, 100, true},  {6, 200, true},    {7, 299, false},
        {7, 300, true},  {8, 299, false}, {8, 300, true},  {25, 300.4, true}, {-3, 0, true},
    };
    for (const Case& c : cases) {
        TQVL_Result_Card card(1);
        card.stage = c.stage;
        if (c.daysAgo >= 0)
            card.lastquery = daysBeforeNow(c.daysAgo);
        EXPECT_EQ(card.IsDue(TQVL_DateTime::Now()), c.due) << "stage " << c.stage << ", " << c.daysAgo << " days";
    }

    // A reference date before the last query counts 0 days: only stage 0 is due.
    TQVL_Result_Card stage0(1), stage1(2);
    stage1.stage = 1;
    stage0.lastquery = stage1.lastquery = daysBeforeNow(-5);
    EXPECT_TRUE(stage0.IsDue(TQVL_DateTime::Now()));
    EXPECT_FALSE(stage1.IsDue(TQVL_DateTime::Now()));
}

TEST_F(ResultsTest, TheDueDateIsTheFirstMomentTheDueRuleHolds)
{
    // Now is 10.03.2024 12:00.
    struct Case
    {
        qint32 stage;
        const char* lastQuery; // empty: never queried
        const char* due;       // empty: never due
    };
    const Case cases[] = {
        {0, "", "10.03.2024 12:00:00"},                    // never queried at stage 0: due now
        {1, "", ""},                                       // never queried, waiting: never due
        {0, "01.03.2024 08:00:00", "01.03.2024 08:00:00"}, // stage 0 waits no day
        {1, "01.03.2024 08:00:00", "01.03.2024 20:00:01"}, // half a day rounds to 0: a second later
        {2, "01.03.2024 20:00:00", "04.03.2024 08:00:01"}, // 2.5 rounds to 2
        {3, "01.03.2024 08:00:00", "10.03.2024 20:00:00"}, // 9.5 rounds to 10
        {7, "01.01.2024", "26.10.2024 12:00:00"},          // 299.5 rounds to 300
        {25, "01.01.2024", "26.10.2024 12:00:00"},         // above the table: the last interval
    };
    const TQVL_DateTime now = TQVL_DateTime::Now();
    const TQVL_DateTime second(1.0 / 86400);
    for (const Case& c : cases) {
        TQVL_Result_Card card(1);
        card.stage = c.stage;
        if (*c.lastQuery) {
            ASSERT_TRUE(TQVL_DateTime::TryParse(QString::fromLatin1(c.lastQuery), card.lastquery));
        }
        const TQVL_DateTime due = card.DueDate(now);
        EXPECT_EQ(due.IsEmpty() ? QString() : due.ToText(), QString::fromLatin1(c.due))
            << "stage " << c.stage << ", " << c.lastQuery;
        if (due.IsEmpty() || TQVL_Result_Card::StageInterval(c.stage) == 0)
            continue;
        EXPECT_TRUE(card.IsDue(due)) << "stage " << c.stage << ", " << c.lastQuery;
        EXPECT_FALSE(card.IsDue(TQVL_DateTime(due.Serial() - second.Serial()))) << "stage " << c.stage;
    }
    EXPECT_EQ(TQVL_Result_Card::DueDate(nullptr, now), now) << "a storage card without a record is due now";
}

TEST_F(ResultsTest, StageStepOfALongTermQuery)
{
    struct Case
    {
        qint32 stage, queried, right, expected;
    };
    const Case cases[] = {
        {2, 3, 2, 3},
        {2, 2, 1, 0},
        {0, 1, 1, 1},
        {5, 4, 2, 0},
        {4, 0, 0, 4},
        {7, 1, 1, 8},
        {2147483647, 1, 1, 2147483647},
    };
    for (const Case& c : cases) {
        TQVL_Result_Card card(1);
        card.stage = c.stage;
        card.UpdateStage(c.queried, c.right);
        EXPECT_EQ(card.stage, c.expected) << c.stage << " " << c.queried << " " << c.right;
    }
}

TEST_F(ResultsTest, CountsDueCardsPerUnitAndOverAllStorages)
{
    TQVL_Result_User results;
    TQVL_Result_Unit& storageA = results.GetOrCreateUnit(QStringLiteral("{A}"));
    storageA.longtermstorage = true;
    addCard(storageA, 1, 0, -1);
    addCard(storageA, 2, 1, 1);
    addCard(storageA, 3, 3, 10);
    addCard(storageA, 4, 3, 2); // not due
    TQVL_Result_Unit& storageB = results.GetOrCreateUnit(QStringLiteral("{B}"));
    storageB.longtermstorage = true;
    for (qint32 uid = 1; uid <= 4; ++uid)
        addCard(storageB, uid, 2, 3);
    addCard(storageB, 5, 1, -1); // never queried above stage 0: not due
    TQVL_Result_Unit& lesson = results.GetOrCreateUnit(QStringLiteral("{L}"));
    addCard(lesson, 1, 0, -1); // due, but not a storage

    int count = 99;
    EXPECT_TRUE(results.CountDueInStorages(count));
    EXPECT_EQ(count, 7);

    count = 5;
    EXPECT_TRUE(storageA.CountDueToday(count));
    EXPECT_EQ(count, 8) << "CountDue adds to the count it gets";
    count = 0;
    EXPECT_TRUE(storageA.CountDue(TQVL_DateTime(), count)) << "an empty reference date counts 0 days: stage 0 only";
    EXPECT_EQ(count, 1);

    storageA.ClearCards();
    storageB.longtermstorage = false;
    count = 99;
    EXPECT_FALSE(results.CountDueInStorages(count));
    EXPECT_EQ(count, 0);
}

TEST_F(ResultsTest, DurationOnDaySumsTheQueriesOfThatCalendarDay)
{
    TQVL_Result_User results;
    TQVL_Result_Unit& first = results.GetOrCreateUnit(QStringLiteral("{A}"));
    first.AddQuery(10, 1, false, 1, TQVL_DateTime::FromParts(2024, 3, 9, 23, 59, 59));
    first.AddQuery(20, 1, false, 1, TQVL_DateTime::FromParts(2024, 3, 10, 0, 0, 0));
    first.AddQuery(40, 1, false, 1, TQVL_DateTime::FromParts(2024, 3, 10, 23, 59, 59));
    first.AddQuery(80, 1, false, 1, TQVL_DateTime::FromParts(2024, 3, 11, 0, 0, 0));
    first.AddQuery(160, 1, false, 1, TQVL_DateTime::FromParts(2023, 3, 10, 12, 0, 0));
    TQVL_Result_Unit& second = results.GetOrCreateUnit(QStringLiteral("{B}"));
    second.AddQuery(1000, 1, true, 0, TQVL_DateTime::FromParts(2024, 3, 10, 9, 30, 0));

    const TQVL_DateTime day = TQVL_DateTime::FromParts(2024, 3, 10, 15, 0, 0);
    EXPECT_EQ(first.DurationOnDay(day), 60);
    EXPECT_EQ(results.DurationOnDay(day), 1060);
    EXPECT_EQ(results.DurationOnDay(TQVL_DateTime::FromParts(2024, 3, 12)), 0);
}

TEST_F(ResultsTest, FindAndCreateRecords)
{
    TQVL_Result_User results;
    TQVL_Result_Unit& unit = results.GetOrCreateUnit(QStringLiteral("{AB}"), QStringLiteral("/u/a.qxu"));
    EXPECT_EQ(unit.unit_lastknownfilename, QStringLiteral("/u/a.qxu"));
    EXPECT_EQ(&results.GetOrCreateUnit(QStringLiteral("{AB}"), QStringLiteral("/u/other.qxu")), &unit);
    EXPECT_EQ(unit.unit_lastknownfilename, QStringLiteral("/u/a.qxu")) << "a found unit keeps its file name";
    EXPECT_EQ(results.FindUnit(QStringLiteral("{ab}")), nullptr) << "uids compare case-sensitively";
    EXPECT_EQ(results.UnitCount(), 1);

    TQVL_Result_Card& card = unit.GetOrCreateCard(7);
    EXPECT_EQ(card.card_uid, 7);
    EXPECT_EQ(card.pointvalue + card.stage + card.all_queried + card.all_right + card.last_queried + card.last_right,
              0);
    EXPECT_TRUE(card.lastquery.IsEmpty());
    card.pointvalue = 30;
    EXPECT_EQ(&unit.GetOrCreateCard(7), &card);
    EXPECT_EQ(unit.FindCard(8), nullptr);
    EXPECT_EQ(unit.CardCount(), 1);

    unit.AddQuery(30, 5, true, 4, TQVL_DateTime::Now());
    unit.all_queried = 5;
    unit.ClearCards();
    EXPECT_EQ(unit.FindCard(7), nullptr);
    EXPECT_EQ(unit.QueryCount(), 1);
    unit.GetOrCreateCard(7);
    unit.Clear();
    EXPECT_EQ(unit.CardCount() + unit.QueryCount(), 0);
    EXPECT_EQ(unit.all_queried, 5) << "the counters stay";
    results.Clear();
    EXPECT_EQ(results.UnitCount(), 0);
}

TEST_F(ResultsTest, WritesTheExactLayoutAndReadsItBack)
{
    TQVL_Result_User results;
    load(results, oneUnit);
    ASSERT_EQ(results.UnitCount(), 1);
    EXPECT_EQ(results.lastdeletion_date, TQVL_DateTime::FromParts(2024, 2, 1, 8, 15, 0));
    const TQVL_Result_Unit& unit = results.Unit(0);
    EXPECT_EQ(unit.unit_uid, QStringLiteral("{0A1B2C3D-0000-4000-8000-00000000000A}"));
    EXPECT_EQ(unit.unit_lastknownfilename, QStringLiteral("/home/anna/Lektionen/Tiere & Pflanzen.qxu"));
    EXPECT_EQ(unit.lastquerydate, TQVL_DateTime::FromParts(2024, 3, 9, 17, 45, 30));
    EXPECT_TRUE(unit.longtermstorage);
    EXPECT_EQ(unit.last_queried, 4);
    EXPECT_EQ(unit.last_right, 3);
    EXPECT_EQ(unit.all_queried, 40);
    EXPECT_EQ(unit.all_right, -2);
    ASSERT_EQ(unit.QueryCount(), 1);
    const TQVL_Result_Unit_Query& query = unit.Query(0);
    EXPECT_EQ(query.datetime, TQVL_DateTime::FromParts(2024, 3, 9, 17, 45, 30));
    EXPECT_EQ(query.duration, 125);
    EXPECT_EQ(query.queried, 4);
    EXPECT_EQ(query.right, 3);
    EXPECT_TRUE(query.selfevaluation);
    ASSERT_EQ(unit.CardCount(), 1);
    const TQVL_Result_Card& card = unit.Card(0);
    EXPECT_EQ(card.card_uid, 17);
    EXPECT_EQ(card.pointvalue, -35);
    EXPECT_TRUE(card.lastquery.IsEmpty()) << "30.12.1899 is the empty date";
    EXPECT_EQ(card.stage, 9);
    EXPECT_EQ(card.last_queried, 2);
    EXPECT_EQ(card.last_right, 1);
    EXPECT_EQ(card.all_queried, 12);
    EXPECT_EQ(card.all_right, 2147483647);

    EXPECT_EQ(saved(results), oneUnit);
}

TEST_F(ResultsTest, ValuesSurviveAWriteAndARead)
{
    TQVL_Result_User results;
    TQVL_Result_Unit& unit = results.GetOrCreateUnit(QStringLiteral("{X}"), QStringLiteral("<\"Lektion\">'1'.qxu"));
    unit.lastquerydate = TQVL_DateTime::FromParts(2031, 12, 31, 23, 59, 58);
    TQVL_Result_Card& card = unit.GetOrCreateCard(-4);
    card.lastquery = TQVL_DateTime::FromParts(2000, 2, 29, 0, 0, 1);
    card.stage = 3;
    unit.GetOrCreateCard(5);
    unit.AddQuery(0, 0, false, 0, TQVL_DateTime::FromParts(1999, 1, 1, 13, 14, 15, 600));
    results.GetOrCreateUnit(QStringLiteral("{Y}"));

    const QByteArray first = saved(results);
    TQVL_Result_User again;
    load(again, first);
    ASSERT_EQ(again.UnitCount(), 2);
    const TQVL_Result_Unit& reread = again.Unit(0);
    EXPECT_EQ(reread.unit_lastknownfilename, unit.unit_lastknownfilename);
    EXPECT_EQ(reread.lastquerydate, unit.lastquerydate);
    ASSERT_NE(reread.FindCard(-4), nullptr);
    EXPECT_EQ(reread.FindCard(-4)->lastquery, card.lastquery);
    EXPECT_EQ(reread.FindCard(-4)->stage, 3);
    EXPECT_EQ(reread.Query(0).datetime, TQVL_DateTime::FromParts(1999, 1, 1, 13, 14, 15)) << "to the second";
    EXPECT_TRUE(again.lastdeletion_date.IsEmpty());
    EXPECT_EQ(again.Unit(1).CardCount(), 0);
    EXPECT_EQ(saved(again), first);
}

TEST_F(ResultsTest, ReadingRulesForListsAndOptionalElements)
{
    // Children of the lists count whatever their names; of duplicate card
    // records the last one is found.
    QByteArray renamed = QByteArray(oneUnit)
                             .replace("<unit>", "<einheit>")
                             .replace("</unit>", "</einheit>")
                             .replace("<query>", "<q>")
                             .replace("</query>", "</q>");
    const qsizetype cardsEnd = renamed.indexOf("        </cards>");
    renamed.insert(cardsEnd,
                   "          <x><card_uid>17</card_uid><pointvalue>99</pointvalue><lastquery>01.01.2024</lastquery>"
                   "<stage>0</stage><last_queried>0</last_queried><last_right>0</last_right>"
                   "<all_queried>0</all_queried><all_right>0</all_right></x>\r\n");
    TQVL_Result_User results;
    load(results, renamed);
    ASSERT_EQ(results.UnitCount(), 1);
    EXPECT_EQ(results.Unit(0).QueryCount(), 1);
    EXPECT_EQ(results.Unit(0).CardCount(), 2);
    EXPECT_EQ(results.Unit(0).FindCard(17)->pointvalue, 99);

    // Optional: lastdeletion_date, units, unit_lastknownfilename.
    load(results, WithoutElement(WithoutElement(oneUnit, "lastdeletion_date"), "unit_lastknownfilename"));
    EXPECT_TRUE(results.lastdeletion_date.IsEmpty());
    EXPECT_TRUE(results.Unit(0).unit_lastknownfilename.isEmpty());
    load(results, WithoutElement(oneUnit, "units"));
    EXPECT_EQ(results.UnitCount(), 0);
    load(results,
         QByteArray(oneUnit).replace(oneUnit.mid(oneUnit.indexOf("    <units>"),
                                                 oneUnit.indexOf("  </results>") - oneUnit.indexOf("    <units>")),
                                     "    <units/>\r\n"));
    EXPECT_EQ(results.UnitCount(), 0);
}

TEST_F(ResultsTest, ABrokenTreeFailsAndKeepsTheResultsAsTheyWere)
{
    const QByteArray broken[] = {
        WithoutElement(oneUnit, "cards"),
        WithoutElement(oneUnit, "queries"),
        WithoutElement(oneUnit, "unit_uid"),
        WithoutElement(oneUnit, "longtermstorage"),
        WithoutElement(oneUnit, "lastquerydate"),
        WithoutElement(oneUnit, "last_queried"),
        WithoutElement(oneUnit, "all_right"),
        WithoutElement(oneUnit, "datetime"),
        WithoutElement(oneUnit, "selfevaluation"),
        WithoutElement(oneUnit, "card_uid"),
        WithoutElement(oneUnit, "pointvalue"),
        WithoutElement(oneUnit, "stage"),
        WithoutElement(oneUnit, "lastquery"),
        QByteArray(oneUnit).replace("<duration>125", "<duration>12 5"),
        QByteArray(oneUnit).replace("<card_uid>17", "<card_uid>"),
        QByteArray(oneUnit).replace("<all_right>2147483647", "<all_right>2147483648"),
        QByteArray(oneUnit).replace("<lastquery>30.12.1899", "<lastquery>31.02.2024"),
        QByteArray(oneUnit).replace("<lastdeletion_date>01.02.2024 08:15:00", "<lastdeletion_date>gestern"),
    };
    for (const QByteArray& bytes : broken) {
        TQVL_Result_User results;
        TQVL_Result_Unit& kept = results.GetOrCreateUnit(QStringLiteral("{KEPT}"));
        kept.GetOrCreateCard(3);
        bool failed = false;
        try {
            load(results, bytes);
        } catch (const TQVL_Error&) {
            failed = true;
        }
        EXPECT_TRUE(failed) << bytes.constData();
        ASSERT_EQ(results.UnitCount(), 1);
        EXPECT_EQ(&results.Unit(0), &kept);
        EXPECT_NE(kept.FindCard(3), nullptr);
    }
}
