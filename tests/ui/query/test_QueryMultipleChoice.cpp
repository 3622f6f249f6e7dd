// The multiple-choice window: five entries with the right one once, answered
// with the digit keys, and the message for a missing choice.
#include "content/QVL_Card_Voc.h"
#include "tests/ui/query/test_QueryFixture.h"
#include "ui/query/Form_QueryResultVoc.h"
#include "ui/query/Form_Query_VocMultipleChoice.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

class MultipleChoiceTest : public QueryWindowTest
{
protected:
    TFormQueryVocMultipleChoice* StartChoice()
    {
        OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
        Query().QueryType = TQVL_QueryType::MultipleChoice;
        Pile({1, 2, 3, 4, 5, 6, 7});
        return Start<TFormQueryVocMultipleChoice>();
    }
    QStringList Entries(const TFormQueryVocMultipleChoice& screen) const
    {
        QStringList entries;
        for (int i = 0; i < screen.TntListBox1->count(); ++i)
            entries << screen.TntListBox1->item(i)->text();
        return entries;
    }
    QString RightEntry() const { return static_cast<const TQVL_Card_Voc*>(Asked())->HomeText(); }
    TFormQueryResultVoc* Press(TFormQueryVocMultipleChoice& screen, int digit)
    {
        QTest::keyClick(screen.TntListBox1, Qt::Key(Qt::Key_0 + digit));
        return dynamic_cast<TFormQueryResultVoc*>(screen.ResultWindow());
    }
};

} // namespace

TEST_F(MultipleChoiceTest, TheDigitKeysPickAnEntryAndTheRightOneIsListedOnce)
{
    TFormQueryVocMultipleChoice* screen = StartChoice();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->HelpPage(), QStringLiteral("help_query_voc_multiplechoice.html"));
    bool sawTwoMeanings = false;
    bool answeredWrong = false;
    for (int step = 0; step < 7; ++step) {
        EXPECT_FALSE(screen->TntEdit1->isVisible());
        EXPECT_TRUE(screen->TntListBox1->hasFocus());
        const QStringList entries = Entries(*screen);
        ASSERT_EQ(entries.size(), 5);
        const QString right = RightEntry();
        ASSERT_EQ(entries.count(right), 1) << right.toStdString();
        sawTwoMeanings = sawTwoMeanings || right.contains(QStringLiteral(", "));

        // Every other card is answered with a wrong entry.
        const int rightDigit = int(entries.indexOf(right)) + 1;
        const int digit = step % 2 == 0 ? rightDigit : (rightDigit % 5) + 1;
        TFormQueryResultVoc* result = Press(*screen, digit);
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->Label_Input->text(),
                  QStringLiteral("\"") +
                      QString(entries[digit - 1]).replace(QStringLiteral(", "), QStringLiteral("; ")) +
                      QStringLiteral("\""));
        EXPECT_EQ(result->Label1->text(),
                  digit == rightDigit ? QStringLiteral("R i c h t i g") : QStringLiteral("F a l s c h"))
            << right.toStdString();
        answeredWrong = answeredWrong || digit != rightDigit;
        QTest::mouseClick(result->Button_Ok, Qt::LeftButton);
    }
    EXPECT_TRUE(sawTwoMeanings) << "a card with two meanings was picked right, too";
    EXPECT_TRUE(answeredWrong);
}

TEST_F(MultipleChoiceTest, WithoutAChosenEntryTheQuestionStaysWithAMessage)
{
    TFormQueryVocMultipleChoice* screen = StartChoice();
    ASSERT_NE(screen, nullptr);
    const QString message = QStringLiteral("Bitte wählen Sie eine Antwort.");

    QTest::mouseClick(screen->Button_Result, Qt::LeftButton);
    EXPECT_EQ(dialogs.Errors, QStringList{message});
    EXPECT_EQ(Press(*screen, 0), nullptr);
    EXPECT_EQ(Press(*screen, 6), nullptr);
    EXPECT_EQ(dialogs.Errors, (QStringList{message, message, message}));
    EXPECT_EQ(Press(*screen, 7), nullptr);
    EXPECT_EQ(Press(*screen, 9), nullptr);
    EXPECT_EQ(dialogs.Errors.size(), 3) << "digits above one more than the entries do nothing";
    EXPECT_EQ(Query().GetQueriedTotal(), 0);

    // The mouse works as well: a chosen entry and "Ergebnis".
    screen->TntListBox1->setCurrentRow(int(Entries(*screen).indexOf(RightEntry())));
    QTest::mouseClick(screen->Button_Result, Qt::LeftButton);
    ASSERT_NE(screen->ResultWindow(), nullptr);
    EXPECT_EQ(screen->ResultWindow()->Label1->text(), QStringLiteral("R i c h t i g"));
}

TEST_F(MultipleChoiceTest, ASmallPileListsAllItsCardsAndTheDigitsFollowTheShorterList)
{
    OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    Query().QueryType = TQVL_QueryType::MultipleChoice;
    Pile({1, 3, 4});
    auto* screen = Start<TFormQueryVocMultipleChoice>();
    ASSERT_NE(screen, nullptr);
    const QStringList entries = Entries(*screen);
    EXPECT_EQ(entries.size(), 3);
    for (const QString& text : {QStringLiteral("Haus"), QStringLiteral("Familie"), QStringLiteral("Mutter")})
        EXPECT_EQ(entries.count(text), 1) << text.toStdString();

    EXPECT_EQ(Press(*screen, 5), nullptr);
    EXPECT_TRUE(dialogs.Errors.isEmpty());
    EXPECT_EQ(Press(*screen, 4), nullptr);
    EXPECT_EQ(dialogs.Errors, QStringList{QStringLiteral("Bitte wählen Sie eine Antwort.")});
    TFormQueryResultVoc* result = Press(*screen, int(entries.indexOf(RightEntry())) + 1);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Label1->text(), QStringLiteral("R i c h t i g"));
}
