#include "content/QVL_Card_Container.h"
#include "content/QVL_Card_Grammar.h"
#include "content/QVL_Card_Pic.h"
#include "content/QVL_Card_Sound.h"
#include "content/QVL_Card_Voc.h"
#include "core/QVL_Error.h"
#include "core/QVL_XML.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The content tree of "<cards>…</cards>" given as XML text.
std::unique_ptr<TQVL_XML> cardsDocument(const char* cards)
{
    auto document = std::make_unique<TQVL_XML>();
    document->LoadFromBytes(QByteArray("<root><version>1</version><cards>") + cards + "</cards></root>");
    return document;
}

TQVL_XMLTag& cardsTag(TQVL_XML& document)
{
    return document.Root->NeedChild(QStringLiteral("cards"));
}

QStringList childNames(const TQVL_XMLTag& tag)
{
    QStringList names;
    for (int i = 0; i < tag.ChildCount(); ++i)
        names.append(tag.Child(i)->Name);
    return names;
}

std::unique_ptr<TQVL_Card_Voc> voc(QString f1, QString f2 = {}, QString f3 = {}, QString h1 = {}, QString h2 = {},
                                   QString h3 = {})
{
    auto card = std::make_unique<TQVL_Card_Voc>();
    card->foreign1 = std::move(f1);
    card->foreign2 = std::move(f2);
    card->foreign3 = std::move(f3);
    card->home1 = std::move(h1);
    card->home2 = std::move(h2);
    card->home3 = std::move(h3);
    return card;
}

// Counts its releases, to see which card a container frees.
class CountingCard : public TQVL_Card_Voc
{
public:
    explicit CountingCard(int& counter) : released(counter) {}
    ~CountingCard() override { ++released; }

private:
    int& released;
};

} // namespace

TEST(Card, KindsNamesAndFactory)
{
    struct Case
    {
        int kind;
        const char* name;
        TQVL_CardType type;
    };
    const Case cases[] = {{0, "info", tInfo},   {1, "voc", tVoc},   {2, "pic", tPic},   {3, "grammar", tGrammar},
                          {4, "sound", tSound}, {5, "info", tInfo}, {-1, "info", tInfo}};
    for (const Case& c : cases) {
        const std::unique_ptr<TQVL_Card> card = TQVL_Card::CreateCard(c.kind);
        EXPECT_EQ(card->CardType, c.type) << c.kind;
        EXPECT_EQ(card->ElementName(), QLatin1String(c.name)) << c.kind;
        EXPECT_EQ(card->Uid, 0);
        EXPECT_FALSE(card->HasExternalFile);
    }
    EXPECT_NE(dynamic_cast<TQVL_Card_Sound*>(TQVL_Card::CreateCard(tSound).get()), nullptr);
    EXPECT_NE(dynamic_cast<TQVL_Card_Pic*>(TQVL_Card::CreateCard(tPic).get()), nullptr);
    EXPECT_NE(dynamic_cast<TQVL_Card_Grammar*>(TQVL_Card::CreateCard(tGrammar).get()), nullptr);
    EXPECT_EQ(TQVL_Card::CardKindOfName(u"sound"), tSound);
    EXPECT_EQ(TQVL_Card::CardKindOfName(u"Voc"), tInfo) << "names are case-sensitive";
    EXPECT_EQ(TQVL_Card::CardKindOfName(u"quiz"), tInfo);
}

TEST(Card, EveryKindWritesAllChildrenInFileOrder)
{
    const std::pair<int, QStringList> cases[] = {
        {tInfo, {"uid"}},
        {tVoc, {"uid", "foreign1", "foreign2", "foreign3", "home1", "home2", "home3", "hint", "note"}},
        {tSound,
         {"foreign_filename", "home_filename", "uid", "foreign1", "foreign2", "foreign3", "home1", "home2", "home3",
          "hint", "note"}},
        {tGrammar, {"uid", "fieldvalues"}},
        {tPic, {"uid", "question", "answer", "picture_filename"}},
    };
    for (const auto& [kind, names] : cases) {
        TQVL_XMLTag element(QStringLiteral("card"));
        TQVL_Card::CreateCard(kind)->SaveToXML(element);
        EXPECT_EQ(childNames(element), names) << kind;
        EXPECT_EQ(element.FindChild(QStringLiteral("uid"))->Value, QStringLiteral("0"));
    }

    TQVL_Card_Grammar grammar;
    grammar.SetValue(3, QStringLiteral("gone"));
    grammar.AddFieldValue();
    TQVL_XMLTag element(QStringLiteral("grammar"));
    grammar.SaveToXML(element);
    const TQVL_XMLTag& list = element.NeedChild(QStringLiteral("fieldvalues"));
    ASSERT_EQ(list.ChildCount(), 2);
    EXPECT_EQ(list.Child(0)->Name, QStringLiteral("fieldvalue"));
    EXPECT_EQ(childNames(*list.Child(0)), QStringList({"id", "value"}));
    EXPECT_EQ(list.Child(0)->Child(0)->Value, QStringLiteral("3"));
    EXPECT_EQ(list.Child(1)->Child(0)->Value, QStringLiteral("0"));
}

TEST(Card, ReadingIsTolerant)
{
    const auto document =
        cardsDocument("<voc><home1>Haus</home1><foreign1>house</foreign1><uid>9</uid><foreign1>home</foreign1></voc>"
                      "<sound><uid>4</uid><home_filename>/s/Haus.ogg</home_filename></sound>"
                      "<grammar><fieldvalues><x><value>ging</value></x><fieldvalue><id>2</id></fieldvalue>"
                      "<y/></fieldvalues><uid>3</uid></grammar>"
                      "<quiz><uid>5</uid><question>?</question></quiz>");
    TQVL_Card_Container cards;
    cards.LoadFromXML(cardsTag(*document));
    ASSERT_EQ(cards.Count(), 4);

    const auto* v = dynamic_cast<TQVL_Card_Voc*>(cards.Card(0));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->Uid, 9);
    EXPECT_EQ(v->foreign1, QStringLiteral("home")) << "of two elements, the last";
    EXPECT_EQ(v->home1, QStringLiteral("Haus"));
    EXPECT_TRUE(v->foreign2.isEmpty() && v->hint.isEmpty() && v->note.isEmpty());

    const auto* s = dynamic_cast<TQVL_Card_Sound*>(cards.Card(1));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->home_filename, QStringLiteral("/s/Haus.ogg"));
    EXPECT_TRUE(s->foreign_filename.isEmpty());

    const auto* g = dynamic_cast<TQVL_Card_Grammar*>(cards.Card(2));
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Uid, 3);
    ASSERT_EQ(g->FieldValueCount(), 3) << "every child of fieldvalues is a field value";
    EXPECT_EQ(g->FieldValue(0)->id, 0);
    EXPECT_EQ(g->FieldValue(0)->value, QStringLiteral("ging"));
    EXPECT_EQ(g->FieldValue(1)->id, 2);
    EXPECT_TRUE(g->FieldValue(1)->value.isEmpty());

    EXPECT_EQ(cards.Card(3)->CardType, tInfo) << "an unknown element is an information card";
    EXPECT_EQ(cards.Card(3)->Uid, 5);
    TQVL_XMLTag written(QStringLiteral("cards"));
    cards.SaveToXML(written);
    EXPECT_EQ(written.Child(3)->Name, QStringLiteral("info"));
    EXPECT_EQ(childNames(*written.Child(3)), QStringList({"uid"}));
}

TEST(Card, BrokenCardsRaise)
{
    const char* cases[] = {
        "<voc><uid>x</uid></voc>",
        "<voc><uid/></voc>",
        "<info><uid>4294967296</uid></info>",
        "<grammar><uid>1</uid></grammar>",
        "<grammar><fieldvalues><fieldvalue><id>1.5</id></fieldvalue></fieldvalues></grammar>",
    };
    for (const char* xml : cases) {
        const auto document = cardsDocument(xml);
        TQVL_Card_Container cards;
        cards.NewCard(tVoc);
        EXPECT_THROW(cards.LoadFromXML(cardsTag(*document)), TQVL_Error) << xml;
        EXPECT_EQ(cards.Count(), 1) << "a failed read leaves the list as it was: " << xml;
    }
}

TEST(Card, VocabularyMatches)
{
    struct Case
    {
        std::unique_ptr<TQVL_Card_Voc> a, b;
        bool identical, similar;
        const char* what;
    };
    Case cases[] = {
        {voc("Haus"), voc("Haus"), true, true, "same foreign1"},
        {voc("Haus"), voc("", "Haus"), false, false, "the same text in another field"},
        {voc(""), voc(""), true, false, "all six empty"},
        {voc("Haus", "", "", "house"), voc("Haus", "", "", "home"), false, true, "one equal field"},
        {voc("Haus"), voc("haus"), false, false, "case-sensitive"},
        {voc("", "", "", "", "", "x"), voc("", "", "", "", "", "x"), true, true, "home3"},
    };
    for (Case& c : cases) {
        EXPECT_EQ(c.a->Matches(*c.b, true), c.identical) << c.what;
        EXPECT_EQ(c.a->Matches(*c.b, false), c.similar) << c.what;
    }

    auto a = voc("Haus", "", "", "house");
    auto b = voc("Haus", "", "", "house");
    a->hint = QStringLiteral("h");
    b->note = QStringLiteral("n");
    EXPECT_TRUE(a->Matches(*b, true)) << "hint and note are not compared";

    TQVL_Card_Sound sound;
    sound.foreign1 = QStringLiteral("Haus");
    sound.home1 = QStringLiteral("house");
    TQVL_Card_Sound other;
    other.foreign1 = QStringLiteral("Haus");
    other.home1 = QStringLiteral("house");
    other.foreign_filename = QStringLiteral("/x.ogg");
    EXPECT_TRUE(sound.Matches(other, true)) << "sound files are not compared";
    EXPECT_FALSE(sound.Matches(*a, true)) << "a sound card never matches a vocabulary card";
    EXPECT_FALSE(a->Matches(sound, false));
    EXPECT_TRUE(TQVL_Card().Matches(TQVL_Card(), true));
    EXPECT_FALSE(TQVL_Card().Matches(*a, false));
}

TEST(Card, GrammarAndPictureMatches)
{
    TQVL_Card_Grammar g1, g2;
    g1.SetValue(1, QStringLiteral("go"));
    g1.SetValue(2, QStringLiteral("went"));
    g2.SetValue(2, QStringLiteral("went"));
    EXPECT_TRUE(g1.Matches(g2, true));
    EXPECT_TRUE(g1.Matches(g2, false));
    g2.SetValue(2, QStringLiteral("gone"));
    g2.SetValue(1, QStringLiteral("went"));
    EXPECT_FALSE(g1.Matches(g2, false)) << "equal text under another id";
    g1.SetValue(7, QString());
    g2.SetValue(7, QString());
    EXPECT_TRUE(g1.Matches(g2, true)) << "equal empty texts count";

    TQVL_Card_Pic p1, p2;
    p1.question = p2.question = QStringLiteral("Was ist das?");
    p1.picture_filename = p2.picture_filename = QStringLiteral("Haus.png");
    EXPECT_TRUE(p1.Matches(p2, true));
    EXPECT_TRUE(p1.Matches(p2, false));
    p2.clickareas->AddNew(catCircle);
    EXPECT_FALSE(p1.Matches(p2, true)) << "the number of click areas differs";
    p1.clickareas->AddNew(catRectangle);
    EXPECT_TRUE(p1.Matches(p2, true)) << "positions and kinds of areas are not compared";
    p2.picture_filename = QStringLiteral("Baum.png");
    EXPECT_FALSE(p1.Matches(p2, true));
    EXPECT_TRUE(p1.Matches(p2, false)) << "the question alone makes them similar";
    p1.question.clear();
    p2.question.clear();
    EXPECT_FALSE(p1.Matches(p2, false)) << "empty questions and answers are not similar";
    p1.answer_text = p2.answer_text = QStringLiteral("house");
    EXPECT_TRUE(p1.Matches(p2, false));
    EXPECT_FALSE(p1.Matches(g1, false));
}

TEST(Card, MeaningTexts)
{
    EXPECT_EQ(voc("a", "", "c")->ForeignText(), QStringLiteral("a, c"));
    EXPECT_EQ(voc("", "b")->ForeignText(), QStringLiteral("b"));
    EXPECT_EQ(voc("")->ForeignText(), QString());
    EXPECT_EQ(voc("x", "", "", "Haus", "Heim", "Zuhause")->HomeText(), QStringLiteral("Haus, Heim, Zuhause"));
}

TEST(Card, GrammarValues)
{
    TQVL_Card_Grammar card;
    EXPECT_EQ(card.GetValue(1), QString());
    card.SetValue(1, QStringLiteral("go"));
    TQVL_Card_Grammar_FieldValue* added = card.AddFieldValue();
    EXPECT_EQ(added->id, 0);
    added->id = 1;
    added->value = QStringLiteral("second");
    ASSERT_EQ(card.FieldValueCount(), 2);
    EXPECT_EQ(card.GetValue(1), QStringLiteral("go")) << "the first item with the id";
    card.SetValue(1, QStringLiteral("went"));
    EXPECT_EQ(card.FieldValueCount(), 2) << "SetValue changes every item with the id and adds none";
    EXPECT_EQ(card.FieldValue(1)->value, QStringLiteral("went"));
    card.SetValue(5, QStringLiteral("gone"));
    ASSERT_EQ(card.FieldValueCount(), 3);
    EXPECT_EQ(card.FieldValue(2)->id, 5);
    card.ClearFieldValues();
    EXPECT_EQ(card.FieldValueCount(), 0);
}

TEST(CardContainer, IdentifiersAreNeverReused)
{
    const auto document = cardsDocument("<voc><uid>3</uid></voc><voc><uid>9</uid></voc><info><uid>17</uid></info>");
    TQVL_Card_Container cards;
    cards.LoadFromXML(cardsTag(*document));
    cards.MaxCardId = 17;
    cards.Delete(2);
    TQVL_Card* card = cards.NewCard(tGrammar);
    EXPECT_EQ(card->Uid, 18) << "deleting does not lower MaxCardId";
    EXPECT_EQ(card->CardType, tGrammar);
    EXPECT_EQ(cards.MaxCardId, 18);
    EXPECT_EQ(cards.Card(2), card);
    EXPECT_EQ(cards.FindByUid(9), cards.Card(1));
    EXPECT_EQ(cards.FindByUid(17), nullptr);
    EXPECT_EQ(cards.IndexOf(card), 2);

    cards.Add(std::make_unique<TQVL_Card>());
    EXPECT_EQ(cards.Card(3)->Uid, 0) << "Add keeps the card's Uid";
    cards.Clear();
    EXPECT_EQ(cards.Count(), 0);
    EXPECT_EQ(cards.NewCard(tVoc)->Uid, 19) << "Clear keeps MaxCardId";
}

TEST(CardContainer, DeleteReleasesExactlyThatCard)
{
    int released[3] = {0, 0, 0};
    TQVL_Card_Container cards;
    std::vector<TQVL_Card*> added;
    for (int& counter : released)
        added.push_back(cards.Add(std::make_unique<CountingCard>(counter)));
    cards.Delete(0);
    EXPECT_EQ(released[0], 1);
    EXPECT_EQ(released[1] + released[2], 0);
    ASSERT_EQ(cards.Count(), 2);
    EXPECT_EQ(cards.Card(0), added[1]);
    EXPECT_EQ(cards.Card(1), added[2]);
}

TEST(CardContainer, ExternalFiles)
{
    TQVL_Card_Container cards;
    cards.NewCard(tVoc);
    cards.NewCard(tPic);
    EXPECT_FALSE(cards.HasExternalFiles());
    const auto document = cardsDocument("<pic><picture_filename>Haus.png</picture_filename></pic>");
    TQVL_Card_Container pictures;
    pictures.LoadFromXML(cardsTag(*document));
    EXPECT_TRUE(pictures.HasExternalFiles());
}

TEST(CardContainer, IntegrateCopiesWithNewIdentifiers)
{
    struct Case
    {
        bool skipIdentical, skipSimilar;
        QStringList added; // foreign1 of the copies, in order
    };
    const Case cases[] = {
        {false, false, {"house", "house", "tree", ""}},
        {true, false, {"house", "tree", ""}},
        {false, true, {"tree", ""}},
        {true, true, {"tree", ""}},
    };
    for (const Case& c : cases) {
        TQVL_Card_Container target;
        target.Add(voc("house", "", "", "Haus"))->Uid = 4;
        target.MaxCardId = 10;
        TQVL_Card_Container source;
        source.Add(voc("house", "", "", "Haus"))->Uid = 1;    // identical
        source.Add(voc("house", "", "", "Gebäude"))->Uid = 2; // similar
        source.Add(voc("tree", "", "", "Baum"))->Uid = 3;     // new
        source.Add(voc(""))->Uid = 4;                         // identical to nothing here, similar to nothing

        target.Integrate(source, c.skipIdentical, c.skipSimilar);
        ASSERT_EQ(target.Count(), 1 + c.added.size()) << c.skipIdentical << c.skipSimilar;
        for (int i = 0; i < c.added.size(); ++i) {
            const auto* copy = dynamic_cast<TQVL_Card_Voc*>(target.Card(1 + i));
            ASSERT_NE(copy, nullptr);
            EXPECT_EQ(copy->foreign1, c.added[i]);
            EXPECT_EQ(copy->Uid, 11 + i);
        }
        EXPECT_EQ(target.MaxCardId, 10 + int(c.added.size()));
        EXPECT_EQ(source.Count(), 4);
        EXPECT_EQ(source.Card(2)->Uid, 3) << "the source keeps its identifiers";
    }

    // The copies are the container's own: changing one leaves the source alone.
    TQVL_Card_Container source;
    auto* picture = static_cast<TQVL_Card_Pic*>(source.NewCard(tPic));
    picture->clickareas->AddNew(catCircle);
    picture->question = QStringLiteral("Wo?");
    TQVL_Card_Container target;
    target.Integrate(source, true, true);
    auto* copy = dynamic_cast<TQVL_Card_Pic*>(target.Card(0));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->question, QStringLiteral("Wo?"));
    copy->clickareas->Clear();
    EXPECT_EQ(picture->clickareas->Count(), 1);

    // Integrating a container into itself doubles it once.
    target.Integrate(target, false, false);
    EXPECT_EQ(target.Count(), 2);
}

TEST(CardContainer, FindMatchesVisitsPairsInOrder)
{
    TQVL_Card_Container mine, theirs;
    mine.Add(voc("a"))->Uid = 1;
    mine.Add(voc("b"))->Uid = 2;
    mine.Add(voc("a", "x"))->Uid = 3;
    theirs.Add(voc("a", "x"))->Uid = 10;
    theirs.Add(voc("b"))->Uid = 11;
    theirs.Add(voc("a"))->Uid = 12;
    for (const bool identical : {false, true}) {
        QStringList pairs;
        mine.FindMatches(theirs, identical, [&](TQVL_Card& a, TQVL_Card& b, bool flag) {
            EXPECT_EQ(flag, identical);
            pairs.append(QStringLiteral("%1-%2").arg(a.Uid).arg(b.Uid));
        });
        if (identical)
            EXPECT_EQ(pairs, QStringList({"1-12", "2-11", "3-10"}));
        else
            EXPECT_EQ(pairs, QStringList({"1-10", "1-12", "2-11", "3-10", "3-12"}));
    }
}
