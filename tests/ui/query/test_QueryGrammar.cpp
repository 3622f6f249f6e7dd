// The grammar window: controls built from the unit's card arrangement, the
// values asked field by field, the right values shown in place.
#include "content/QVL_CardArrangement.h"
#include "tests/ui/query/test_QueryFixture.h"
#include "ui/shell/ForeignInput.h"
#include "ui/query/Form_QueryResultPic.h"
#include "ui/query/Form_Query_Grammar.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

class GrammarQueryTest : public QueryWindowTest
{
protected:
    QLabel* ValueLabel(TFormQueryGrammar& screen, int id) const
    {
        return screen.Panel1->findChild<QLabel*>(QStringLiteral("Label_Field%1").arg(id));
    }
    TFormQueryResultPic* Answer(TFormQueryGrammar& screen, const QStringList& values)
    {
        const std::vector<QLineEdit*> fields = screen.AnswerFields();
        for (std::size_t i = 0; i < fields.size() && i < std::size_t(values.size()); ++i) {
            fields[i]->setFocus();
            TypeText(*fields[i], values[qsizetype(i)]);
        }
        QTest::keyClick(fields.back(), Qt::Key_Return);
        return dynamic_cast<TFormQueryResultPic*>(screen.ResultWindow());
    }
};

} // namespace

TEST_F(GrammarQueryTest, TheArrangementsFieldsAreAskedAndTheRightValuesShownInPlace)
{
    OpenUnit(QStringLiteral("Englisch - Unregelmäßige Verben.qxu"));
    Pile({1, 2});
    auto* screen = Start<TFormQueryGrammar>();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->HelpPage(), QStringLiteral("help_query_grammar.html"));

    const std::vector<QLineEdit*> fields = screen->AnswerFields();
    ASSERT_EQ(fields.size(), 2u) << "two input fields in the arrangement";
    EXPECT_EQ(fields[0]->objectName(), QStringLiteral("Edit_Field2"));
    EXPECT_TRUE(IsForeignInput(fields[0])) << "English forms are typed";
    EXPECT_TRUE(fields[0]->hasFocus());
    ASSERT_NE(ValueLabel(*screen, 1), nullptr);
    EXPECT_EQ(ValueLabel(*screen, 1)->text(), QStringLiteral("begin"));
    EXPECT_EQ(ValueLabel(*screen, 4)->text(), QStringLiteral("beginnen, anfangen"));
    EXPECT_TRUE(ValueLabel(*screen, 1)->font().bold()) << "the arrangement shows its labels bold";
    // Every placed control lies inside the panel, the input field right of its caption.
    for (const TFormQueryGrammar::FieldControl& control : screen->Controls())
        EXPECT_TRUE(screen->Panel1->rect().contains(control.Control->geometry())) << control.FieldIndex;
    EXPECT_GT(fields[1]->y(), fields[0]->y());

    TFormQueryResultPic* result = Answer(*screen, {QStringLiteral("began"), QStringLiteral("begun")});
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Label1->text(), QStringLiteral("R i c h t i g"));
    EXPECT_EQ(result->height(), TFormQueryResultPic::SlimHeight);
    EXPECT_FALSE(result->Label_RightAnswersAbove->isVisibleTo(result));
    EXPECT_FALSE(fields[0]->isEnabled());
    QTest::mouseClick(result->Button_Ok, Qt::LeftButton);

    EXPECT_EQ(ValueLabel(*screen, 1)->text(), QStringLiteral("break"));
    EXPECT_TRUE(fields[0]->isEnabled());
    EXPECT_TRUE(fields[0]->text().isEmpty());
    result = Answer(*screen, {QStringLiteral("broke"), QStringLiteral("broked")});
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Label1->text(), QStringLiteral("F a l s c h")) << "one of two right is 50 %";
    EXPECT_TRUE(result->Label_RightAnswersAbove->isVisibleTo(result));
    EXPECT_EQ(fields[1]->text(), QStringLiteral("broken")) << "the right value replaces the typed one";
    EXPECT_FALSE(fields[1]->isEnabled());
}
