#include "core/QVL_Error.h"
#include "exchange/QVL_Import.h"
#include "exchange/QVL_Import_CSV.h"
#include "exchange/QVL_Import_KVTML.h"
#include "exchange/QVL_Import_PlainText.h"
#include "exchange/QVL_Import_Text.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <sys/stat.h>

namespace {

QString fixture(const char* name)
{
    return QStringLiteral(QUORVEL_FIXTURES "/exchange/") + QString::fromUtf8(name);
}

TQVL_Import reader(TQVL_Import_Type type, char delimiter = ';')
{
    TQVL_Import import;
    import.Type = type;
    import.CSV.Delimiter = QLatin1Char(delimiter);
    import.LangCodeHome = QStringLiteral("de");
    import.LangCodeForeign = QStringLiteral("en");
    return import;
}

TQVL_Import_Source readCSV(const QByteArray& bytes, char delimiter = ';')
{
    TQVL_Import_CSV csv;
    csv.Delimiter = QLatin1Char(delimiter);
    return csv.Read(bytes, QStringLiteral("test.csv"));
}

} // namespace

TEST(ImportCSV, SpreadsheetQuotingMapsTheEightColumns)
{
    const TQVL_Import_Source source = reader(TQVL_Import_Type::itCSV).ReadFile(fixture("spreadsheet.csv"));
    ASSERT_EQ(source.Cards.size(), 3u) << "the empty line makes no card";
    const TQVL_Card_Voc_Values& first = source.Cards[0];
    EXPECT_EQ(first.home1, QStringLiteral("Haus"));
    EXPECT_EQ(first.home2, QStringLiteral("Heim"));
    EXPECT_EQ(first.home3, QString());
    EXPECT_EQ(first.foreign1, QStringLiteral("house"));
    EXPECT_EQ(first.foreign2, QStringLiteral("home"));
    EXPECT_EQ(first.note, QStringLiteral("Gebäude"));
    EXPECT_EQ(first.hint, QStringLiteral("h..."));
    EXPECT_EQ(source.Cards[1].home1, QStringLiteral("Satz; mit Trennzeichen"));
    EXPECT_EQ(source.Cards[1].foreign1, QStringLiteral("sentence; with delimiter"));
    EXPECT_EQ(source.Cards[2].home1, QStringLiteral("zwei\nZeilen"));
    EXPECT_EQ(source.Cards[2].foreign1, QStringLiteral("two\nlines"));
    EXPECT_EQ(source.Cards[2].note, QStringLiteral("sagt \"hallo\""));
}

TEST(ImportCSV, ColumnNumbersChooseTheFieldsAndZeroLeavesOne)
{
    TQVL_Import_CSV csv;
    csv.Columns = {3, 0, 0, 1, 0, 0, 0, 9};
    const TQVL_Import_Source source = csv.Read("house;x;Haus\n;;\n;y;\n", QStringLiteral("t.csv"));
    ASSERT_EQ(source.Cards.size(), 1u) << "lines whose chosen columns are empty make no card";
    EXPECT_EQ(source.Cards[0].home1, QStringLiteral("Haus"));
    EXPECT_EQ(source.Cards[0].foreign1, QStringLiteral("house"));
    EXPECT_EQ(source.Cards[0].hint, QString()) << "a column beyond the line is empty";

    csv.Columns = {0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_NE(ErrorOf([&] { csv.Read("a;b\n", QStringLiteral("t.csv")); }), QString());
}

TEST(ImportCSV, EncodingsAreRecognised)
{
    struct Case
    {
        const char* file;
        char delimiter;
        const char* encoding;
        QString home1, foreign1, lastForeign;
    };
    const Case cases[] = {
        {"bom_utf8.csv", ',', "UTF-8", QStringLiteral("Schlüssel"), QStringLiteral("key"), QStringLiteral("key")},
        {"windows1252.csv", ';', "Windows-1252", QStringLiteral("Brücke"), QStringLiteral("bridge"),
         QStringLiteral("street €")},
        {"utf16.csv", '\t', "UTF-16", QStringLiteral("Äpfel"), QStringLiteral("apples"), QStringLiteral("above")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const TQVL_Import_Source source = reader(TQVL_Import_Type::itCSV, c.delimiter).ReadFile(fixture(c.file));
        EXPECT_EQ(source.Encoding, QLatin1String(c.encoding));
        ASSERT_FALSE(source.Cards.empty());
        EXPECT_EQ(source.Cards.front().home1, c.home1) << "no BOM or stray byte in the first field";
        EXPECT_EQ(source.Cards.front().foreign1, c.foreign1);
        EXPECT_EQ(source.Cards.back().foreign1, c.lastForeign);
    }
}

// Every file the reader cannot take gives a German message naming the file
// and the line, never a crash and never cards.
TEST(ImportReaders, BadFilesNameFileAndLine)
{
    struct Case
    {
        const char* file;
        TQVL_Import_Type type;
        char delimiter;
        const char* line;
        const char* says;
    };
    const Case cases[] = {
        {"unbalanced.csv", TQVL_Import_Type::itCSV, ';', "Zeile 2:", "nicht wieder geschlossen"},
        {"empty.csv", TQVL_Import_Type::itCSV, ';', "Zeile 1:", "leer"},
        {"comma_as_semicolon.csv", TQVL_Import_Type::itCSV, ';', "Zeile 1:", "Trennzeichen \";\""},
        {"vocabulary.kvtml", TQVL_Import_Type::itCSV, ';', "Zeile 1:", "XML-Datei"},
        {"vocabulary.kvtml", TQVL_Import_Type::itPlainText, ';', "Zeile 1:", "XML-Datei"},
        {"utf16.csv", TQVL_Import_Type::itKVTML, ';', "Zeile 1:", "keine XML-Datei"},
        {"broken.kvtml", TQVL_Import_Type::itKVTML, ';', "Zeile 8", "Fehlerhaftes XML"},
        {"version3.kvtml", TQVL_Import_Type::itKVTML, ';', "Zeile 2:", "KVTML-Version \"3.0\""},
        {"spreadsheet.csv", TQVL_Import_Type::itKVTML, ';', "Zeile 1", "XML"},
        {"missing_back.txt", TQVL_Import_Type::itPlainText, ';', "Zeile 2:", "keine Rückseite"},
        {"spreadsheet.csv", TQVL_Import_Type::itPlainText, ';', "Zeile 1:", "Trennzeichen \"Tabulator\""},
        {"empty.csv", TQVL_Import_Type::itPlainText, ';', "Zeile 1:", "leer"},
        {"no_such_file.csv", TQVL_Import_Type::itCSV, ';', "", "nicht gefunden"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QString error = ErrorOf([&] { reader(c.type, c.delimiter).ReadFile(fixture(c.file)); });
        EXPECT_TRUE(error.contains(fixture(c.file))) << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.line))) << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.says))) << error.toStdString();
    }
}

TEST(ImportCSV, BytesThatAreNoTextAreRefusedWithTheirLine)
{
    static constexpr char png[] = "Haus;house\n\x89PNG\r\n\x1a\n\0\0\0\rIHDR";
    // UTF-16 without a byte order mark
    static constexpr char utf16[] = "H\0a\0u\0s\0;\0h\0\n\0";
    const QByteArray cases[] = {QByteArray(png, sizeof png - 1), QByteArray(utf16, sizeof utf16 - 1)};
    EXPECT_TRUE(ErrorOf([&] { readCSV(cases[0]); }).contains(QStringLiteral("Zeile 4: Die Datei enthält Nullbytes")));
    EXPECT_TRUE(ErrorOf([&] { readCSV(cases[1]); }).contains(QStringLiteral("Zeile 1: Die Datei enthält Nullbytes")));
}

TEST(ImportCSV, TextAfterAClosingQuoteIsAnError)
{
    const QString error = ErrorOf([] { readCSV("a;b\n\"Haus\"x;house\n"); });
    EXPECT_TRUE(error.contains(QStringLiteral("Zeile 2: Nach einem schließenden Anführungszeichen folgt \"x\"")))
        << error.toStdString();
    // A quote inside an unquoted field is taken as it is, as spreadsheets do.
    const TQVL_Import_Source source = readCSV("5\" Rohr;5\" pipe\n", ';');
    ASSERT_EQ(source.Cards.size(), 1u);
    EXPECT_EQ(source.Cards[0].home1, QStringLiteral("5\" Rohr"));
}

TEST(ImportCSV, HundredThousandRowsAndTheLineOfAFaultAtTheEnd)
{
    QByteArray bytes;
    for (int i = 1; i <= 100000; ++i)
        bytes += "Wort " + QByteArray::number(i) + ";;;\"word\r\n" + QByteArray::number(i) + "\";\r\n";
    TQVL_Import_CSV csv;
    const TQVL_Import_Source source = csv.Read(bytes, QStringLiteral("gross.csv"));
    ASSERT_EQ(source.Cards.size(), 100000u);
    EXPECT_EQ(source.Cards.back().home1, QStringLiteral("Wort 100000"));
    EXPECT_EQ(source.Cards.back().foreign1, QStringLiteral("word\n100000"));

    // Each row takes two lines: the broken last row starts on line 200,001.
    bytes += "kaputt;;;\"offen\n";
    const QString error = ErrorOf([&] { csv.Read(bytes, QStringLiteral("gross.csv")); });
    EXPECT_TRUE(error.contains(QStringLiteral("Zeile 200001:"))) << error.toStdString();
}

TEST(ImportCSV, ProgressReachesTheEndAndCancelStops)
{
    QByteArray bytes;
    for (int i = 0; i < 10000; ++i)
        bytes += "a;b;c;d\n";
    TQVL_Import_CSV csv;
    qint64 last = -1;
    qint64 total = 0;
    csv.Read(bytes, QStringLiteral("t.csv"), [&](qint64 done, qint64 all) {
        EXPECT_GE(done, last);
        last = done;
        total = all;
        return true;
    });
    EXPECT_EQ(last, total);
    EXPECT_THROW(csv.Read(bytes, QStringLiteral("t.csv"), [](qint64, qint64) { return false; }), TQVL_Import_Cancelled);
}

TEST(ImportKVTML, TranslationsOfTheChosenLanguagesWithComments)
{
    const TQVL_Import_Source source = reader(TQVL_Import_Type::itKVTML).ReadFile(fixture("vocabulary.kvtml"));
    ASSERT_EQ(source.Cards.size(), 2u) << "an entry without text makes no card";
    EXPECT_EQ(source.Cards[0].foreign1, QStringLiteral("dog"));
    EXPECT_EQ(source.Cards[0].home1, QStringLiteral("Hund"));
    EXPECT_EQ(source.Cards[0].note, QStringLiteral("pet"));
    EXPECT_EQ(source.Cards[1].foreign1, QStringLiteral("cat")) << "translations in any order, CDATA";
    EXPECT_EQ(source.Cards[1].home1, QStringLiteral("Katze & Kater"));
    EXPECT_EQ(source.Cards[1].note, QStringLiteral("Haustier"));
    EXPECT_EQ(source.LangCodeForeign, QStringLiteral("eng")) << "en_GB is English";
    EXPECT_EQ(source.LangCodeHome, QStringLiteral("ger"));
}

TEST(ImportKVTML, LanguagesNotInTheFileOrTakenFromIt)
{
    TQVL_Import import = reader(TQVL_Import_Type::itKVTML);
    import.LangCodeForeign = QStringLiteral("fr");
    const QString error = ErrorOf([&] { import.ReadFile(fixture("vocabulary.kvtml")); });
    EXPECT_TRUE(error.contains(QStringLiteral("Zeile 8: Die Datei enthält nicht die Sprachen \"fr\" und \"de\"")))
        << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("eng, ger"))) << error.toStdString();

    // The home language swapped with the foreign one: the cards are turned around.
    import.LangCodeForeign = QStringLiteral("de");
    import.LangCodeHome = QStringLiteral("en");
    EXPECT_EQ(import.ReadFile(fixture("vocabulary.kvtml")).Cards[0].foreign1, QStringLiteral("Hund"));

    import.LangCodeHome = QStringLiteral("it");
    import.LangCodeForeign = QStringLiteral("fr");
    import.LanguagesFromSource = true;
    const TQVL_Import_Source source = import.ReadFile(fixture("vocabulary.kvtml"));
    EXPECT_EQ(source.LangCodeForeign, QStringLiteral("eng"));
    EXPECT_EQ(source.LangCodeHome, QStringLiteral("ger"));
    EXPECT_EQ(source.Cards[0].foreign1, QStringLiteral("dog"));

    // The codes of the language-name table find the two-letter locales of the file.
    import.LanguagesFromSource = false;
    import.LangCodeHome = QStringLiteral("ger");
    import.LangCodeForeign = QStringLiteral("eng");
    EXPECT_EQ(import.ReadFile(fixture("vocabulary.kvtml")).Cards[1].home1, QStringLiteral("Katze & Kater"));
}

TEST(ImportPlainText, HeadersColumnsAndHtml)
{
    const TQVL_Import_Source deck = reader(TQVL_Import_Type::itPlainText).ReadFile(fixture("deck.txt"));
    ASSERT_EQ(deck.Cards.size(), 2u);
    EXPECT_EQ(deck.Cards[0].foreign1, QStringLiteral("the house (building)"));
    EXPECT_EQ(deck.Cards[0].home1, QStringLiteral("das Haus")) << "entity and sound reference gone";
    EXPECT_EQ(deck.Cards[1].foreign1, QStringLiteral("quoted tab")) << "quoted field, tab made a blank";
    EXPECT_EQ(deck.Cards[1].home1, QStringLiteral("<Tag>"));
    EXPECT_EQ(deck.Cards[1].note, QString()) << "the deck column is skipped";

    const TQVL_Import_Source plain = reader(TQVL_Import_Type::itPlainText).ReadFile(fixture("semicolon_nohtml.txt"));
    ASSERT_EQ(plain.Cards.size(), 1u);
    EXPECT_EQ(plain.Cards[0].foreign1, QStringLiteral("the <b>dog</b>"));
    EXPECT_EQ(plain.Cards[0].home1, QStringLiteral("der Hund"));
}

TEST(ImportPlainText, StripHtml)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("<div>a</div><div>b</div>"), QStringLiteral("a b")},
        {QStringLiteral("x&amp;y &#228; &#x20AC; &unknown; &"), QStringLiteral("x&y ä € &unknown; &")},
        {QStringLiteral("<span style=\"color: red\">rot</span>"), QStringLiteral("rot")},
        {QStringLiteral("[sound:a.mp3]"), QString()},
        // Entities: no look-ahead past the longest one, none across another "&".
        {QStringLiteral("&&amp;; &amp &#x1F600; &#00000065;&#000000065;"),
         QStringLiteral("&&; &amp \U0001F600 A&#000000065;")},
        // A "<" or "[sound:" that nothing closes is text.
        {QStringLiteral("a<b [sound:x"), QStringLiteral("a<b [sound:x")},
        {QStringLiteral("a<BR/>b<h2 class=\"t\">c</H2><pre>d</pre>e<brx>f</br>g"), QStringLiteral("a b c defg")},
        {QStringLiteral("<<b>x [sound:a<b>c] y"), QStringLiteral("x y")},
    };
    for (const auto& [html, text] : cases)
        EXPECT_EQ(TQVL_Import_PlainText::StripHtml(html), text) << html.toStdString();
}

// A unit file cannot carry control characters: a card holding one would not
// read back as it was written.
TEST(ImportReaders, CharactersAUnitCannotHoldAreDropped)
{
    const TQVL_Import_Source csv = readCSV(QByteArray("Ha\x01us\x1b;;;ho\x7fuse\t\n\x02;;;\x0b\n"));
    ASSERT_EQ(csv.Cards.size(), 1u) << "a line of nothing else makes no card";
    EXPECT_EQ(csv.Cards[0].home1, QStringLiteral("Haus"));
    EXPECT_EQ(csv.Cards[0].foreign1, QStringLiteral("ho\x7fuse")) << "DEL is allowed in XML";

    QString text = QStringLiteral("\uFEFF\uFEFFa\u0000b\tc\n"); // the second mark is a stray one
    text.insert(text.size() - 1, QChar(0xD800)); // a lone surrogate
    QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    const TQVL_Import_Source deck = TQVL_Import_PlainText().Read(utf16, QStringLiteral("deck.txt"));
    ASSERT_EQ(deck.Cards.size(), 1u);
    EXPECT_EQ(deck.Cards[0].foreign1, QStringLiteral("ab"));
    EXPECT_EQ(deck.Cards[0].home1, QStringLiteral("c"));
}

// A folder, a FIFO or a device chosen by mistake is named for what it is; the
// FIFO is not opened for reading (that would wait for a writer for good).
TEST(ImportReaders, EntriesThatAreNoRegularFileSayWhatTheyAre)
{
    QTemporaryDir dir;
    const QString fifo = dir.path() + QStringLiteral("/Pipe.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.path() + QStringLiteral("/Ordner.csv");
    ASSERT_TRUE(QDir().mkpath(folder));
    const std::pair<QString, const char*> cases[] = {
        {folder, "ist ein Ordner und keine Datei"},
        {fifo, "ist keine gewöhnliche Datei, sondern eine benannte Pipe (FIFO)"},
        {QStringLiteral("/dev/null"), "ist keine gewöhnliche Datei, sondern ein Gerät"},
        {dir.path() + QStringLiteral("/fehlt.csv"), "wurde nicht gefunden"},
    };
    for (const auto& [file, says] : cases) {
        const QString error = ErrorOf([&] { reader(TQVL_Import_Type::itCSV).ReadFile(file); });
        EXPECT_TRUE(error.contains(QLatin1Char('"') + file + QStringLiteral("\" "))) << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromUtf8(says))) << error.toStdString();
    }
}

// A field longer than a card takes is refused before its text is built, with
// the file and the line it starts on (also below header lines); a field of
// the longest length is read.
TEST(ImportReaders, OverlongFieldsAreRefusedWithTheirLine)
{
    const QByteArray longest(TQVL_Import_Text::MaxFieldLength, 'x');
    const QByteArray over = longest + 'x';
    const QByteArray tooLong = "Ein Feld ist länger als 65536 Zeichen";
    struct Case
    {
        const char* name;
        TQVL_Import_Type type;
        QByteArray bytes;
        QByteArray says;
    };
    const Case cases[] = {
        {"unquoted.csv", TQVL_Import_Type::itCSV, "a;;;b\nc;;;" + over + "\n", "Zeile 2: " + tooLong},
        {"quoted.csv", TQVL_Import_Type::itCSV, "a;;;b\n\n\"c\n" + over + "\";;;d\n", "Zeile 3: " + tooLong},
        {"html.txt", TQVL_Import_Type::itPlainText, "#separator:tab\n#html:true\na\tb\nc\t<b>" + longest + "</b>\n",
         "Zeile 4: " + tooLong},
        {"quoted.txt", TQVL_Import_Type::itPlainText, "#separator:tab\n#html:false\na\tb\n\"c\n" + over + "\"\td\n",
         "Zeile 4: " + tooLong},
        {"unclosed.txt", TQVL_Import_Type::itPlainText, "#separator:tab\n#html:false\n\"a\tb\n",
         "Zeile 3: Ein Anführungszeichen"},
        {"text.kvtml", TQVL_Import_Type::itKVTML,
         "<?xml version=\"1.0\"?>\n<kvtml>\n<e><o>a</o><t>" + over + "</t></e>\n</kvtml>\n", "Zeile 3: " + tooLong},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = dir.path() + QLatin1Char('/') + QString::fromUtf8(c.name);
        WriteFile(file, c.bytes);
        const QString error = ErrorOf([&] { reader(c.type).ReadFile(file); });
        EXPECT_TRUE(error.startsWith(QStringLiteral("Die Datei \"%1\"").arg(file))) << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.says))) << error.toStdString();
    }
    EXPECT_EQ(readCSV(";;;" + longest).Cards.at(0).foreign1.size(), TQVL_Import_Text::MaxFieldLength);
    EXPECT_EQ(TQVL_Import_PlainText().Read("a\t\"" + longest + "\"", QStringLiteral("t.txt")).Cards.at(0).home1.size(),
              TQVL_Import_Text::MaxFieldLength);
}

// Progress comes while the file is read, however it is laid out (a few huge
// lines, thousands of header lines, one line of a million fields), and a
// cancel takes effect there, not only at the end.
TEST(ImportReaders, ProgressAndCancelThroughoutTheRead)
{
    const QByteArray longLine = QByteArray(30000, '&') + '\t' + QByteArray(30000, '&') + '\n';
    struct Case
    {
        const char* name;
        TQVL_Import_Type type;
        QByteArray bytes;
        std::size_t cards;
    };
    const Case cases[] = {
        {"lang.txt", TQVL_Import_Type::itPlainText, longLine.repeated(20), 20},
        {"kopf.txt", TQVL_Import_Type::itPlainText, QByteArray("#tags column:9\n").repeated(100000) + "a\tb\n", 1},
        {"felder.csv", TQVL_Import_Type::itCSV, "a;;;b" + QByteArray(1000000, ';') + '\n', 1},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = dir.path() + QLatin1Char('/') + QString::fromUtf8(c.name);
        WriteFile(file, c.bytes);
        TQVL_Import import = reader(c.type);
        std::vector<qint64> seen;
        import.OnProgress = [&seen](qint64 done, qint64 total) {
            EXPECT_EQ(total, 1000);
            EXPECT_GE(done, seen.empty() ? 0 : seen.back());
            seen.push_back(done);
            return true;
        };
        EXPECT_EQ(import.ReadFile(file).Cards.size(), c.cards);
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back(), 1000);
        EXPECT_GE(std::count_if(seen.begin(), seen.end(), [](qint64 done) { return done < 1000; }), 10);

        qint64 cancelledAt = -1;
        import.OnProgress = [&cancelledAt](qint64 done, qint64) {
            cancelledAt = done;
            return done < 500;
        };
        EXPECT_THROW(import.ReadFile(file), TQVL_Import_Cancelled);
        EXPECT_LT(cancelledAt, 600);
    }
}

// Text around a comment or a processing instruction belongs to the element.
TEST(ImportKVTML, TextAroundACommentIsKept)
{
    const QByteArray documents[] = {
        "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"/><identifier id=\"1\"/></identifiers><entries>"
        "<entry><translation id=\"0\"><text>a<!-- c -->b</text><comment>x<!---->y</comment></translation>"
        "<translation id=\"1\"><text>c<?pi x?>d</text></translation></entry></entries></kvtml>",
        "<kvtml><e><o>a<!-- c -->b</o><t>c<?pi x?><![CDATA[d]]></t></e></kvtml>",
    };
    for (const QByteArray& document : documents) {
        const TQVL_Import_Source source = TQVL_Import_KVTML().Read(document, QStringLiteral("t.kvtml"));
        ASSERT_EQ(source.Cards.size(), 1u);
        EXPECT_EQ(source.Cards[0].foreign1, QStringLiteral("ab"));
        EXPECT_EQ(source.Cards[0].home1, QStringLiteral("cd"));
    }
    EXPECT_EQ(TQVL_Import_KVTML().Read(documents[0], QStringLiteral("t.kvtml")).Cards[0].note, QStringLiteral("xy"));
}

TEST(ImportKVTML, Version1EntriesWithTheirLanguages)
{
    TQVL_Import import = reader(TQVL_Import_Type::itKVTML);
    const TQVL_Import_Source source = import.ReadFile(fixture("version1_languages.kvtml"));
    ASSERT_EQ(source.Cards.size(), 3u) << "an entry without text makes no card";
    EXPECT_EQ(source.Cards[0].foreign1, QStringLiteral("dog"));
    EXPECT_EQ(source.Cards[0].home1, QStringLiteral("Hund"));
    EXPECT_EQ(source.Cards[1].foreign1, QStringLiteral("cat and kitten"));
    EXPECT_EQ(source.Cards[1].home1, QStringLiteral("Katze & Kätzchen"));
    EXPECT_EQ(source.Cards[2].home1, QStringLiteral("Vogel"));
    EXPECT_EQ(source.LangCodeForeign, QStringLiteral("eng"));
    EXPECT_EQ(source.LangCodeHome, QStringLiteral("ger"));

    // The second translation, named on the first entry only.
    import.LangCodeHome = QStringLiteral("fra");
    const TQVL_Import_Source french = import.ReadFile(fixture("version1_languages.kvtml"));
    ASSERT_EQ(french.Cards.size(), 3u);
    EXPECT_EQ(french.Cards[0].home1, QStringLiteral("chien"));
    EXPECT_EQ(french.Cards[1].home1, QStringLiteral("chat"));
    EXPECT_EQ(french.Cards[2].home1, QString()) << "bird has no French translation";

    import.LangCodeHome = QStringLiteral("es");
    const QString error = ErrorOf([&] { import.ReadFile(fixture("version1_languages.kvtml")); });
    EXPECT_TRUE(error.contains(QStringLiteral("Zeile 3: Die Datei enthält nicht die Sprachen \"en\" und \"es\"")))
        << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("eng, ger, fre"))) << error.toStdString();

    import.LanguagesFromSource = true;
    const TQVL_Import_Source fromFile = import.ReadFile(fixture("version1_languages.kvtml"));
    EXPECT_EQ(fromFile.LangCodeForeign, QStringLiteral("eng"));
    EXPECT_EQ(fromFile.LangCodeHome, QStringLiteral("ger"));

    // Without languages: the original is the foreign side, as chosen.
    import.LanguagesFromSource = false;
    const TQVL_Import_Source plain = reader(TQVL_Import_Type::itKVTML).ReadFile(fixture("version1.kvtml"));
    ASSERT_EQ(plain.Cards.size(), 1u);
    EXPECT_EQ(plain.Cards[0].foreign1, QStringLiteral("dog"));
    EXPECT_EQ(plain.Cards[0].home1, QStringLiteral("Hund"));
    EXPECT_EQ(plain.LangCodeForeign, QStringLiteral("en"));
    // Without entries there is nothing to read, which is no fault of the version.
    EXPECT_EQ(ErrorOf([] { TQVL_Import_KVTML().Read("<kvtml encoding=\"UTF-8\"/>", QStringLiteral("t.kvtml")); }),
              QString());
}
