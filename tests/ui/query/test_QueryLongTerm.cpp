// A lesson copied into its long-term storage and the storage then queried
// through the vocabulary window: only due cards come, stages move up.
#include "content/QVL_Card_Voc.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "tests/ui/query/test_QueryFixture.h"
#include "ui/shell/FormDialogMeta.h"
#include "ui/query/Form_QueryResultVoc.h"
#include "ui/query/Form_Query_Voc.h"
#include "ui/exchange/Form_UnitsIntegrate.h"
#include "users/QVL_User.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

class LongTermQueryTest : public QueryWindowTest
{
protected:
    // The profile as saved on disk.
    std::unique_ptr<TQVL_User> StoredProfile() const
    {
        auto stored = std::make_unique<TQVL_User>();
        stored->Open(ProfilePath);
        return stored;
    }
    // Answers every asked card with its first home meaning until the query
    // ends (at most `limit` answers); returns the number of answers.
    int AnswerAllRight(TFormQueryVoc& screen, int limit)
    {
        int answers = 0;
        while (Query().IsRunning() && answers < limit) {
            const auto& card = *static_cast<const TQVL_Card_Voc*>(Asked());
            TypeText(*screen.TntEdit1, card.home1);
            QTest::keyClick(screen.TntEdit1, Qt::Key_Return);
            auto* result = dynamic_cast<TFormQueryResultVoc*>(screen.ResultWindow());
            EXPECT_NE(result, nullptr);
            if (!result)
                break;
            QTest::mouseClick(result->Button_Ok, Qt::LeftButton);
            ++answers;
        }
        return answers;
    }
};

} // namespace

TEST_F(LongTermQueryTest, ACopiedLessonIsQueriedFromItsStorageAndItsCardsMoveUp)
{
    OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    const int lessonCards = Unit().Cards->Count();
    // The integration dialog, confirmed as the learner would.
    const auto previous = TFormDialogMeta::InstallModalRunner([](QDialog& dialog) {
        if (auto* integrate = qobject_cast<TFormUnitsIntegrate*>(&dialog)) {
            integrate->Integrate();
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    });
    TFormUnitsIntegrate::IntegrateActiveUnit(window->Core());
    TFormDialogMeta::InstallModalRunner(previous);
    ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    Unit().CloseFile();

    const QString storagePath = folders.Documents() + QStringLiteral("/Storages/Englisch.qxs");
    Unit().Open(storagePath);
    ASSERT_EQ(Unit().Typ, tLongTermStorage);
    ASSERT_EQ(Unit().Cards->Count(), lessonCards);

    TQVL_Query& query = Query();
    query.Options->onlystoreresultswheallqueried = false;
    const TQVL_DateTime today = TQVL_DateTime::Now().DateOf();
    query.SetLongTermMode(true);
    query.SetReferenceDate(today);
    query.Cardpile->AddUnit(Unit());
    ASSERT_EQ(int(query.Cardpile->Cards.size()), lessonCards) << "every copied card is due at stage 0";

    auto* screen = Start<TFormQueryVoc>();
    ASSERT_NE(screen, nullptr);
    const int answers = AnswerAllRight(*screen, 5 * lessonCards);
    ASSERT_FALSE(query.IsRunning());
    EXPECT_GE(answers, lessonCards);

    const std::unique_ptr<TQVL_User> profile = StoredProfile();
    const TQVL_Result_Unit* stored = profile->Results().FindUnit(Unit().Uid);
    ASSERT_NE(stored, nullptr);
    EXPECT_TRUE(stored->longtermstorage);
    int movedUp = 0;
    for (int i = 0; i < stored->CardCount(); ++i) {
        const TQVL_Result_Card& card = stored->Card(i);
        if (card.stage == 1) {
            ++movedUp;
            EXPECT_EQ(card.lastquery.Serial(), today.Serial());
        }
    }
    EXPECT_EQ(movedUp, lessonCards) << "every card answered right once moves to stage 1";
    profile->CloseFile();

    // The same day nothing is due any more: stage 1 waits a day.
    query.Cardpile->Clear();
    query.SetReferenceDate(today);
    query.Cardpile->AddUnit(Unit());
    EXPECT_TRUE(query.Cardpile->Cards.empty());
    query.Cardpile->Clear();
}

TEST_F(LongTermQueryTest, AQueryOverTwoLessonsStoresTheResultsOfBoth)
{
    OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    auto* second = static_cast<TQVL_Unit*>(window->Core().Units->CreateAdditionalFile());
    second->Open(folders.Documents() + QStringLiteral("/Lektionen/Englisch - Aussprache.qxu"));
    TQVL_Query& query = Query();
    query.Options->onlystoreresultswheallqueried = false;
    query.Cardpile->AddUnit(Unit());
    query.Cardpile->AddUnit(*second);
    const int cards = Unit().Cards->Count() + second->Cards->Count();
    // The further lesson is closed with the query window; keep what is checked afterwards.
    const std::vector<std::pair<QString, int>> lessons = {{Unit().Uid, Unit().Cards->Count()},
                                                          {second->Uid, second->Cards->Count()}};
    ASSERT_EQ(int(query.Cardpile->Cards.size()), cards);

    auto* screen = Start<TFormQueryVoc>();
    ASSERT_NE(screen, nullptr);
    AnswerAllRight(*screen, 5 * cards);
    ASSERT_FALSE(query.IsRunning());

    const std::unique_ptr<TQVL_User> profile = StoredProfile();
    for (const auto& [uid, count] : lessons) {
        const TQVL_Result_Unit* stored = profile->Results().FindUnit(uid);
        ASSERT_NE(stored, nullptr) << uid.toStdString();
        // Every answer was right; the later phases ask the remaining cards again.
        EXPECT_GE(stored->last_queried, count);
        EXPECT_EQ(stored->last_right, stored->last_queried);
        ASSERT_EQ(stored->QueryCount(), 1);
        EXPECT_EQ(stored->Query(0).queried, stored->last_queried);
    }
    profile->CloseFile();
    window->ShowMainMenu();
    EXPECT_EQ(window->Core().Units->AdditionalFileCount(), 0) << "the further lesson is closed with the window";
}
