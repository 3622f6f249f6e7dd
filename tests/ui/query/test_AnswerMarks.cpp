// The vocabulary answer window marks where a wrong or almost right answer
// differs from the nearest expected meaning, and the query reads cards
// without a recording aloud when the learner wants that.
#include "content/QVL_Card_Voc.h"
#include "tests/ui/query/test_QueryFixture.h"
#include "ui/query/Form_QueryResultVoc.h"
#include "ui/query/Form_Query_Voc.h"
#include "ui/query/MarkedTextLabel.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

class AnswerMarksTest : public QueryWindowTest
{
protected:
    TFormQueryResultVoc* Answer(TFormQueryVoc& screen, const QString& text)
    {
        TypeText(*screen.TntEdit1, text);
        QTest::keyClick(screen.TntEdit1, Qt::Key_Return);
        return dynamic_cast<TFormQueryResultVoc*>(screen.ResultWindow());
    }
};

} // namespace

TEST_F(AnswerMarksTest, AWrongOrAlmostRightAnswerShowsWhichCharactersDiffer)
{
    Query().Options->Step().evaluation->ignorecase = false;
    OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    Pile({1, 2, 3}); // house/Haus, home/Zuhause; Heim, family/Familie
    auto* screen = Start<TFormQueryVoc>();
    ASSERT_NE(screen, nullptr);

    const struct
    {
        const char* typed;
        std::vector<std::pair<int, int>> marked; // start, length in the shown text (after the quote)
        std::vector<int> gaps;
        const char* verdict;
    } answers[] = {
        {"Hasu", {{3, 2}}, {}, "F a s t   r i c h t i g"}, // typing slip: two letters swapped
        {"Heimm", {{5, 1}}, {}, "F a l s c h"},            // nearest meaning "Heim", one too many
        {"Familie", {}, {}, "R i c h t i g"},              // right: nothing marked
    };
    for (const auto& answer : answers) {
        SCOPED_TRACE(answer.typed);
        TFormQueryResultVoc* result = Answer(*screen, QString::fromUtf8(answer.typed));
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->Label1->text(), QString::fromUtf8(answer.verdict));
        // The text stays what was typed, for the eye and for a screen reader.
        EXPECT_EQ(result->Label_Input->text(),
                  QStringLiteral("\"") + QString::fromUtf8(answer.typed) + QStringLiteral("\""));
        std::vector<std::pair<int, int>> marked;
        for (const auto& range : result->Label_Input->Marked())
            marked.emplace_back(range.Start, range.Length);
        EXPECT_EQ(marked, answer.marked);
        EXPECT_EQ(result->Label_Input->Gaps(), answer.gaps);
        EXPECT_EQ(result->Label_Input->toolTip().isEmpty(), answer.marked.empty() && answer.gaps.empty());
        QTest::mouseClick(result->Button_Ok, Qt::LeftButton);
    }
}

TEST_F(AnswerMarksTest, AMissingLetterIsMarkedWhereItBelongs)
{
    OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    Pile({1, 2});
    auto* screen = Start<TFormQueryVoc>();
    ASSERT_NE(screen, nullptr);
    TFormQueryResultVoc* result = Answer(*screen, QStringLiteral("Hus"));
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(result->Label_Input->Marked().empty());
    EXPECT_EQ(result->Label_Input->Gaps(), std::vector<int>{2}) << "between H and u";
    // Drawn: the marked label looks different from the plain one.
    const QImage marked = result->Label_Input->grab().toImage();
    result->Label_Input->ClearMarks();
    EXPECT_NE(result->Label_Input->grab().toImage(), marked);
}

TEST_F(AnswerMarksTest, WithoutAComputedVerdictNothingIsMarked)
{
    SetOptions(true);
    OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    Pile({1, 2});
    auto* screen = Start<TFormQueryVoc>();
    ASSERT_NE(screen, nullptr);
    TFormQueryResultVoc* result = Answer(*screen, QStringLiteral("Hxus"));
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(result->Label_Input->Marked().empty()) << "the learner judges himself";
}

TEST_F(AnswerMarksTest, TheQueryReadsTheQuestionAndTheAnswerAloudWhenSwitchedOn)
{
    OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    Pile({1, 2, 3});
    Query().Options->Step().sounds = false;
    auto* screen = Start<TFormQueryVoc>();
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(Played.isEmpty()) << "off unless the learner switches it on";
    ASSERT_TRUE(screen->Button_ReadAloud->isVisible());
    QTest::mouseClick(screen->Button_ReadAloud, Qt::LeftButton);
    EXPECT_TRUE(window->Core().Users->GetActiveUser().readaloud);

    TFormQueryResultVoc* result = Answer(*screen, QStringLiteral("Haus"));
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(Played.isEmpty()) << "the answer is read after its pause";
    ASSERT_TRUE(QTest::qWaitFor([&] { return Played.size() == 1; }, 5000));
    EXPECT_TRUE(Played.front().endsWith(QStringLiteral(".wav")));
    QTest::mouseClick(result->Button_Ok, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Played.size() == 2; }, 5000)) << "the next question is read at once";
    EXPECT_NE(Played.at(1), Played.at(0));
}
