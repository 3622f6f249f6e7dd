// Whole queries driven through the hooks by a scripted learner, over real units
// and a real results tree inside a profile file in a temporary folder.
#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Error.h"
#include "core/QVL_FileObject.h"
#include "core/QVL_XMLTag.h"
#include "query/QVL_Card_Return_Voc.h"
#include "query/QVL_Query.h"
#include "query/QVL_Query_Card.h"
#include "query/QVL_Query_Cardpile.h"
#include "query/QVL_Query_Options.h"
#include "query/QVL_Query_Timer_Manual.h"
#include "query/QVL_Result_User.h"
#include "query/QVL_Statistics_LastQuery.h"
#include "core/QVL_Notices.h"
#include "core/QVL_SafeFile.h"
#include "query/QVL_FSRS_Replay.h"
#include "query/QVL_Result_Steps.h"
#include "query/QVL_ReviewLog.h"
#include "query/QVL_ReviewLog_Writer.h"
#include "tests/support/RecordingErrorDisplay.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <tuple>

namespace {

// A profile file holding results and the total query time, whose save can be made to fail.
class TestProfile : public TQVL_FileObject
{
public:
    ~TestProfile() override
    {
        if (IsOpen)
            CloseFile();
    }

    void LoadFromXML(TQVL_XMLTag& tag) override
    {
        Seconds = tag.NeedChild(QStringLiteral("alltimequeryseconds")).AsInt64();
        Results.LoadFromXML(tag.NeedChild(QStringLiteral("results")));
    }
    void SaveToXML(TQVL_XMLTag& tag) override
    {
        ++Saves;
        if (FailSave)
            throw TQVL_Error(QStringLiteral("Nicht genügend Speicherplatz."));
        tag.AddInteger(QStringLiteral("alltimequeryseconds"), Seconds);
        Results.SaveToXML(*tag.AddChild(QStringLiteral("results")));
    }

    TQVL_Result_User Results;
    qint64 Seconds = 0;
    int Saves = 0;
    bool FailSave = false;
};

std::unique_ptr<TQVL_Unit> makeUnit(const QString& uid, const QStringList& words, TQVL_CardType typ = tVoc)
{
    auto unit = std::make_unique<TQVL_Unit>();
    unit->Uid = uid;
    unit->FileName = QStringLiteral("/lektionen/") + uid + QStringLiteral(".qxu");
    unit->Typ = typ;
    for (int i = 0; i < words.size(); ++i) {
        auto card = std::make_unique<TQVL_Card_Voc>();
        card->Uid = i + 1;
        card->foreign1 = QStringLiteral("f-") + words[i];
        card->home1 = words[i];
        unit->Cards->Add(std::move(card));
    }
    return unit;
}

QString word(const TQVL_Query_Card& entry)
{
    return static_cast<const TQVL_Card_Voc*>(entry.Card)->home1;
}

TQVL_DateTime at(int day, int hour = 0, int minute = 0, int second = 0)
{
    return TQVL_DateTime::FromParts(2024, 3, day, hour, minute, second);
}

class QueryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        now = at(10, 14, 30).ToDateTime();
        TQVL_DateTime::SetClock([this] { return now; });
        ASSERT_TRUE(folder.isValid());
        profile.NewFile(folder.path() + QStringLiteral("/Lernender.qxs"));
        // The active profile is kept read-only until a query asks for more.
        profile.ReleaseWriteAccess();
        profile.Saves = 0;

        query.ActiveUser = [this] { return TQVL_Query_ActiveUser{&profile, &profile.Results, &profile.Seconds}; };
        query.ActiveUnit = [this] { return activeUnit; };
        query.LastQuery = &lastQuery;
        query.Random = [this](int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random); };
        query.TimerFactory = timers.Factory();
        installLearner();

        // What the query menu sets for a simple query, but every answer stored
        // and the rounds in the order of the pile, so the scripts know which
        // card comes; ShuffledRounds covers the menu's shuffling.
        TQVL_Query_Options& options = *query.Options;
        options.storeresults = true;
        options.ApplyMenuSettings(false);
        options.onlystoreresultswheallqueried = false;
        options.Turn().mix = false;
        options.Step().direction = 1;
    }

    void TearDown() override
    {
        if (query.IsRunning())
            query.Stop();
        TQVL_DateTime::SetClock({});
    }

    // The learner answers in the order the cards are asked: 'r' right, 'w'
    // wrong, 'a' almost right (two letters swapped); right once the script is
    // used up. The same letter is his own verdict when he judges himself.
    void installLearner()
    {
        query.OnDisplayQuestion = [this](TQVL_Query_Card& card, int direction) {
            log << QStringLiteral("Q %1/%2").arg(word(card)).arg(direction);
            waiting = Waiting::Question;
            asked = &card;
        };
        query.OnGetUserInput = [this](TQVL_Query_Card& card) {
            ++inputs;
            const char how = answers < int(script.size()) ? script[std::size_t(answers)] : 'r';
            ++answers;
            verdict = how == 'r';
            auto answer = CreateReturn(*card.Card);
            QString text = word(card);
            if (how == 'w')
                text = QStringLiteral("keine Ahnung");
            else if (how == 'a')
                std::swap(text[text.size() - 1], text[text.size() - 2]);
            static_cast<TQVL_Card_Return_Voc&>(*answer).Text = text;
            return answer;
        };
        query.OnDisplayAnswer = [this](const TQVL_Query_AnswerShown& shown) {
            log << QStringLiteral("A %1 %2").arg(word(shown.Card)).arg(int(shown.Result.Code));
            waiting = Waiting::Answer;
            lastShowEvaluation = shown.ShowEvaluation;
            lastAskSelf = shown.AskSelfEvaluation;
            lastShowUserAnswer = shown.ShowUserAnswer;
            lastAnswerText = shown.Answer ? static_cast<const TQVL_Card_Return_Voc*>(shown.Answer)->Text : QString();
        };
        query.OnSelfEvaluation = [this] { log << QStringLiteral("self"); };
        query.OnStepEnd = [this] {
            log << QStringLiteral("step");
            waiting = Waiting::Nothing;
        };
        query.OnTurnEnd = [this](int turn, int cards) { log << QStringLiteral("turn %1/%2").arg(turn).arg(cards); };
        query.OnSessionEnd = [this](int session) { log << QStringLiteral("session %1").arg(session); };
        query.OnQueryEnd = [this] { log << QStringLiteral("end"); };
    }

    // Answers like the window would: "Ergebnis", then "Ok" (or the learner's
    // verdict), 20 seconds per card, until the query stops or `count` answers were given.
    void answer(int count = 1000)
    {
        for (int i = 0; i < count && query.IsRunning(); ++i) {
            ASSERT_EQ(waiting, Waiting::Question);
            now = now.addSecs(20);
            query.DisplayQuestionEnd();
            ASSERT_EQ(waiting, Waiting::Answer);
            query.DisplayAnswerEnd(verdict);
        }
    }

    // Adds the cards of a new unit to the pile.
    TQVL_Unit& addUnit(const QString& uid, const QStringList& words, TQVL_CardType typ = tVoc)
    {
        units.push_back(makeUnit(uid, words, typ));
        query.Cardpile->AddUnit(*units.back());
        return *units.back();
    }

    TQVL_Result_Card* stored(const QString& unitUid, qint32 cardUid) const
    {
        TQVL_Result_Unit* unit = profile.Results.FindUnit(unitUid);
        return unit ? unit->FindCard(cardUid) : nullptr;
    }

    enum class Waiting
    {
        Nothing,
        Question,
        Answer
    };

    QDateTime now;
    QTemporaryDir folder;
    TestProfile profile;
    TQVL_Statistics_LastQuery lastQuery;
    const TQVL_Unit* activeUnit = nullptr;
    std::mt19937 random{4711};
    TQVL_Query_Timer_Manual timers;
    std::vector<std::unique_ptr<TQVL_Unit>> units;
    TQVL_Query query;

    std::string script;
    int answers = 0;
    int inputs = 0;
    bool verdict = true;
    Waiting waiting = Waiting::Nothing;
    TQVL_Query_Card* asked = nullptr;
    QStringList log;
    bool lastShowEvaluation = false;
    bool lastAskSelf = false;
    bool lastShowUserAnswer = false;
    QString lastAnswerText;
};

} // namespace

TEST_F(QueryTest, ShuffledRoundsAskEachCardOnceInTheDrawnOrder)
{
    // Each round swaps card i with the card the random source names; always
    // naming the first card rotates the round by one.
    std::vector<int> bounds;
    query.Random = [&bounds](int bound) {
        bounds.push_back(bound);
        return 0;
    };
    query.Options->Turn().mix = true;
    addUnit(QStringLiteral("U1"), {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    script = "wwrr"; // D and A wrong in the first round
    query.Start();
    answer(6); // the first exercise phase: two rounds; the next phase then asks its first card
    QStringList order;
    for (const QString& line : log)
        if (line.startsWith(QLatin1String("Q ")))
            order << line.mid(2, 1);
    // The second round draws anew from the wrong cards in the phase's order (A, D).
    EXPECT_EQ(order.join(QString()).left(6), QStringLiteral("DABC" "DA"));
    bounds.resize(6);
    EXPECT_EQ(bounds, (std::vector<int>{4, 4, 4, 4, 2, 2}));
    query.Stop();
}

TEST_F(QueryTest, TwoCardsEndByThemselvesAndStoreExactResults)
{
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum")});
    profile.Seconds = 1000;
    script = "wr"; // Haus wrong, Baum right, then Haus right in the second round
    query.Start();
    EXPECT_TRUE(query.IsRunning());
    answer();

    EXPECT_EQ(log.join(QLatin1Char(',')), QStringLiteral("Q Haus/1,A Haus 3,step,Q Baum/1,A Baum 1,step,turn 1/2,"
                                                         "Q Haus/1,A Haus 1,step,turn 2/1,session 1,end"));
    EXPECT_FALSE(query.IsRunning());
    EXPECT_TRUE(query.Cardpile->isEmpty());
    EXPECT_EQ(query.GetQueriedTotal(), 3);
    EXPECT_EQ(query.GetRightTotal(), 2);
    EXPECT_EQ(TQVL_Query::WholeSeconds(query.GetDuration()), 60);
    EXPECT_TRUE(lastShowEvaluation);
    EXPECT_TRUE(lastShowUserAnswer);
    EXPECT_EQ(lastAnswerText, QStringLiteral("Haus"));

    // The profile was saved once and is read-only again; its file holds the same results.
    EXPECT_EQ(profile.Saves, 1);
    EXPECT_FALSE(profile.WriteAccess);
    EXPECT_TRUE(lastQuery.ResultsStored);
    EXPECT_EQ(lastQuery.Units, QStringList{QStringLiteral("U1")});
    TestProfile reread;
    reread.Open(profile.FileName);
    for (const TestProfile* p : {&profile, &reread}) {
        EXPECT_EQ(p->Seconds, 1060);
        ASSERT_EQ(p->Results.UnitCount(), 1);
        const TQVL_Result_Unit& unit = p->Results.Unit(0);
        EXPECT_EQ(unit.unit_uid, QStringLiteral("U1"));
        EXPECT_EQ(unit.unit_lastknownfilename, QStringLiteral("/lektionen/U1.qxu"));
        EXPECT_EQ(unit.lastquerydate.ToText(), QStringLiteral("10.03.2024 14:31:00"));
        EXPECT_EQ(std::make_pair(unit.all_queried, unit.all_right), std::make_pair(3, 2));
        EXPECT_EQ(std::make_pair(unit.last_queried, unit.last_right), std::make_pair(3, 2));
        ASSERT_EQ(unit.QueryCount(), 1);
        const TQVL_Result_Unit_Query& stored = unit.Query(0);
        EXPECT_EQ(stored.datetime.ToText(), QStringLiteral("10.03.2024 14:31:00"));
        EXPECT_EQ(stored.duration, 60);
        EXPECT_EQ(stored.queried, 3);
        EXPECT_EQ(stored.right, 2);
        EXPECT_FALSE(stored.selfevaluation);
        ASSERT_EQ(unit.CardCount(), 2);
        const TQVL_Result_Card& haus = *unit.FindCard(1);
        EXPECT_EQ(
            std::make_tuple(haus.all_queried, haus.all_right, haus.last_queried, haus.last_right, haus.pointvalue),
            std::make_tuple(2, 1, 2, 1, 50)); // 100 points halved in the second round
        EXPECT_EQ(haus.lastquery.ToText(), QStringLiteral("10.03.2024 14:31:00"));
        EXPECT_EQ(haus.stage, 0);
        const TQVL_Result_Card& baum = *unit.FindCard(2);
        EXPECT_EQ(
            std::make_tuple(baum.all_queried, baum.all_right, baum.last_queried, baum.last_right, baum.pointvalue),
            std::make_tuple(1, 1, 1, 1, 100));
    }
    reread.CloseFile();
}

TEST_F(QueryTest, StopInTheSecondPhaseStoresBothPhases)
{
    query.Options->onlystoreresultswheallqueried = true;
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum"), QStringLiteral("Tisch"),
                                   QStringLiteral("Stuhl"), QStringLiteral("Lampe")});
    script = "rrrrr"
             "rw";
    query.Start();
    answer(5);
    // 25 % of 5 cards is 1: four are left for the second phase.
    EXPECT_EQ(log.filter(QStringLiteral("session")), QStringList{QStringLiteral("session 1")});
    answer(2);
    EXPECT_EQ(query.GetSessionQueried(), 2);
    EXPECT_EQ(query.GetSessionRight(), 1);
    EXPECT_EQ(query.GetQueriedTotal(), 7);
    EXPECT_EQ(query.GetRightTotal(), 6);
    EXPECT_EQ(query.SessionCount, 2);

    query.Stop();
    EXPECT_FALSE(log.contains(QStringLiteral("end"))); // only a query that runs out of cards says so
    EXPECT_EQ(query.GetQueriedTotal(), 7);
    EXPECT_EQ(query.GetRightTotal(), 6);
    EXPECT_THROW(query.GetSessionQueried(), TQVL_Error);
    EXPECT_TRUE(lastQuery.ResultsStored);
    const TQVL_Result_Unit& unit = *profile.Results.FindUnit(QStringLiteral("U1"));
    EXPECT_EQ(std::make_pair(unit.all_queried, unit.all_right), std::make_pair(7, 6));
    ASSERT_EQ(unit.QueryCount(), 1);
    EXPECT_EQ(unit.Query(0).queried, 7);
    EXPECT_EQ(unit.Query(0).right, 6);
    EXPECT_EQ(unit.Query(0).duration, 140);
    EXPECT_EQ(profile.Seconds, 140);
    qint32 cardAnswers = 0;
    for (int i = 0; i < unit.CardCount(); ++i)
        cardAnswers += unit.Card(i).all_queried;
    EXPECT_EQ(cardAnswers, 7);
}

TEST_F(QueryTest, NothingIsStoredWhenTheOptionsOrTheProfileSaySo)
{
    struct Case
    {
        const char* name;
        bool storeResults;
        bool onlyWhenAllQueried;
        bool lockedByOtherInstance;
    };
    for (const Case& c : {Case{"storeresults off", false, false, false}, Case{"only one phase", true, true, false},
                          Case{"no write access", true, false, true}}) {
        SCOPED_TRACE(c.name);
        profile.Results.Clear();
        profile.Saves = 0;
        log.clear();
        answers = 0;
        lastQuery.ResultsStored = true;
        query.Options->storeresults = c.storeResults;
        query.Options->onlystoreresultswheallqueried = c.onlyWhenAllQueried;
        TestProfile other;
        if (c.lockedByOtherInstance) {
            other.Open(profile.FileName);
            ASSERT_TRUE(other.RequestWriteAccess());
        }
        addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum")});
        query.Start();
        EXPECT_EQ(profile.WriteAccess, !c.lockedByOtherInstance);
        answer();
        EXPECT_TRUE(log.endsWith(QStringLiteral("end")));
        EXPECT_FALSE(query.IsRunning());
        EXPECT_EQ(query.GetQueriedTotal(), 2);
        EXPECT_FALSE(lastQuery.ResultsStored);
        EXPECT_EQ(profile.Results.UnitCount(), 0);
        EXPECT_EQ(profile.Saves, 0);
        EXPECT_EQ(profile.Seconds, 0);
        EXPECT_FALSE(profile.WriteAccess); // not kept locked after the query
    }
}

TEST_F(QueryTest, FailedSaveLeavesTheQueryIdleAndTheResultsInMemory)
{
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum"), QStringLiteral("Tisch")});
    query.Start();
    answer(4); // the three cards, and one of the second phase
    profile.FailSave = true;
    try {
        query.Stop();
        FAIL() << "no error";
    } catch (const TQVL_Error& error) {
        EXPECT_EQ(error.Message(),
                  QStringLiteral("Fehler beim Speichern der Ergebnisse der Abfrage!\rNicht genügend Speicherplatz."));
    }
    EXPECT_FALSE(query.IsRunning());
    EXPECT_TRUE(query.Cardpile->isEmpty());
    EXPECT_TRUE(query.CardList.empty());
    EXPECT_FALSE(lastQuery.ResultsStored);
    EXPECT_FALSE(profile.WriteAccess);
    // In memory, to be written with the profile's next save.
    const TQVL_Result_Unit& unit = *profile.Results.FindUnit(QStringLiteral("U1"));
    EXPECT_EQ(unit.all_queried, 4);
    EXPECT_EQ(unit.QueryCount(), 1);
    EXPECT_EQ(profile.Seconds, 80);

    // The query can start again, and then its results reach the file together with the lost ones.
    profile.FailSave = false;
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum"), QStringLiteral("Tisch")});
    query.Start();
    answer(3);
    query.Stop();
    EXPECT_TRUE(lastQuery.ResultsStored);
    TestProfile reread;
    reread.Open(profile.FileName);
    EXPECT_EQ(reread.Results.FindUnit(QStringLiteral("U1"))->all_queried, 7);
    EXPECT_EQ(reread.Results.FindUnit(QStringLiteral("U1"))->QueryCount(), 2);
    reread.CloseFile();
}

TEST_F(QueryTest, FailedSaveAtTheEndStillTellsTheWindowTheQueryIsOver)
{
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum")});
    query.Start();
    answer(1);
    profile.FailSave = true;
    query.DisplayQuestionEnd();
    EXPECT_THROW(query.DisplayAnswerEnd(true), TQVL_Error);
    EXPECT_EQ(log.last(), QStringLiteral("end"));
    EXPECT_FALSE(query.IsRunning());
    EXPECT_FALSE(lastQuery.ResultsStored);
}

TEST_F(QueryTest, AStorageHasDueCardsExactlyWhenTheLongTermPileWouldTakeOne)
{
    // A card without a record counts as due, as the new record the pile makes for it is.
    const TQVL_Unit& storage = *units.emplace_back(
        makeUnit(QStringLiteral("S"), {QStringLiteral("eins"), QStringLiteral("zwei")}, tLongTermStorage));
    activeUnit = &storage;
    query.SetLongTermMode(true);
    query.SetReferenceDate(at(10));
    struct Case
    {
        const char* what;
        int recorded; // cards 1..recorded have a record at stage 1 queried on the reference day
        bool due;
    };
    const Case cases[] = {{"no records", 0, true}, {"one card without record", 1, true}, {"none due", 2, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        profile.Results.Clear();
        for (qint32 card = 1; card <= c.recorded; ++card) {
            TQVL_Result_Card& r = profile.Results.GetOrCreateUnit(QStringLiteral("S")).GetOrCreateCard(card);
            r.stage = 1;
            r.lastquery = at(10);
        }
        EXPECT_EQ(TQVL_Query_Cardpile::HasDueCards(storage, &profile.Results, at(10)), c.due);
        const TQVL_Result_Unit* records = profile.Results.FindUnit(QStringLiteral("S"));
        EXPECT_EQ(records ? records->CardCount() : 0, c.recorded) << "asking creates no records";
        query.Cardpile->Clear();
        query.Cardpile->AddUnit(storage);
        EXPECT_EQ(!query.Cardpile->isEmpty(), c.due);
    }
    EXPECT_TRUE(TQVL_Query_Cardpile::HasDueCards(storage, nullptr, at(10))) << "without a user nothing is recorded";
    query.Cardpile->Clear();
}

TEST_F(QueryTest, LongTermQueryAsksTheDueCardsAndMovesTheirStages)
{
    const QString uid = QStringLiteral("S");
    TQVL_Result_Unit& results = profile.Results.GetOrCreateUnit(uid);
    results.longtermstorage = true;
    const auto record = [&](qint32 card, qint32 stage, TQVL_DateTime date, qint32 points) {
        TQVL_Result_Card& r = results.GetOrCreateCard(card);
        r.stage = stage;
        r.lastquery = date;
        r.pointvalue = points;
    };
    // Card 1 was never queried.
    record(2, 1, at(9, 9), 7);   // 0.625 days before the reference day: 1, due
    record(3, 1, at(10), 0);     // queried on the reference day: not due
    record(4, 3, at(5), 0);      // 5 of 10 days: not due
    record(5, 2, at(6, 12), 20); // 3.5 days round to 4 of 3: due
    const TQVL_Unit& storage =
        *units.emplace_back(makeUnit(uid,
                                     {QStringLiteral("eins"), QStringLiteral("zwei"), QStringLiteral("drei"),
                                      QStringLiteral("vier"), QStringLiteral("fünf")},
                                     tLongTermStorage));
    activeUnit = &storage;
    query.SetLongTermMode(true);
    query.SetReferenceDate(at(10));
    EXPECT_TRUE(query.Cardpile->LongTermMode);
    query.Cardpile->AddUnit(storage);
    ASSERT_EQ(query.Cardpile->Cards.size(), 3u);

    script = "rwr"
             "r"; // eins right, zwei wrong, fünf right; zwei right in the second round
    query.Start();
    answer(4);
    EXPECT_EQ(query.SessionCount, 2);
    query.Stop();

    const auto check = [&](qint32 card, qint32 stage, TQVL_DateTime date, qint32 points) {
        SCOPED_TRACE(card);
        const TQVL_Result_Card& r = *stored(uid, card);
        EXPECT_EQ(r.stage, stage);
        EXPECT_EQ(r.lastquery, date);
        EXPECT_EQ(r.pointvalue, points);
    };
    check(1, 1, at(10), 100);         // 1 of 1 right: up
    check(2, 0, at(10), 7 + 50 + 10); // 1 of 2 is not more than half: back to 0; one day since its last query
    check(3, 1, at(10), 0);           // not due, untouched
    check(4, 3, at(5), 0);
    check(5, 3, at(10), 20 + 100 + 40); // four days
    EXPECT_TRUE(results.longtermstorage);

    // Next day the cards at stage 0 and 1 are due. A query stopped after the first
    // answer leaves the cards it did not ask as they were.
    query.Options->onlystoreresultswheallqueried = false;
    now = at(11, 8).ToDateTime();
    query.SetReferenceDate(at(11));
    query.Cardpile->AddUnit(storage);
    ASSERT_EQ(query.Cardpile->Cards.size(), 3u); // eins, zwei, drei
    query.Start();
    answer(1);
    query.Stop();
    check(1, 2, at(11), 100 + 100 + 10);
    check(2, 0, at(10), 67);
    check(3, 1, at(10), 0);
    EXPECT_EQ(stored(uid, 2)->last_queried, 0);
    EXPECT_EQ(results.QueryCount(), 2);
}

TEST_F(QueryTest, SelfEvaluationCountsTheLearnersVerdict)
{
    query.Options->selfevaluation = true;
    query.Options->SetEvaluationFlags(true);
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus")});
    script = "wr"; // typed right both times; judged wrong, then right
    query.Start();
    EXPECT_TRUE(lastQuery.SelfEvaluated);
    answer(1);
    EXPECT_FALSE(lastShowEvaluation);
    EXPECT_TRUE(lastAskSelf);
    answer();
    EXPECT_EQ(log.join(QLatin1Char(',')), QStringLiteral("Q Haus/1,A Haus 0,self,step,turn 1/1,"
                                                         "Q Haus/1,A Haus 0,self,step,turn 2/1,session 1,end"));
    EXPECT_EQ(query.GetQueriedTotal(), 2);
    EXPECT_EQ(query.GetRightTotal(), 1);
    const TQVL_Result_Unit& unit = *profile.Results.FindUnit(QStringLiteral("U1"));
    EXPECT_EQ(unit.FindCard(1)->pointvalue, 50); // 0 % for the first verdict, half of 100 % in round 2
    EXPECT_TRUE(unit.Query(0).selfevaluation);
}

TEST_F(QueryTest, PointsShrinkWithRoundsAndPhases)
{
    struct Case
    {
        std::string script;
        qint32 points;
        qint32 right;
    };
    // One card: SessionPoints and PointValue grow alike in the first phase.
    for (const Case& c : {Case{"r", 100, 1}, Case{"wr", 50, 1}, Case{"wwwr", 12, 1}, // 12.5 rounds to even
                          Case{"ar", 100, 1}}) {                                     // almost right: 50 %, wrong
        SCOPED_TRACE(c.script);
        script = c.script;
        answers = 0;
        qint32 sessionPoints = -1;
        query.OnSessionEnd = [&](int) { sessionPoints = query.CardList.front()->SessionPoints; };
        addUnit(QStringLiteral("U1"), {QStringLiteral("Haus")});
        query.Start();
        answer();
        EXPECT_FALSE(query.IsRunning());
        EXPECT_EQ(sessionPoints, c.points);
        EXPECT_EQ(stored(QStringLiteral("U1"), 1)->pointvalue, c.points);
        EXPECT_EQ(stored(QStringLiteral("U1"), 1)->last_right, c.right);
        EXPECT_EQ(stored(QStringLiteral("U1"), 1)->last_queried, qint32(c.script.size()));
        profile.Results.Clear();
    }

    // Later phases add less to the point value: halved in the second, quartered in the third.
    query.Options->reducecardlisttyp = 1;
    query.Options->reducecardlistby = 0; // no card leaves between phases
    std::vector<std::tuple<int, qint32, qint32, qint32, qint32>> phases;
    query.OnSessionEnd = [&](int number) {
        phases.emplace_back(number, query.CardList[0]->PointValue, query.CardList[0]->SessionPoints,
                            query.CardList[1]->PointValue, query.CardList[1]->SessionPoints);
    };
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum")});
    script = "rr"
             "rr"
             "rw"
             "r";
    answers = 0;
    query.Start();
    answer(7);
    query.Stop();
    using P = std::tuple<int, qint32, qint32, qint32, qint32>;
    EXPECT_EQ(phases, (std::vector<P>{P{1, 100, 100, 100, 100}, P{2, 150, 100, 150, 100},
                                      // Baum: 50 points in round 2, of which round(12.5) = 12 count
                                      P{3, 175, 100, 162, 50}}));
}

TEST_F(QueryTest, TimersRunAQueryWithoutTheLearner)
{
    TQVL_Query_Step_Options& step = query.Options->Step();
    step.questiondisplaytime = true;
    step.questiondisplaytimeintervall = 5000;
    step.answerdisplaytime = true;
    step.answerdisplaytimeintervall = 2000;
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum")});
    script = "wrr";
    query.Start();
    std::vector<int> intervals;
    while (query.IsRunning() && intervals.size() < 20) {
        ASSERT_EQ(timers.PendingCount(), 1);
        intervals.push_back(timers.PendingInterval());
        ASSERT_TRUE(timers.Fire());
    }
    EXPECT_EQ(intervals, (std::vector<int>{5000, 2000, 5000, 2000, 5000, 2000}));
    EXPECT_EQ(log.last(), QStringLiteral("end"));
    EXPECT_EQ(query.GetQueriedTotal(), 3);
    EXPECT_EQ(query.GetRightTotal(), 2);
    EXPECT_EQ(timers.PendingCount(), 0);
}

TEST_F(QueryTest, QtTimersRunTheStepsOnTheEventLoop)
{
    query.TimerFactory = {};
    TQVL_Query_Step_Options& step = query.Options->Step();
    step.questiondisplaytime = true;
    step.questiondisplaytimeintervall = 1;
    step.answerdisplaytime = true;
    step.answerdisplaytimeintervall = 1;
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum")});
    script = "wrr";
    query.Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !query.IsRunning(); }, 20000));
    EXPECT_EQ(log.last(), QStringLiteral("end"));
    EXPECT_EQ(query.GetQueriedTotal(), 3);
    EXPECT_EQ(query.GetRightTotal(), 2);

    // An error of a step that a timer ended cannot reach a caller: it is shown.
    RecordingErrorDisplay errors;
    query.OnGetUserInput = nullptr;
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum")});
    query.Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !errors.Shown.isEmpty(); }, 20000));
    EXPECT_EQ(errors.Shown, QStringList{QStringLiteral("User-Input requiered but no handler available!")});
    query.Stop();
}

TEST_F(QueryTest, TheLearnerEndsTheQuestionBeforeTheTimer)
{
    query.Options->Step().questiondisplaytime = true;
    query.Options->Step().questiondisplaytimeintervall = 5000;
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum")});
    query.Start();
    EXPECT_EQ(timers.PendingInterval(), 5000);
    query.DisplayQuestionEnd();
    EXPECT_EQ(timers.PendingCount(), 0);
    // A second "Ergebnis" while the answer is shown neither asks again nor shows a second answer.
    query.DisplayQuestionEnd();
    EXPECT_EQ(inputs, 1);
    EXPECT_EQ(log.filter(QStringLiteral("A ")).size(), 1);
    EXPECT_FALSE(timers.Fire());
    query.DisplayAnswerEnd(true);
    EXPECT_EQ(timers.PendingInterval(), 5000); // the next card's question
    EXPECT_EQ(log.last(), QStringLiteral("Q Baum/1"));
    // "Ok" before any answer is shown does nothing.
    query.DisplayAnswerEnd(true);
    EXPECT_EQ(query.GetQueriedTotal(), 1);
}

TEST_F(QueryTest, RandomCardsForMultipleChoice)
{
    addUnit(QStringLiteral("U1"),
            {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("e")});
    TQVL_Query_Cardpile& pile = *query.Cardpile;
    const TQVL_Query_Card* current = pile.Cards[2].get();
    try {
        pile.GetRandomCards(5, current);
        FAIL() << "no error";
    } catch (const TQVL_Error& error) {
        EXPECT_EQ(error.Message(), QStringLiteral("More Cards than existing wanted!"));
    }
    EXPECT_THROW(pile.GetRandomCards(6, nullptr), TQVL_Error);
    EXPECT_EQ(pile.GetRandomCards(5, nullptr).size(), 5u);

    addUnit(QStringLiteral("U2"), {QStringLiteral("f")});
    std::set<std::vector<TQVL_Query_Card*>> orders;
    for (int draw = 0; draw < 20; ++draw) {
        const std::vector<TQVL_Query_Card*> chosen = pile.GetRandomCards(5, current);
        orders.insert(chosen);
        std::set<const TQVL_Query_Card*> distinct(chosen.begin(), chosen.end());
        std::set<const TQVL_Query_Card*> others;
        for (const auto& entry : pile.Cards)
            if (entry.get() != current)
                others.insert(entry.get());
        EXPECT_EQ(distinct, others);
    }
    EXPECT_GT(orders.size(), 1u);
}

TEST_F(QueryTest, UnitsShareTheQueryTimeByTheirAnswers)
{
    TQVL_Result_Unit& first = profile.Results.GetOrCreateUnit(QStringLiteral("U1"));
    first.longtermstorage = true;
    first.GetOrCreateCard(1).lastquery = at(7, 14, 30);
    first.GetOrCreateCard(1).pointvalue = 40;
    profile.Results.GetOrCreateUnit(QStringLiteral("U2")).longtermstorage = true;
    activeUnit = &addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum")});
    addUnit(QStringLiteral("U2"), {QStringLiteral("Tisch")});
    query.Options->onlystoreresultswheallqueried = false;
    query.Start();
    answer(3);
    query.Stop();

    // 60 seconds, two thirds of the answers to U1.
    const TQVL_Result_Unit& u1 = *profile.Results.FindUnit(QStringLiteral("U1"));
    const TQVL_Result_Unit& u2 = *profile.Results.FindUnit(QStringLiteral("U2"));
    EXPECT_EQ(u1.Query(0).duration, 40);
    EXPECT_EQ(u2.Query(0).duration, 20);
    EXPECT_EQ(std::make_pair(u1.Query(0).queried, u2.Query(0).queried), std::make_pair(2, 1));
    EXPECT_EQ(profile.Seconds, 60);
    EXPECT_EQ(u1.FindCard(1)->pointvalue, 40 + 100 + 30); // three days since its last query
    // The first unit keeps its mark; the others are marked as the active unit says.
    EXPECT_TRUE(u1.longtermstorage);
    EXPECT_FALSE(u2.longtermstorage);
    EXPECT_EQ(lastQuery.Units, (QStringList{QStringLiteral("U1"), QStringLiteral("U2")}));
}

TEST_F(QueryTest, UnitShareOfTheDurationRoundsHalfToEven)
{
    addUnit(QStringLiteral("U1"), {QStringLiteral("a")});
    addUnit(QStringLiteral("U2"), {QStringLiteral("b")});
    TQVL_Query_Cardpile& pile = *query.Cardpile;
    const auto seconds = [](int s) { return TQVL_DateTime(s / 86400.0); };
    struct Case
    {
        qint32 queried1, queried2;
        int duration;
        qint32 share1;
    };
    for (const Case& c :
         {Case{1, 1, 5, 2}, Case{1, 1, 3, 2}, Case{0, 0, 7, 7}, Case{2, 1, 100, 67}, Case{0, 3, 100, 0}}) {
        pile.Cards[0]->Queried = c.queried1;
        pile.Cards[1]->Queried = c.queried2;
        EXPECT_EQ(pile.GetUnitDurationSecondsofQuery(QStringLiteral("U1"), seconds(c.duration)), c.share1)
            << c.queried1 << "/" << c.queried2 << " of " << c.duration;
    }
}

TEST_F(QueryTest, LastResultsRankTheCardsWhenTheOptionIsOn)
{
    TQVL_Result_Unit& results = profile.Results.GetOrCreateUnit(QStringLiteral("U1"));
    results.GetOrCreateCard(3).pointvalue = 500;
    results.GetOrCreateCard(3).lastquery = at(10, 14, 30);
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum"), QStringLiteral("Tisch"),
                                   QStringLiteral("Stuhl"), QStringLiteral("Lampe")});
    // The menu fills the pile before the options dialog switches the option on.
    query.Options->uselastresults = true;
    query.Start();
    EXPECT_EQ(query.CardList[2]->StartPointValue, 500);
    answer(5);
    // Tisch, with the highest point value, left after the first phase.
    ASSERT_EQ(query.CardList.size(), 4u);
    EXPECT_TRUE(std::none_of(query.CardList.begin(), query.CardList.end(),
                             [](const TQVL_Query_Card* e) { return word(*e) == QStringLiteral("Tisch"); }));
    query.Stop();
    EXPECT_EQ(results.FindCard(3)->pointvalue, 600); // only the difference is added

    // Switched off, every card starts at 0 again, although the pile still took
    // the stored values when the cards were added.
    query.Options->uselastresults = false;
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum"), QStringLiteral("Tisch")});
    EXPECT_EQ(query.Cardpile->Cards[2]->PointValue, 600);
    query.Start();
    EXPECT_EQ(query.CardList[2]->PointValue, 0);
}

TEST_F(QueryTest, ProgrammingErrorsChangeNothing)
{
    const auto message = [](const std::function<void()>& operation) {
        try {
            operation();
        } catch (const TQVL_Error& error) {
            return error.Message();
        }
        return QStringLiteral("no error");
    };
    EXPECT_EQ(message([&] { query.Stop(); }), QStringLiteral("Assertion failure (QVL_Query)"));
    EXPECT_EQ(message([&] { query.Start(); }), QStringLiteral("Cannot make a turn on empty cardlist"));
    EXPECT_EQ(message([&] { query.GetSessionRight(); }), QStringLiteral("No session running to get results for"));
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum")});
    query.ActiveUser = [] { return TQVL_Query_ActiveUser{}; };
    EXPECT_EQ(message([&] { query.Start(); }), QStringLiteral("no active User"));
    EXPECT_FALSE(query.IsRunning());
    query.ActiveUser = [this] { return TQVL_Query_ActiveUser{&profile, &profile.Results, &profile.Seconds}; };
    query.Start();
    answer(1);
    EXPECT_EQ(message([&] { query.Start(); }), QStringLiteral("Assertion failure (QVL_Query)"));
    EXPECT_TRUE(query.IsRunning());
    EXPECT_EQ(query.GetQueriedTotal(), 1);
    EXPECT_EQ(log.last(), QStringLiteral("Q Baum/1"));

    query.OnGetUserInput = nullptr;
    EXPECT_EQ(message([&] { query.DisplayQuestionEnd(); }),
              QStringLiteral("User-Input requiered but no handler available!"));
    query.OnGetUserInput = [](TQVL_Query_Card&) { return std::unique_ptr<TQVL_Card_Return>(); };
    query.Stop();
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus")});
    query.Start();
    EXPECT_EQ(message([&] { query.DisplayQuestionEnd(); }), QStringLiteral("No User-Input initialized!"));

    // A destructor cannot raise: a query released while it runs is reported.
    RecordingErrorDisplay errors;
    auto running = std::make_unique<TQVL_Query>();
    running->ActiveUser = query.ActiveUser;
    running->TimerFactory = timers.Factory();
    running->Cardpile->AddUnit(*units.front());
    running->Start();
    running.reset();
    EXPECT_EQ(errors.Shown, QStringList{QStringLiteral("Cannot free query when its still running!")});
}

TEST_F(QueryTest, TheWindowMayAnswerAndStopFromInsideItsHooks)
{
    // A learner who answers at once, inside the hooks, ends with the same
    // events as one who answers through the event loop.
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum")});
    script = "wr";
    const auto display = query.OnDisplayQuestion;
    const auto shown = query.OnDisplayAnswer;
    query.OnDisplayQuestion = [&](TQVL_Query_Card& card, int direction) {
        display(card, direction);
        query.DisplayQuestionEnd();
    };
    query.OnDisplayAnswer = [&](const TQVL_Query_AnswerShown& answer) {
        shown(answer);
        query.DisplayAnswerEnd(true);
    };
    query.Start();
    EXPECT_EQ(log.join(QLatin1Char(',')), QStringLiteral("Q Haus/1,A Haus 3,step,Q Baum/1,A Baum 1,step,turn 1/2,"
                                                         "Q Haus/1,A Haus 1,step,turn 2/1,session 1,end"));
    EXPECT_FALSE(query.IsRunning());
    EXPECT_EQ(query.GetQueriedTotal(), 3);

    // A window closed while it shows an answer stops the query from inside the hook.
    log.clear();
    answers = 0;
    script = "";
    query.OnDisplayQuestion = display;
    query.OnDisplayAnswer = [&](const TQVL_Query_AnswerShown& answer) {
        shown(answer);
        if (log.size() > 3)
            query.Stop();
    };
    query.Options->Step().answerdisplaytime = true;
    query.Options->Step().answerdisplaytimeintervall = 2000;
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum")});
    query.Start();
    answer(2);
    EXPECT_FALSE(query.IsRunning());
    EXPECT_EQ(log.join(QLatin1Char(',')), QStringLiteral("Q Haus/1,A Haus 1,step,Q Baum/1,A Baum 1"));
    EXPECT_EQ(timers.PendingCount(), 0);
    EXPECT_EQ(query.GetQueriedTotal(), 1);
}

namespace {

const QString device = QStringLiteral("00112233445566778899aabbccddeeff");

class QueryReviewLogTest : public QueryTest
{
protected:
    void SetUp() override
    {
        QueryTest::SetUp();
        query.DeviceId = [] { return device; };
        query.NowMs = [this] { return now.toMSecsSinceEpoch(); };
        // The learner takes the 20 seconds answer() gives him for each card.
        query.SteadyMs = [this] { return now.toMSecsSinceEpoch() - 5000; };
    }

    QString logFile() const { return TQVL_ReviewLog::FileName(profile.FileName, device); }
    std::vector<TQVL_ReviewLog_Entry> logged() const { return TQVL_ReviewLog::Read(logFile()).Entries; }
};

} // namespace

TEST_F(QueryReviewLogTest, EveryAnswerOfALessonIsLoggedAndOnTheDiskWhenTheQueryStops)
{
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum")});
    script = "wa"; // Haus wrong, Baum almost right, then both right in the second round
    query.Start();
    const qint64 start = now.toMSecsSinceEpoch();
    answer();
    // The ladder is the one of a query without a log.
    EXPECT_EQ(log.join(QLatin1Char(',')),
              QStringLiteral("Q Haus/1,A Haus 3,step,Q Baum/1,A Baum 2,step,turn 1/2,"
                             "Q Haus/1,A Haus 1,step,Q Baum/1,A Baum 1,step,turn 2/2,session 1,end"));
    EXPECT_EQ(query.GetRightTotal(), 2);

    // Stop closed the log: another writer may take it at once.
    TQVL_ReviewLog_Writer other;
    EXPECT_NO_THROW(other.Open(logFile()));
    other.Close();
    const std::vector<TQVL_ReviewLog_Entry> entries = logged();
    ASSERT_EQ(entries.size(), 4u);
    const struct
    {
        qint32 card;
        TQVL_ReviewVerdict verdict;
        TQVL_ReviewState before;
    } expected[] = {{1, TQVL_ReviewVerdict::Wrong, TQVL_ReviewState::New},
                    {2, TQVL_ReviewVerdict::AlmostRight, TQVL_ReviewState::New},
                    {1, TQVL_ReviewVerdict::Right, TQVL_ReviewState::Learning},
                    {2, TQVL_ReviewVerdict::Right, TQVL_ReviewState::Learning}};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        const TQVL_ReviewLog_Entry& e = entries[i];
        EXPECT_EQ(e.CardUid, expected[i].card);
        EXPECT_EQ(e.Verdict, expected[i].verdict);
        EXPECT_EQ(e.StateBefore, expected[i].before);
        EXPECT_EQ(e.UnitUid, QStringLiteral("U1"));
        EXPECT_EQ(e.Device, device);
        EXPECT_EQ(e.TimeMs, start + 20000 * qint64(i + 1));
        EXPECT_EQ(e.AnswerMs, 20000);
        EXPECT_EQ(e.StageAfter, -1) << "a lesson has no stages";
        EXPECT_EQ(e.Stability, 0.0);
        EXPECT_FALSE(e.Overridden);
    }

    // The next query continues from what the log knows.
    addUnit(QStringLiteral("U1b"), {QStringLiteral("Tisch")});
    query.Cardpile->AddUnit(*units.front());
    script = "r";
    answers = 0;
    query.Start();
    answer(1);
    query.Stop();
    ASSERT_EQ(logged().size(), 5u);
    EXPECT_EQ(logged().back().UnitUid, QStringLiteral("U1b"));
    EXPECT_EQ(logged().back().StateBefore, TQVL_ReviewState::New);
}

TEST_F(QueryReviewLogTest, AStorageLogsItsStagesAndMemoryStatesAsAReplayComputesThem)
{
    const QString uid = QStringLiteral("S");
    TQVL_Result_Unit& results = profile.Results.GetOrCreateUnit(uid);
    results.longtermstorage = true;
    // Learned with stages before the log began.
    TQVL_Result_Card& known = results.GetOrCreateCard(2);
    known.stage = 2;
    known.lastquery = at(1);
    known.all_queried = 4;
    known.all_right = 3;
    // The record as it was before the query, which moves its stage.
    TQVL_Result_Card record(2);
    record.stage = known.stage;
    record.lastquery = known.lastquery;
    record.all_queried = known.all_queried;
    record.all_right = known.all_right;
    const TQVL_Unit& storage = *units.emplace_back(
        makeUnit(uid, {QStringLiteral("eins"), QStringLiteral("zwei")}, tLongTermStorage));
    activeUnit = &storage;
    query.SetLongTermMode(true);
    query.SetReferenceDate(at(10));
    query.Cardpile->AddUnit(storage);
    ASSERT_EQ(query.Cardpile->Cards.size(), 2u);
    script = "wr" "r";
    query.Start();
    answer();
    EXPECT_FALSE(query.IsRunning());

    const std::vector<TQVL_ReviewLog_Entry> entries = logged();
    ASSERT_EQ(entries.size(), 3u);
    // Stages as the results stored them when the query stopped.
    EXPECT_EQ(entries[0].StageAfter, 0);
    EXPECT_EQ(entries[1].StageAfter, 3);
    EXPECT_EQ(entries[2].StageAfter, 0) << "1 of 2 right is not more than half";
    EXPECT_EQ(stored(uid, 1)->stage, entries[2].StageAfter);
    EXPECT_EQ(stored(uid, 2)->stage, entries[1].StageAfter);
    EXPECT_EQ(entries[1].StateBefore, TQVL_ReviewState::Review) << "seeded from its stage record";

    // The memory state logged is the one a replay of the log gives.
    TQVL_FSRS_Replay replay{TQVL_FSRS()};
    const TQVL_FSRS_Card seeded = TQVL_FSRS_Replay::Seed(record, replay.Scheduler());
    for (const TQVL_ReviewLog_Entry& e : entries) {
        SCOPED_TRACE(e.CardUid);
        const TQVL_FSRS_Card before = replay.Current(e.CardUid, e.CardUid == 2 ? &record : nullptr);
        EXPECT_EQ(e.StateBefore, before.State);
        const TQVL_FSRS_Card after =
            replay.Scheduler().Review(before, e.TimeMs, TQVL_FSRS_Replay::RatingOf(e.Verdict));
        EXPECT_GT(e.Stability, 0.0);
        EXPECT_EQ(e.Stability, after.Stability);
        EXPECT_EQ(e.Difficulty, after.Difficulty);
        replay.Apply(e);
    }
    EXPECT_GT(entries[1].Stability, seeded.Stability) << "a right answer after its interval strengthens the memory";

    // The step file the query wrote gives the stored results again on top of the record it started from.
    const TQVL_Result_Steps::Contents steps =
        TQVL_Result_Steps::Read(TQVL_Result_Steps::FileName(profile.FileName, device));
    ASSERT_EQ(steps.Steps.size(), 1u);
    TQVL_Result_User replayed;
    TQVL_Result_Unit& start = replayed.GetOrCreateUnit(uid);
    start.longtermstorage = true;
    TQVL_Result_Card& startCard = start.GetOrCreateCard(2);
    startCard.stage = record.stage;
    startCard.lastquery = record.lastquery;
    startCard.all_queried = record.all_queried;
    startCard.all_right = record.all_right;
    steps.Steps.front().ApplyTo(replayed);
    for (const qint32 card : {1, 2}) {
        SCOPED_TRACE(card);
        const TQVL_Result_Card* mine = replayed.FindUnit(uid)->FindCard(card);
        ASSERT_TRUE(mine);
        EXPECT_EQ(mine->stage, stored(uid, card)->stage);
        EXPECT_EQ(mine->all_queried, stored(uid, card)->all_queried);
        EXPECT_EQ(mine->all_right, stored(uid, card)->all_right);
        EXPECT_EQ(mine->pointvalue, stored(uid, card)->pointvalue);
        EXPECT_EQ(mine->lastquery.Serial(), stored(uid, card)->lastquery.Serial());
    }
    EXPECT_EQ(replayed.FindUnit(uid)->all_queried, results.all_queried);
}

TEST_F(QueryReviewLogTest, NoLogInPlayModeWithoutStoredResultsOrWithoutTheProfile)
{
    struct Case
    {
        const char* name;
        TQVL_QueryType type;
        bool storeResults;
        bool lockedByOtherInstance;
        QString deviceId;
    };
    for (const Case& c : {Case{"play", TQVL_QueryType::Play, true, false, device},
                          Case{"storeresults off", TQVL_QueryType::Simple, false, false, device},
                          Case{"read-only second instance", TQVL_QueryType::Simple, true, true, device},
                          Case{"user files read-only", TQVL_QueryType::Simple, true, false, QString()}}) {
        SCOPED_TRACE(c.name);
        query.QueryType = c.type;
        query.Options->storeresults = c.storeResults;
        query.DeviceId = [&c] { return c.deviceId; };
        TestProfile other;
        if (c.lockedByOtherInstance) {
            other.Open(profile.FileName);
            ASSERT_TRUE(other.RequestWriteAccess());
        }
        answers = 0;
        addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum")});
        query.Start();
        answer();
        EXPECT_FALSE(query.IsRunning());
        EXPECT_FALSE(QFileInfo::exists(logFile()));
    }
}

TEST_F(QueryReviewLogTest, ALogThatCannotBeReadLeavesTheQueryAsItWasAndSaysSo)
{
    QFile foreign(logFile());
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("# Quorvel review log, version 9\nneue,spalten\n");
    foreign.close();
    QStringList notices;
    const TQVL_Notices::Receiver previous =
        TQVL_Notices::Install([&notices](const QString& text) { notices << text; });
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum")});
    query.Start();
    answer();
    TQVL_Notices::Install(previous);
    EXPECT_EQ(query.GetRightTotal(), 2);
    EXPECT_EQ(profile.Saves, 1) << "the results are stored as ever";
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].startsWith(QStringLiteral("Die Antworten dieser Abfrage werden nicht protokolliert: "
                                                     "Das Antwortprotokoll")))
        << notices[0].toStdString();
    EXPECT_EQ(TQVL_FileHandle::ReadWholeFile(logFile()), QByteArray("# Quorvel review log, version 9\nneue,spalten\n"));
}

TEST_F(QueryReviewLogTest, IHadItRightCountsAWrongOrAlmostRightAnswerAsRight)
{
    addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum"), QStringLiteral("Tisch")});
    script = "awr";
    query.Start();
    for (const bool expected : {true, true, false}) {
        query.DisplayQuestionEnd();
        EXPECT_EQ(query.CanOverrideVerdict(), expected) << "only a wrong or almost-right verdict";
        EXPECT_EQ(query.OverrideVerdict(), expected);
        EXPECT_FALSE(query.OverrideVerdict()) << "once";
        query.DisplayAnswerEnd(true);
    }
    EXPECT_EQ(query.GetRightTotal(), 3);
    query.Stop();
    for (qint32 card : {1, 2, 3}) {
        SCOPED_TRACE(card);
        EXPECT_EQ(stored(QStringLiteral("U1"), card)->all_right, 1);
        EXPECT_EQ(stored(QStringLiteral("U1"), card)->pointvalue, 100);
    }
    const std::vector<TQVL_ReviewLog_Entry> entries = logged();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(std::make_pair(entries[0].Verdict, entries[0].Overridden),
              std::make_pair(TQVL_ReviewVerdict::AlmostRight, true));
    EXPECT_EQ(std::make_pair(entries[1].Verdict, entries[1].Overridden), std::make_pair(TQVL_ReviewVerdict::Wrong, true));
    EXPECT_EQ(std::make_pair(entries[2].Verdict, entries[2].Overridden), std::make_pair(TQVL_ReviewVerdict::Right, false));

    // Whoever judges himself has his own verdict already.
    query.Options->selfevaluation = true;
    query.Options->SetEvaluationFlags(true);
    addUnit(QStringLiteral("U2"), {QStringLiteral("Haus")});
    script = "w";
    answers = 0;
    query.Start();
    query.DisplayQuestionEnd();
    EXPECT_FALSE(query.OverrideVerdict());
    query.DisplayAnswerEnd(false);
    query.Stop();
}

TEST_F(QueryReviewLogTest, UndoRestoresTheQueryExactlyAsItWasBeforeTheAnswer)
{
    // The learner meant "rwrr" and right from there on: Haus right, Baum wrong, Tisch right, Baum right in round 2.
    // Each case slips once and takes the slip back after `undoAfter` answers.
    struct Run
    {
        std::string script;
        int undoAfter;
    };
    struct Outcome
    {
        QStringList window;
        std::vector<std::tuple<qint32, qint32, qint32, qint32>> cards;
        std::vector<std::pair<qint32, TQVL_ReviewVerdict>> logged;
        qint32 queried = 0;
        qint32 right = 0;
    };
    const auto run = [this](const Run& r) {
        profile.Results.Clear();
        QFile::remove(logFile());
        log.clear();
        answers = 0;
        script = r.script;
        addUnit(QStringLiteral("U1"), {QStringLiteral("Haus"), QStringLiteral("Baum"), QStringLiteral("Tisch")});
        query.Start();
        EXPECT_FALSE(query.CanUndoLastAnswer()) << "nothing answered yet";
        Outcome outcome;
        if (r.undoAfter > 0) {
            answer(r.undoAfter);
            outcome.window = log;
            EXPECT_TRUE(query.CanUndoLastAnswer());
            EXPECT_TRUE(query.UndoLastAnswer());
            EXPECT_FALSE(query.UndoLastAnswer()) << "one answer only";
            const QString undoneQuestion = log.back();
            EXPECT_TRUE(undoneQuestion.startsWith(QStringLiteral("Q "))) << "the card is asked again";
            log = outcome.window;
            // What the window sees from here on must be what the learner meant.
            log.removeLast(); // the question shown when he took the answer back
            while (!log.isEmpty() && !log.back().startsWith(QStringLiteral("Q ")))
                log.removeLast();
            log.removeLast();
            log << undoneQuestion;
        }
        answer();
        EXPECT_FALSE(query.IsRunning());
        EXPECT_FALSE(query.CanUndoLastAnswer());
        outcome.window = log;
        outcome.queried = query.GetQueriedTotal();
        outcome.right = query.GetRightTotal();
        for (qint32 card : {1, 2, 3}) {
            const TQVL_Result_Card& c = *stored(QStringLiteral("U1"), card);
            outcome.cards.emplace_back(c.all_queried, c.all_right, c.pointvalue, c.last_right);
        }
        for (const TQVL_ReviewLog_Entry& e : logged())
            outcome.logged.emplace_back(e.CardUid, e.Verdict);
        return outcome;
    };
    const Outcome meant = run({"rwrr", 0});
    // Two phases: the fourth answer ends the first.
    ASSERT_EQ(meant.logged.size(), 6u);
    ASSERT_TRUE(meant.window.contains(QStringLiteral("session 1")));
    // Within a round, over a round's end, over a phase's end, in the second phase.
    for (const Run& slip : {Run{"wrwrr", 1}, Run{"rrwrr", 2}, Run{"rwwrr", 3}, Run{"rwrwr", 4}, Run{"rwrrwr", 5}}) {
        SCOPED_TRACE(slip.script);
        const Outcome outcome = run(slip);
        EXPECT_EQ(outcome.window, meant.window);
        EXPECT_EQ(outcome.cards, meant.cards);
        EXPECT_EQ(outcome.logged, meant.logged) << "the slip is no longer in the log";
        EXPECT_EQ(outcome.queried, meant.queried);
        EXPECT_EQ(outcome.right, meant.right);
    }
}

TEST(QueryHooks, AHandleTakesOutOnlyTheHooksItInstalledAndMayOutliveTheQuery)
{
    auto query = std::make_unique<TQVL_Query>();
    int first = 0;
    int second = 0;
    TQVL_Query_Hooks firstHooks;
    firstHooks.OnStepEnd = [&first] { ++first; };
    TQVL_Query_HookHandle firstHandle = query->InstallHooks(firstHooks);
    ASSERT_TRUE(firstHandle.Holds());
    query->OnStepEnd();
    EXPECT_EQ(first, 1);
    {
        TQVL_Query_Hooks secondHooks;
        secondHooks.OnStepEnd = [&second] { ++second; };
        TQVL_Query_HookHandle secondHandle = query->InstallHooks(secondHooks);
        EXPECT_FALSE(firstHandle.Holds()) << "a later screen takes the hooks over";
        firstHandle.Reset();
        ASSERT_TRUE(query->OnStepEnd) << "the earlier screen, going late, leaves the later one's hooks";
        query->OnStepEnd();
        EXPECT_EQ(second, 1);
        TQVL_Query_HookHandle moved = std::move(secondHandle);
        EXPECT_FALSE(secondHandle.Holds());
        EXPECT_TRUE(moved.Holds());
    }
    EXPECT_FALSE(query->OnStepEnd) << "the hooks go with the handle that holds them";

    TQVL_Query_HookHandle last = query->InstallHooks(firstHooks);
    query.reset();
    EXPECT_FALSE(last.Holds()) << "the query went first; the handle's end touches nothing";
}
