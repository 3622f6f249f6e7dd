#include "core/QVL_DateTime.h"
#include "core/QVL_Error.h"
#include "core/QVL_XML.h"
#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLStream.h"
#include "core/QVL_XMLTagWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

// What reading gives: the value as text, or the error's message.
QString outcome(const std::function<QString()>& read)
{
    try {
        return u"= "_s + read();
    } catch (const TQVL_Error& error) {
        return u"! "_s + error.Message();
    }
}

// Everything a reader can ask of an element, asked of the same element seen
// in the parser's tree and in its tag copy, recursively.
void expectAlike(const TQVL_XMLElement& parsed, const TQVL_XMLElement& copied, const QString& path)
{
    const std::string where = path.toStdString();
    EXPECT_EQ(parsed.Name(), copied.Name()) << where;
    EXPECT_EQ(parsed.Value(), copied.Value()) << where;
    EXPECT_EQ(parsed.Value().isNull(), copied.Value().isNull()) << where;
    EXPECT_EQ(parsed.AsBoolean(), copied.AsBoolean()) << where;
    EXPECT_EQ(outcome([&] { return QString::number(parsed.AsInteger()); }),
              outcome([&] { return QString::number(copied.AsInteger()); }))
        << where;
    EXPECT_EQ(outcome([&] { return QString::number(parsed.AsInt64()); }),
              outcome([&] { return QString::number(copied.AsInt64()); }))
        << where;
    EXPECT_EQ(outcome([&] { return QString::number(parsed.AsDateTime().Serial(), 'g', 17); }),
              outcome([&] { return QString::number(copied.AsDateTime().Serial(), 'g', 17); }))
        << where;
    EXPECT_EQ(outcome([&] { return parsed.NeedChild("missing"_L1).Value(); }),
              outcome([&] { return copied.NeedChild("missing"_L1).Value(); }))
        << where;
    ASSERT_EQ(parsed.ChildCount(), copied.ChildCount()) << where;

    TQVL_XMLElement p = parsed.FirstChild();
    TQVL_XMLElement c = copied.FirstChild();
    for (int i = 0; i < parsed.ChildCount(); ++i) {
        ASSERT_TRUE(p && c) << where << " child " << i;
        const QString name = c.Name();
        const QByteArray latin1 = name.toLatin1();
        EXPECT_EQ(parsed.FindChild(QLatin1String(latin1)).Value(), copied.FindChild(QLatin1String(latin1)).Value())
            << where << " of two alike, the last";
        expectAlike(p, c, path + u'/' + name);
        p = p.NextSibling();
        c = c.NextSibling();
    }
    EXPECT_FALSE(p) << where;
    EXPECT_FALSE(c) << where;
}

const QByteArray tricky = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                          "<anything a=\"1\"><!-- comment --><version>1</version>"
                          "<n>-17</n><n>2147483648</n><n> 1</n><n/><n>+5</n><n>12a</n><n>\xEF\xBB\xBF"
                          "5</n><n>\xC3\xA4</n>"
                          "<big>99999999999999999999</big><big>-9223372036854775808</big>"
                          "<b>true</b><b>TRUE</b><b> true</b>"
                          "<d>07.03.2026 08:05:09</d><d>07.03.2026</d><d>2026-03-07T08:05:09</d><d>31.02.2026</d>"
                          "<d>\xEF\xBB\xBF"
                          "07.03.2026</d><d>7.3.2026</d><d>gestern</d><d>07.03.2026 08:05:0\xC3\xA4</d>"
                          "<t>&lt;&amp;&#228;&#x42;</t><t><![CDATA[<raw>]]> and <?pi x?>more</t><t>  </t>"
                          "<t>\xC3\xBC\xE2\x82\xAC\xF0\x9F\x98\x80</t>"
                          "<marks>\xEF\xBB\xBF\xEF\xBB\xBFzwei</marks>"
                          "<mixed>lead\r\n  <inner>x</inner>  tail  \r\n</mixed>"
                          "<list>\r\n  <x>1</x><!-- between -->\r\n  <y>2</y>\r\n  <x>3</x>\r\n</list>"
                          "</anything>";

} // namespace

TEST(XMLElement, AParsedElementReadsLikeItsTagCopy)
{
    TQVL_XML parsed;
    parsed.Parse(tricky);
    EXPECT_EQ(parsed.Version, 1);
    TQVL_XML copied;
    copied.LoadFromBytes(tricky);
    ASSERT_TRUE(parsed.Element());
    EXPECT_EQ(parsed.Element().Name(), u"anything"_s);
    EXPECT_EQ(parsed.Element().ChildCount(), copied.Root->ChildCount());
    TQVL_XMLElement p = parsed.Element().FirstChild();
    for (int i = 0; i < copied.Root->ChildCount(); ++i, p = p.NextSibling())
        expectAlike(p, *copied.Root->Child(i), u"root/"_s + copied.Root->Child(i)->Name);

    // Spot checks, so that agreeing on something wrong does not pass.
    const TQVL_XMLElement root = parsed.Element();
    EXPECT_EQ(root.FindChild("mixed"_L1).Value(), u"lead\r\n    tail"_s);
    EXPECT_EQ(root.FindChild("t"_L1).Value(), u"ü€😀"_s);
    EXPECT_EQ(root.FindChild("list"_L1).FindChild("x"_L1).Value(), u"3"_s);
    // A leading U+FEFF inside a file is text, not a byte order mark to drop.
    EXPECT_EQ(root.FindChild("marks"_L1).Value(), u"\uFEFF\uFEFFzwei"_s);
    EXPECT_EQ(root.FindChild("big"_L1).AsInt64(), std::numeric_limits<qint64>::min());
    EXPECT_EQ(outcome([&] { return QString::number(root.FindChild("n"_L1).AsInteger()); }),
              u"! 'ä' ist kein gültiger Integerwert"_s);
    EXPECT_EQ(outcome([&] { return root.FindChild("list"_L1).NeedChild("z"_L1).Value(); }),
              u"! Element \"z\" fehlt in \"list\""_s);
}

TEST(XMLElement, FindChildrenTakesTheLastOfEachNameInAnyOrder)
{
    TQVL_XML document;
    document.Parse("<root><version>1</version><c><b>1</b><a>2</a><x/><b>3</b><c>4</c></c></root>");
    const QLatin1String names[] = {"a"_L1, "b"_L1, "c"_L1, "d"_L1};
    TQVL_XMLElement found[4];
    const TQVL_XMLElement card = document.Element().FindChild("c"_L1);
    card.FindChildren(names, 4, found);
    EXPECT_EQ(found[0].Value(), u"2"_s);
    EXPECT_EQ(found[1].Value(), u"3"_s);
    EXPECT_EQ(found[2].Value(), u"4"_s);
    EXPECT_FALSE(found[3]);
    EXPECT_EQ(outcome([&] { return card.Required(found[3], names[3]).Value(); }), u"! Element \"d\" fehlt in \"c\""_s);

    // A view of a tag on its own still finds its siblings.
    TQVL_XMLTag parent;
    parent.AddChild(u"a"_s);
    parent.AddChild(u"b"_s, u"2"_s);
    EXPECT_EQ(TQVL_XMLElement(*parent.Child(0)).NextSibling().Value(), u"2"_s);
    EXPECT_FALSE(TQVL_XMLElement(*parent.Child(1)).NextSibling());
}

TEST(XMLElement, NestingIsLimitedAlikeWhetherTheTreeIsCopiedOrNot)
{
    for (const int depth : {256, 257}) {
        QByteArray nested = "<root><version>1</version>";
        for (int i = 1; i < depth; ++i)
            nested += "<a>";
        nested += "<leaf>x</leaf>";
        for (int i = 1; i < depth; ++i)
            nested += "</a>";
        nested += "</root>";
        const bool refused = depth > 256;
        TQVL_XML parsed;
        TQVL_XML copied;
        EXPECT_EQ(outcome([&] { parsed.Parse(nested); return QString(); }) != u"= "_s, refused) << depth;
        EXPECT_EQ(outcome([&] { copied.LoadFromBytes(nested); return QString(); }) != u"= "_s, refused) << depth;
    }
}

TEST(XMLWriter, TheStreamWritesWhatTheTagTreeWrites)
{
    const auto write = [](TQVL_XMLWriter& w) {
        w.Begin("header"_L1);
        w.Text("uid"_L1, u"{ABC}"_s);
        w.Text("empty"_L1, QString());
        w.Text("escaped"_L1, u"<b>&\"x\" 'ä€😀\x01"_s);
        w.Integer("min"_L1, std::numeric_limits<qint64>::min());
        w.Integer("zero"_L1, 0);
        w.Boolean("yes"_L1, true);
        w.Boolean("no"_L1, false);
        w.End();
        w.Begin("nothing"_L1);
        w.End();
        w.Begin("dates"_L1);
        w.DateTime("noon"_L1, TQVL_DateTime::FromParts(2026, 3, 7, 12, 0, 1));
        w.DateTime("midnight"_L1, TQVL_DateTime::FromParts(2026, 3, 7));
        w.DateTime("empty"_L1, TQVL_DateTime());
        w.DateTime("early"_L1, TQVL_DateTime::FromParts(999, 1, 2, 3, 4, 5));
        w.End();
        TQVL_XMLTag mixed(u"mixed"_s, u"text"_s);
        mixed.AddChild(u"inner"_s, u"x"_s)->AddChild(u"deeper"_s);
        w.Tree(mixed);
        w.Begin("long"_L1);
        for (int i = 0; i < 300; ++i)
            w.Text("line"_L1, QString(40, QChar(u'a' + i % 26)));
        w.End();
    };
    TQVL_XML document;
    document.Version = 3;
    TQVL_XMLTagWriter tree(*document.Root);
    write(tree);
    const QByteArray expected = document.SaveToBytes();
    for (const qsizetype hint : {0, 100, 1000000}) {
        TQVL_XMLStream stream(3, hint);
        write(stream);
        EXPECT_EQ(stream.Finish(), expected) << hint;
    }
    EXPECT_TRUE(expected.contains("  <nothing/>\r\n"));
    EXPECT_TRUE(expected.contains("    <empty/>\r\n    <escaped>&lt;b&gt;&amp;&quot;x&quot; &apos;"));
    EXPECT_TRUE(expected.contains("    <noon>07.03.2026 12:00:01</noon>\r\n    <midnight>07.03.2026</midnight>"));

    TQVL_XMLStream stream(1);
    EXPECT_THROW(stream.Begin("1abc"_L1), TQVL_Error);
}
