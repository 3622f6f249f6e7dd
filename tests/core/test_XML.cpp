#include "core/QVL_Error.h"
#include "core/QVL_XML.h"
#include "core/QVL_XMLStream.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFolders.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray save(const TQVL_XML& document)
{
    return document.SaveToBytes();
}

std::unique_ptr<TQVL_XML> load(const QByteArray& bytes)
{
    auto document = std::make_unique<TQVL_XML>();
    document->LoadFromBytes(bytes);
    return document;
}

QString loadError(const QByteArray& bytes)
{
    return ErrorOf([&] { load(bytes); });
}

} // namespace

TEST(XMLWriter, WritesTheExactLayout)
{
    TQVL_XML document;
    document.Version = 1;
    TQVL_XMLTag* header = document.Root->AddChild(QStringLiteral("header"));
    header->AddChild(QStringLiteral("uid"), QStringLiteral("{ABC}"));
    header->AddChild(QStringLiteral("empty"));
    TQVL_XMLTag* mixed = document.Root->AddChild(QStringLiteral("mixed"), QStringLiteral("text"));
    mixed->AddChild(QStringLiteral("inner"), QStringLiteral("x"));
    document.Root->AddChild(QStringLiteral("last"));

    EXPECT_EQ(save(document), QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                                         "<root>\r\n"
                                         "  <version>1</version>\r\n"
                                         "  <header>\r\n"
                                         "    <uid>{ABC}</uid>\r\n"
                                         "    <empty/>\r\n"
                                         "  </header>\r\n"
                                         "  <mixed>text\r\n"
                                         "    <inner>x</inner>\r\n"
                                         "  </mixed>\r\n"
                                         "  <last/>\r\n"
                                         "</root>\r\n"));
}

TEST(XMLWriter, EscapesTheFivePredefinedEntitiesAndEncodesUtf8)
{
    TQVL_XML document;
    document.Root->AddChild(QStringLiteral("v"), QStringLiteral("<b>&\"x\" 'ä€𝄞"));
    const QByteArray bytes = save(document);
    EXPECT_TRUE(bytes.contains("<v>&lt;b&gt;&amp;&quot;x&quot; &apos;\xC3\xA4\xE2\x82\xAC\xF0\x9D\x84\x9E</v>"))
        << bytes.constData();
}

TEST(XMLRoundTrip, ValuesComeBackUnchanged)
{
    const QStringList values = {
        QStringLiteral("<b>&\"x\""),       QStringLiteral("  "),        QStringLiteral(" lead and trail "),
        QStringLiteral("line\r\nbreak"),   QStringLiteral("tab\tx"),    QStringLiteral("ctrl\x01\x1f"),
        QStringLiteral("Übung ß € 𝄞 中"), QStringLiteral("]]> in text"), QString(),
    };
    TQVL_XML document;
    document.Version = 7;
    for (const QString& value : values)
        document.Root->AddChild(QStringLiteral("v"), value);
    const QByteArray written = save(document);

    const auto loaded = load(written);
    const TQVL_XML& again = *loaded;
    EXPECT_EQ(again.Version, 7);
    ASSERT_EQ(again.Root->ChildCount(), values.size() + 1); // "version" is copied too
    EXPECT_EQ(again.Root->Child(0)->Name, QStringLiteral("version"));
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(again.Root->Child(i + 1)->Value, values[i]) << i;
    EXPECT_EQ(save(again), written) << "a file written by us is written again byte for byte";
}

TEST(XMLReader, DecodesEntitiesAndCharacterReferencesAndCopiesNestedElements)
{
    const auto document = load("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                   "<anything a=\"1\"><!-- comment --><version>3</version>"
                                   "<c>&#65;&#x42;&lt;&amp;&#228;</c><?pi x?>"
                                   "<outer><inner>1</inner><inner>2</inner></outer><d><![CDATA[<raw>]]></d></anything>");
    EXPECT_EQ(document->Version, 3);
    EXPECT_EQ(document->Root->FindChild(QStringLiteral("c"))->Value, QStringLiteral("AB<&ä"));
    const TQVL_XMLTag* outer = document->Root->FindChild(QStringLiteral("outer"));
    ASSERT_NE(outer, nullptr);
    ASSERT_EQ(outer->ChildCount(), 2);
    EXPECT_EQ(outer->Child(1)->Parent(), outer);
    EXPECT_EQ(outer->FindChild(QStringLiteral("inner"))->Value, QStringLiteral("2")) << "of two alike, the last";
    EXPECT_EQ(document->Root->FindChild(QStringLiteral("d"))->Value, QStringLiteral("<raw>"));
    EXPECT_EQ(document->Root->FindChild(QStringLiteral("missing")), nullptr);
}

TEST(XMLReader, HonoursLatin1DeclarationAndTheUtf8Switch)
{
    const QByteArray latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><root><version>1</version>"
                              "<v>\xE4\xF6</v></root>";
    EXPECT_EQ(load(latin1)->Root->FindChild(QStringLiteral("v"))->Value, QStringLiteral("äö"));

    TQVL_XML ansi(false);
    ansi.LoadFromBytes("<root><version>1</version><v>\xFC</v></root>");
    EXPECT_EQ(ansi.Root->FindChild(QStringLiteral("v"))->Value, QStringLiteral("ü"));
}

TEST(XMLReader, ReadsBytesThatAreNotUtf8AsWindows1252)
{
    struct Case {
        QByteArray value;
        QString expected;
        bool repaired;
    };
    const Case cases[] = {
        {"M\xC3\xBCller", QStringLiteral("Müller"), false},
        {"M\xFCller", QStringLiteral("Müller"), true},
        {"\xC3\xA4\x80\x9F", QStringLiteral("ä€Ÿ"), true},   // valid sequences stay, stray bytes convert
        {"\xC3", QStringLiteral("Ã"), true},                     // a sequence cut short
        {"\xE0\x80\xAF", QStringLiteral("à€¯"), true},         // an overlong form is not UTF-8
        {"\xED\xA0\x80", QStringLiteral("í\u00A0€"), true},    // nor is a surrogate
        {"\xF0\x9F\x98\x80", QStringLiteral("😀"), false},
    };
    for (const Case& c : cases) {
        TQVL_XML document;
        document.LoadFromBytes("<root><version>1</version><v>" + c.value + "</v></root>");
        EXPECT_EQ(document.Root->FindChild(QStringLiteral("v"))->Value, c.expected) << c.value.toHex().constData();
        EXPECT_EQ(document.ReadAsWindows1252, c.repaired) << c.value.toHex().constData();
    }
    TQVL_XML declared;
    declared.LoadFromBytes("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><root><version>1</version><v>\xFC</v></root>");
    EXPECT_FALSE(declared.ReadAsWindows1252) << "a declared single-byte encoding is no repair";

    QStringList values;
    const QByteArray head = "<header><name>M\xFCller</name></header>";
    TQVL_XML::ReadHeaderValuesFromBytes(head.constData(), head.size(), {QStringLiteral("name")}, values);
    EXPECT_EQ(values, QStringList{QStringLiteral("Müller")});
}

TEST(XMLReader, RaisesReadableErrors)
{
    EXPECT_EQ(loadError("<root><a>1</a></root>"), QStringLiteral("Keine Versionsangabe gefunden!"));
    EXPECT_EQ(loadError(""), QStringLiteral("Fehlerhaftes XML in Zeile 1, Spalte 1: Das Dokument enthält kein Element"));
    EXPECT_EQ(loadError("<root>\r\n  <version>1</version>\r\n  <a x=1/>\r\n</root>"),
              QStringLiteral("Fehlerhaftes XML in Zeile 3, Spalte 8: Fehlerhaftes Attribut"));
    EXPECT_TRUE(loadError("<root><version>1</version><a></root>").startsWith(QStringLiteral("Fehlerhaftes XML")));
    EXPECT_TRUE(loadError("<root><version>x</version></root>").contains(QStringLiteral("kein gültiger Integerwert")));

    QByteArray deep = "<root><version>1</version>";
    for (int i = 0; i < 5000; ++i)
        deep += "<a>";
    for (int i = 0; i < 5000; ++i)
        deep += "</a>";
    deep += "</root>";
    EXPECT_FALSE(loadError(deep).isEmpty()) << "hostile nesting is refused, not a stack overflow";
}

TEST(XMLReader, NeverLoadsExternalEntities)
{
    QTemporaryDir dir;
    WriteFile(dir.filePath(QStringLiteral("secret.txt")), "SECRET");
    const QByteArray doc = "<?xml version=\"1.0\"?><!DOCTYPE root [<!ENTITY x SYSTEM \"file://" +
                           dir.filePath(QStringLiteral("secret.txt")).toUtf8() +
                           "\">]><root><version>1</version><v>&x;</v></root>";
    QString value;
    try {
        value = load(doc)->Root->FindChild(QStringLiteral("v"))->Value;
    } catch (const TQVL_Error&) {
    }
    EXPECT_FALSE(value.contains(QStringLiteral("SECRET")));
}

TEST(XMLWriter, RefusesInvalidElementNames)
{
    for (const QString& name : {QString(), QStringLiteral("1abc"), QStringLiteral("a b"), QStringLiteral("a<b")}) {
        TQVL_XML document;
        document.Root->AddChild(name, QStringLiteral("x"));
        EXPECT_THROW(save(document), TQVL_Error) << name.toStdString();
    }
}

TEST(XMLStreams, SaveEmptiesTheStreamAndLoadReadsIt)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    buffer.write(QByteArray(5000, 'x'));
    TQVL_XML document;
    document.Version = 1;
    document.Root->AddChild(QStringLiteral("a"), QStringLiteral("b"));
    document.SaveToStream(buffer);
    buffer.seek(0);
    TQVL_XML again;
    again.LoadFromStream(buffer);
    EXPECT_EQ(again.Root->FindChild(QStringLiteral("a"))->Value, QStringLiteral("b"));
}

struct IntegerCase {
    const char* text;
    bool valid;
    int value;
};

TEST(XMLTag, ConvertsValues)
{
    const IntegerCase cases[] = {
        {"0", true, 0},          {"-17", true, -17},         {"+5", true, 5},
        {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0}, {"", false, 0},            {"12a", false, 0},
        {" 1", false, 0},        {"1.0", false, 0},          {"-", false, 0},
        {"$10", false, 0},       {"99999999999999999999", false, 0},
    };
    for (const IntegerCase& c : cases) {
        TQVL_XMLTag tag(QStringLiteral("n"), QString::fromLatin1(c.text));
        if (c.valid)
            EXPECT_EQ(tag.AsInteger(), c.value) << c.text;
        else
            EXPECT_THROW(tag.AsInteger(), TQVL_ConvertError) << c.text;
    }
    TQVL_XMLTag tag;
    tag.SetInteger(-42);
    EXPECT_EQ(tag.Value, QStringLiteral("-42"));
    for (const char* text : {"TRUE", "True", "", "1", "yes"}) {
        tag.Value = QString::fromLatin1(text);
        EXPECT_FALSE(tag.AsBoolean()) << text;
    }
    tag.SetBoolean(true);
    EXPECT_EQ(tag.Value, QStringLiteral("true"));
    EXPECT_TRUE(tag.AsBoolean());
    tag.SetBoolean(false);
    EXPECT_EQ(tag.Value, QStringLiteral("false"));
}

TEST(ReadHeaderValues, CutsValuesFromTheFirstBytes)
{
    TestFolders folders;
    const QString file = folders.Root() + QStringLiteral("/unit.qxu");
    WriteFile(file, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>1</version>\r\n"
                    "  <header>\r\n    <title>R&amp;B</title>\r\n    <empty/>\r\n    <back></a><a>x</a>\r\n"
                    "    <umlaut>Übung</umlaut>\r\n" +
                        QByteArray(300, ' ') + "<uid>{X}</uid>\r\n  </header>\r\n</root>\r\n");
    const QStringList names = {QStringLiteral("title"), QStringLiteral("empty"), QStringLiteral("a"),
                               QStringLiteral("umlaut"), QStringLiteral("uid"), QStringLiteral("none")};

    QStringList values;
    TQVL_XML::ReadHeaderValues(file, &names, 250, &values);
    EXPECT_EQ(values, (QStringList{QStringLiteral("R&amp;B"), QString(), QString(), QStringLiteral("Übung"), QString(),
                                   QString()}))
        << "entities stay as they stand; </a> before <a> gives empty; uid beyond the limit is empty";

    values.clear();
    TQVL_XML::ReadHeaderValues(file, &names, 100000, &values);
    EXPECT_EQ(values.value(4), QStringLiteral("{X}"));

    values.clear();
    TQVL_XML::ReadHeaderValues(folders.Root() + QStringLiteral("/missing.qxu"), &names, 350, &values);
    EXPECT_TRUE(values.isEmpty());
    WriteFile(folders.Root() + QStringLiteral("/empty.qxu"), "");
    TQVL_XML::ReadHeaderValues(folders.Root() + QStringLiteral("/empty.qxu"), &names, 350, &values);
    EXPECT_TRUE(values.isEmpty());
    TQVL_XML::ReadHeaderValues(file, nullptr, 350, &values);
    TQVL_XML::ReadHeaderValues(file, &names, 350, nullptr);
    EXPECT_TRUE(values.isEmpty());
}

TEST(XMLStream, WritesTheSameBytesAsTheTree)
{
    TQVL_XML document;
    document.Version = 1;
    TQVL_XMLTag* list = document.Root->AddChild(QStringLiteral("list"));
    list->AddChild(QStringLiteral("a"), QStringLiteral("1 & 2"))->AddChild(QStringLiteral("b"));
    list->AddChild(QStringLiteral("c"));
    document.Root->AddChild(QStringLiteral("empty"));
    document.Root->AddChild(QStringLiteral("outer"))->AddChild(QStringLiteral("inner"))->AddChild(QStringLiteral("leaf"), QStringLiteral("x"));

    TQVL_XMLStream stream(1);
    stream.Begin(QStringLiteral("list"));
    stream.Tree(*list->Child(0));
    stream.Tree(*list->Child(1));
    stream.End();
    stream.Begin(QStringLiteral("empty"));
    stream.End();
    stream.Begin(QStringLiteral("outer"));
    stream.Begin(QStringLiteral("inner"));
    stream.Tree(*document.Root->Child(2)->Child(0)->Child(0));
    EXPECT_EQ(stream.Finish(), document.SaveToBytes()) << "Finish closes what is still open";
}
