#include "content/QVL_CardArrangement.h"
#include "content/QVL_Card_Grammar.h"
#include "content/QVL_Card_Pic.h"
#include "content/QVL_Card_Pic_ClickArea_Circle.h"
#include "content/QVL_Card_Pic_ClickArea_Rectangle.h"
#include "content/QVL_Card_Sound.h"
#include "core/QVL_Error.h"
#include "query/QVL_Card_Return_Grammar.h"
#include "query/QVL_Card_Return_Pic.h"
#include "query/QVL_Card_Return_Voc.h"
#include "query/QVL_Query_Evaluation_Options.h"
#include "tests/support/GermanLocale.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <utility>
#include <vector>

namespace {

using Verdict = std::pair<int, int>; // percent, code

Verdict evaluate(const TQVL_Card_Return& answer, int direction, bool ignoreCase = false, bool allMeanings = false)
{
    TQVL_Query_Evaluation_Options options;
    options.ignorecase = ignoreCase;
    options.allmeaningscorrect = allMeanings;
    TQVL_Query_StepResult result{7, TQVL_StepCode(7)}; // overwritten in every case
    answer.Evaluate(result, direction, options);
    return {result.Percent, int(result.Code)};
}

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

using CardReturn = GermanLocaleTest;

} // namespace

TEST_F(CardReturn, CreateReturnPicksTheAnswerClassOfTheCardKind)
{
    TQVL_Card_Voc voc;
    TQVL_Card_Sound sound;
    TQVL_Card_Pic pic;
    TQVL_Card_Grammar grammar;
    TQVL_Card info;
    TQVL_CardArrangement arrangement;

    const auto forVoc = CreateReturn(voc);
    ASSERT_NE(dynamic_cast<TQVL_Card_Return_Voc*>(forVoc.get()), nullptr);
    EXPECT_EQ(dynamic_cast<TQVL_Card_Return_Pic*>(forVoc.get()), nullptr);
    EXPECT_EQ(&forVoc->Card, &voc);
    const auto forSound = CreateReturn(sound);
    EXPECT_NE(dynamic_cast<TQVL_Card_Return_Voc*>(forSound.get()), nullptr);
    EXPECT_EQ(dynamic_cast<TQVL_Card_Return_Pic*>(forSound.get()), nullptr);
    EXPECT_NE(dynamic_cast<TQVL_Card_Return_Pic*>(CreateReturn(pic).get()), nullptr);
    const auto forGrammar = CreateReturn(grammar, &arrangement);
    const auto* grammarReturn = dynamic_cast<TQVL_Card_Return_Grammar*>(forGrammar.get());
    ASSERT_NE(grammarReturn, nullptr);
    EXPECT_EQ(grammarReturn->Arrangement, &arrangement);
    EXPECT_EQ(CreateReturn(info), nullptr);
}

TEST_F(CardReturn, VocabularyAnswers)
{
    struct Row
    {
        const char* why;
        std::vector<const char*> foreign; // foreign1..3
        std::vector<const char*> home;    // home1..3
        const char* text;
        int direction;
        Verdict expected;
        bool hint = false;
        bool ignoreCase = false;
        bool allMeanings = false;
        char delimiter = ';';
    };
    const std::vector<const char*> goWalk = {"go", "walk"};
    const std::vector<const char*> gehen = {"gehen", "laufen"};
    const Row rows[] = {
        {"right", {"house"}, {"Haus"}, "Haus", 1, {100, 1}},
        {"blanks around the answer", {"house"}, {"Haus"}, "  Haus ", 1, {100, 1}},
        {"blank answer", {"house"}, {"Haus"}, "   ", 1, {0, 3}},
        {"direction 1 expects the home side", {"house"}, {"Haus"}, "house", 1, {0, 3}},
        {"direction 2 expects the foreign side", {"house"}, {"Haus"}, "house", 2, {100, 1}},
        {"second or third meaning alone", {"house", "home", "building"}, {"Haus"}, "building", 2, {100, 1}},
        {"umlaut spelling", {"house"}, {"Häuser"}, "Haeuser", 1, {80, 2}},
        {"sharp s spelling", {"street"}, {"Straße"}, "Strasse", 1, {80, 2}},
        {"jmd.", {"help sb."}, {"jemanden helfen"}, "jmd. helfen", 1, {80, 2}},
        {"article missing", {"house"}, {"das Haus"}, "Haus", 1, {50, 2}},
        {"article added", {"house"}, {"Haus"}, "das Haus", 1, {50, 2}},
        {"swapped letters", {"house"}, {"Haus"}, "huose", 2, {50, 2}},
        {"left-out letter", {"house"}, {"Haus"}, "Hus", 1, {50, 2}},
        {"left-out last letter", {"house"}, {"Haus"}, "Hau", 1, {50, 2}},
        {"accent left out", {"school"}, {"école"}, "ecole", 1, {80, 2}},
        {"note in brackets left out", {"car"}, {"la bagnole (fam)"}, "la bagnole", 1, {80, 2}},
        {"letter case counts", {"house"}, {"Haus"}, "haus", 1, {0, 3}},
        {"ignorecase", {"house"}, {"Haus"}, "HAUS", 1, {100, 1}, false, true},
        {"ignorecase umlauts", {"anger"}, {"Ärger"}, "ÄRGER", 1, {100, 1}, false, true},
        {"two meanings in any order", goWalk, gehen, "walk;go", 2, {100, 1}},
        {"two meanings", goWalk, gehen, "go; walk", 2, {100, 1}},
        {"the worst meaning counts", goWalk, gehen, "go; run", 2, {0, 3}},
        {"the worst meaning counts", goWalk, gehen, "go; wlak", 2, {50, 2}},
        {"empty fields are skipped", goWalk, gehen, "go;; ;", 2, {100, 1}},
        {"fields after the third are ignored", {"go", "walk", "run"}, {}, "go;walk;run;fly", 2, {100, 1}},
        {"one of two meanings", goWalk, gehen, "go", 2, {100, 1}},
        {"all meanings required", goWalk, gehen, "go", 2, {0, 4}, false, false, true},
        {"all meanings given", goWalk, gehen, "walk; go", 2, {100, 1}, false, false, true},
        {"almost right is not checked for all", goWalk, gehen, "og", 2, {50, 2}, false, false, true},
        {"hint, right", {"house"}, {"Haus"}, "Haus", 1, {50, 5}, true},
        {"hint, almost right", {"street"}, {"Straße"}, "Strasse", 1, {40, 2}, true},
        {"hint, article", {"house"}, {"das Haus"}, "Haus", 1, {25, 2}, true},
        {"hint, wrong", {"house"}, {"Haus"}, "Hof", 1, {0, 3}, true},
        {"hint, not all meanings", goWalk, gehen, "go", 2, {0, 4}, true, false, true},
        {"the delimiter of the options", goWalk, gehen, "go; walk", 2, {0, 3}, false, false, false, '/'},
        {"the delimiter of the options", goWalk, gehen, "go / walk", 2, {100, 1}, false, false, false, '/'},
        {"no delimiter set", goWalk, gehen, "go; walk", 2, {0, 3}, false, false, false, '\0'},
        {"a meaning with the delimiter", {"hello"}, {"Guten Tag; Hallo"}, "Guten Tag; Hallo", 1, {100, 1}},
        {"a card without meanings", {}, {}, "Haus", 1, {0, 3}},
        // Blanks and spellings the learner cannot see, meanings left empty or
        // containing the delimiter, and the multiple-choice list text must not
        // turn a right answer wrong, nor a mark alone into an almost-right one.
        {"decomposed umlaut typed", {"houses"}, {"Häuser"}, "Ha\u0308user", 1, {100, 1}},
        {"blank kept at the end of a meaning", {"house "}, {"Haus"}, "house", 2, {100, 1}},
        {"an empty meaning is no candidate", {"house"}, {"Haus"}, ".", 1, {0, 3}},
        {"an empty meaning is no candidate", {"house"}, {"Haus"}, "!", 2, {0, 3}},
        {"all meanings, one left empty", {"go", "", "walk"}, {}, "go; walk", 2, {100, 1}, false, false, true},
        {"all meanings, one given twice", goWalk, gehen, "go; go", 2, {0, 4}, false, false, true},
        {"delimiter, ignorecase", {"hi"}, {"Guten Tag; Hallo"}, "guten TAG; hallo", 1, {100, 1}, false, true},
        {"delimiter in the second meaning", {"Hallo", "Guten Tag; Hallo"}, {"hi"}, "Guten Tag; Hallo", 2, {100, 1}},
        {"the list text of multiple choice", goWalk, gehen, "go, walk", 2, {100, 1}, false, false, true},
        {"the list text of multiple choice", {"go", "", "walk"}, gehen, "go, walk", 2, {100, 1}},
        {"the list text of multiple choice", goWalk, gehen, "gehen, laufen", 1, {50, 5}, true, true, true},
    };
    for (const Row& row : rows) {
        TQVL_Card_Sound card; // a vocabulary card with sound files answers alike
        QString* foreign[] = {&card.foreign1, &card.foreign2, &card.foreign3};
        QString* home[] = {&card.home1, &card.home2, &card.home3};
        for (std::size_t i = 0; i < row.foreign.size(); ++i)
            *foreign[i] = u(row.foreign[i]);
        for (std::size_t i = 0; i < row.home.size(); ++i)
            *home[i] = u(row.home[i]);
        TQVL_Card_Return_Voc answer(card);
        answer.Text = u(row.text);
        answer.HintUsed = row.hint;
        answer.Delimiter = QChar::fromLatin1(row.delimiter);
        EXPECT_EQ(evaluate(answer, row.direction, row.ignoreCase, row.allMeanings), row.expected)
            << row.why << ": \"" << row.text << "\"";
    }
}

TEST_F(CardReturn, VocabularyAnswerWithoutDirectionIsAProgrammingError)
{
    TQVL_Card_Voc card;
    TQVL_Card_Return_Voc answer(card);
    EXPECT_THROW(evaluate(answer, 0), TQVL_Error);
}

TEST_F(CardReturn, PictureAnswers)
{
    struct Row
    {
        const char* why;
        quint8 answerType;
        const char* text;
        bool clicked;
        int x;
        int y;
        Verdict expected;
        bool ignoreCase = false;
    };
    const Row rows[] = {
        {"typed, right", 0, "Eiffelturm", false, 0, 0, {100, 1}},
        {"typed, blank after it", 0, "Eiffelturm ", false, 0, 0, {100, 1}},
        {"typed, slip", 0, "Eifelturm", false, 0, 0, {50, 2}},
        {"typed, article", 0, "der Eiffelturm", false, 0, 0, {50, 2}},
        {"typed, letter case", 0, "eiffelturm", false, 0, 0, {0, 3}},
        {"typed, ignorecase", 0, "EIFFELTURM", false, 0, 0, {100, 1}, true},
        {"typed, blank", 0, " ", false, 0, 0, {0, 3}},
        {"typed, a click does not count", 0, "", true, 100, 100, {0, 3}},
        {"click into the circle", 1, "", true, 160, 100, {100, 1}},
        {"click beside the circle", 1, "", true, 161, 100, {0, 3}},
        {"click into the rectangle", 1, "", true, 0, 0, {100, 1}},
        {"click outside every area", 1, "", true, 300, 300, {0, 3}},
        {"no click, (0, 0) lies in an area", 1, "", false, 0, 0, {0, 3}},
        {"click type, the text does not count", 1, "Eiffelturm", false, 0, 0, {0, 3}},
        {"unknown answer type", 2, "Eiffelturm", true, 100, 100, {0, 3}},
    };
    for (const Row& row : rows) {
        TQVL_Card_Pic card;
        card.answer_typ = row.answerType;
        card.answer_text = QStringLiteral("Eiffelturm");
        auto* circle = static_cast<TQVL_Card_Pic_ClickArea_Circle*>(card.clickareas->AddNew(catCircle));
        circle->left = 100;
        circle->top = 100;
        circle->radius = 60;
        auto* rectangle = static_cast<TQVL_Card_Pic_ClickArea_Rectangle*>(card.clickareas->AddNew(catRectangle));
        rectangle->width = 10;
        rectangle->height = 10;
        TQVL_Card_Return_Pic answer(card);
        answer.Text = u(row.text);
        answer.HintUsed = true; // picture cards have no hint rule
        if (row.clicked)
            answer.SetClick(row.x, row.y);
        EXPECT_EQ(evaluate(answer, 1, row.ignoreCase), row.expected) << row.why;
    }
}

TEST_F(CardReturn, GrammarAnswers)
{
    // Eight input fields (ids 11-18) among fields that are not asked; the label
    // field 1 has a value on the card but is only shown.
    TQVL_CardArrangement eight;
    auto addField = [](TQVL_CardArrangement& arrangement, TQVL_CardArrangement_FieldType type, qint32 id) {
        TQVL_CardArrangement_Field* field = arrangement.AddField();
        field->Type = type;
        field->Id = id;
    };
    addField(eight, cftLabelField, 1);
    addField(eight, cftConstantLabel, 2);
    for (qint32 id = 11; id <= 14; ++id)
        addField(eight, cftInputField, id);
    addField(eight, cftColumn, 3);
    addField(eight, cftVertSpace, 4);
    for (qint32 id = 15; id <= 18; ++id)
        addField(eight, cftInputField, id);
    TQVL_CardArrangement four;
    for (qint32 id = 11; id <= 14; ++id)
        addField(four, cftInputField, id);
    TQVL_CardArrangement none;
    addField(none, cftLabelField, 1);

    TQVL_Card_Grammar card;
    card.SetValue(1, QStringLiteral("gehen"));
    const char* const forms[] = {"gehe", "gehst", "geht", "gehen", "geht", "gehen", "ging", ""};
    for (qint32 id = 11; id <= 18; ++id)
        card.SetValue(id, u(forms[id - 11]));

    using Answers = std::vector<std::pair<qint32, const char*>>;
    Answers all;
    for (qint32 id = 11; id <= 18; ++id)
        all.push_back({id, forms[id - 11]});
    auto with = [&all](std::initializer_list<std::pair<qint32, const char*>> changes) {
        Answers answers = all;
        for (const auto& [id, text] : changes)
            answers[std::size_t(id - 11)].second = text;
        return answers;
    };

    Answers firstPairWrong = all;
    firstPairWrong.insert(firstPairWrong.begin(), {12, "x"});

    struct Row
    {
        const char* why;
        const TQVL_CardArrangement* arrangement;
        Answers answers;
        Verdict expected;
    };
    const Row rows[] = {
        {"all right", &eight, all, {100, 1}},
        {"7 of 8", &eight, with({{17, "gang"}}), {88, 2}},
        {"6 of 8", &eight, with({{17, "gang"}, {11, "gehst"}}), {75, 3}},
        {"1 of 8 rounds half to even", &eight, {{18, ""}}, {12, 3}},
        {"3 of 4", &four, with({{14, "gegangen"}}), {75, 3}},
        {"letter case counts", &four, with({{11, "Gehe"}}), {75, 3}},
        {"blanks around the text do not", &four, with({{11, " gehe "}}), {100, 1}},
        {"a missing answer is the empty text", &eight, Answers(all.begin(), all.end() - 1), {100, 1}},
        {"the first pair of a field counts", &four, firstPairWrong, {75, 3}},
        {"no input fields", &none, {}, {100, 1}},
    };
    for (const Row& row : rows) {
        TQVL_Card_Return_Grammar answer(card, row.arrangement);
        for (const auto& [id, text] : row.answers)
            answer.Add(u(text), id);
        // Options play no part: ignorecase would not forgive "Gehe".
        EXPECT_EQ(evaluate(answer, 2, true, true), row.expected) << row.why;
    }
}

TEST_F(CardReturn, GrammarAnswerKeepsItsPairs)
{
    TQVL_Card_Grammar card;
    TQVL_Card_Return_Grammar answer(card);
    answer.Add(QStringLiteral("a"), 5);
    answer.Add(QStringLiteral("b"), 5);
    EXPECT_EQ(answer.GetText(5), QStringLiteral("a"));
    EXPECT_EQ(answer.GetText(6), QString());
    answer.Clear();
    EXPECT_EQ(answer.GetText(5), QString());
    EXPECT_THROW(evaluate(answer, 1), TQVL_Error); // no arrangement
}
