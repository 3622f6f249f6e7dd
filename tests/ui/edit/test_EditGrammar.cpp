#include "tests/ui/edit/EditFixture.h"

#include "content/QVL_Card_Grammar.h"
#include "ui/edit/Form_EditGrammar.h"
#include "ui/shell/ForeignInput.h"

#include <QLabel>
#include <QLineEdit>

namespace {

struct FieldSpec
{
    int id;
    const char* type;
    const char* caption;
    bool foreign;
};

class EditGrammarTest : public EditorTest
{
protected:
    // An arrangement file with `fields` in the templates folder, and a grammar unit that names it.
    TFormEditGrammar* OpenWith(const QByteArray& uid, std::initializer_list<FieldSpec> fields)
    {
        QByteArray text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>1</version>\r\n  <uid>" +
                          uid + "</uid>\r\n  <name>Test " + uid + "</name>\r\n  <staticlabel_bold>true</staticlabel_bold>\r\n"
                          "  <fields>\r\n";
        for (const FieldSpec& field : fields)
            text += "    <field><id>" + QByteArray::number(field.id) + "</id><type>" + field.type + "</type><caption>" +
                    field.caption + "</caption><language_foreign>" + (field.foreign ? "true" : "false") +
                    "</language_foreign></field>\r\n";
        text += "  </fields>\r\n</root>\r\n";
        WriteFile(folders.AppData() + QStringLiteral("/Data/GrammarTemplates/test") + QString::fromLatin1(uid) +
                      QStringLiteral(".qxa"),
                  text);
        TQVL_Unit_New created;
        created.Name = QStringLiteral("Verben ") + QString::fromLatin1(uid);
        created.Typ = tGrammar;
        created.LangCodeHome = QStringLiteral("ger");
        created.LangCodeForeign = QStringLiteral("eng");
        created.ArrangementId = QString::fromLatin1(uid);
        path = created.Create(UnitsFolder());
        OpenUnit(path);
        return OpenEditor<TFormEditGrammar>();
    }
    static QRect Geometry(const QWidget* widget)
    {
        return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
    }

    QString path;
};

} // namespace

TEST_F(EditGrammarTest, OneColumnArrangementStacksItsInputsAndStoresTheValuesByFieldId)
{
    TFormEditGrammar* editor = OpenWith("{ONE}", {{1, "labelfield", "Infinitiv:", true},
                                                 {0, "constantlabel", "Formen", false},
                                                 {0, "vertspace", "", false},
                                                 {7, "inputfield", "Präteritum:", true},
                                                 {9, "inputfield", "Deutsch:", false}});
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Label_Arrangement->text(), QStringLiteral("Vorlage: Test {ONE}"));
    ASSERT_EQ(editor->Inputs().size(), 3u);
    const auto& inputs = editor->Inputs();
    EXPECT_EQ(inputs[0].Id, 1);
    EXPECT_EQ(inputs[1].Id, 7);
    EXPECT_EQ(inputs[2].Id, 9);
    EXPECT_TRUE(IsForeignInput(inputs[0].Input));
    EXPECT_FALSE(IsForeignInput(inputs[2].Input));
    const QRect first = Geometry(inputs[0].Input), second = Geometry(inputs[1].Input), third = Geometry(inputs[2].Input);
    EXPECT_EQ(first.left(), second.left());
    EXPECT_EQ(second.left(), third.left());
    EXPECT_LT(first.bottom(), second.top());
    EXPECT_LT(second.bottom(), third.top());
    for (const auto& bound : inputs)
        EXPECT_LE(bound.Input->width(), TFormEditGrammar::InputMaxWidth);

    inputs[0].Input->setFocus();
    QTest::keyClicks(inputs[0].Input, QStringLiteral("go"));
    QTest::keyClicks(inputs[1].Input, QStringLiteral("went"));
    Click(editor->Button_SaveAndNext);
    ASSERT_EQ(Unit().Cards->Count(), 2);
    const auto* card = dynamic_cast<const TQVL_Card_Grammar*>(Unit().Cards->Card(0));
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->GetValue(1), QStringLiteral("go"));
    EXPECT_EQ(card->GetValue(7), QStringLiteral("went"));
    // An input left empty adds no value of its own.
    EXPECT_EQ(card->FieldValueCount(), 2);
    EXPECT_TRUE(inputs[0].Input->text().isEmpty());

    Click(editor->Button_First);
    EXPECT_EQ(inputs[1].Input->text(), QStringLiteral("went"));
    Click(editor->Button_SaveAndDone);
    TQVL_Unit saved;
    saved.Open(path);
    ASSERT_EQ(saved.Cards->Count(), 1);
    EXPECT_EQ(static_cast<TQVL_Card_Grammar*>(saved.Cards->Card(0))->GetValue(7), QStringLiteral("went"));
    saved.CloseFile();
}

TEST_F(EditGrammarTest, ColumnsStandSideBySideAndStartAtTheSameHeight)
{
    TFormEditGrammar* editor = OpenWith("{TWO}", {{1, "inputfield", "Substantiv:", true},
                                                 {0, "column", "", false},
                                                 {2, "inputfield", "Nominativ:", true},
                                                 {3, "inputfield", "Genitiv:", true},
                                                 {0, "column", "", false},
                                                 {4, "inputfield", "Nominativ:", true}});
    ASSERT_NE(editor, nullptr);
    const auto& inputs = editor->Inputs();
    ASSERT_EQ(inputs.size(), 4u);
    const QRect top = Geometry(inputs[0].Input), left1 = Geometry(inputs[1].Input), left2 = Geometry(inputs[2].Input),
                right = Geometry(inputs[3].Input);
    // The field before the first column is above both columns.
    EXPECT_LT(top.bottom(), left1.top());
    EXPECT_LT(top.bottom(), right.top());
    EXPECT_EQ(left1.left(), left2.left());
    EXPECT_LT(left1.bottom(), left2.top());
    EXPECT_EQ(right.top(), left1.top());
    EXPECT_GT(right.left(), left1.right());
}

TEST_F(EditGrammarTest, ACardWithValuesTheArrangementDoesNotShowIsNeverRemovedAsEmpty)
{
    TFormEditGrammar* editor = OpenWith("{OLD}", {{1, "inputfield", "Infinitiv:", true}});
    ASSERT_NE(editor, nullptr);
    auto* old = static_cast<TQVL_Card_Grammar*>(Unit().Cards->Card(0));
    old->SetValue(5, QStringLiteral("hidden"));
    Click(editor->Button_SaveAndNext);
    ASSERT_EQ(Unit().Cards->Count(), 2);
    EXPECT_EQ(static_cast<TQVL_Card_Grammar*>(Unit().Cards->Card(0))->GetValue(5), QStringLiteral("hidden"));
}
