#include "content/QVL_Language.h"
#include "content/QVL_LanguagesNames.h"
#include "core/QVL_Error.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFolders.h"

#include <gtest/gtest.h>

namespace {

const QString fixtures = QStringLiteral(QUORVEL_FIXTURES "/languages/");

class LanguageTest : public ::testing::Test
{
protected:
    QString copy(const QString& fixture, QByteArray bytes = {})
    {
        if (bytes.isEmpty())
            bytes = ReadFile(fixtures + fixture);
        const QString name = folders.Root() + QLatin1Char('/') + fixture;
        WriteFile(name, bytes);
        return name;
    }
    static QByteArray french() { return ReadFile(fixtures + QStringLiteral("french.qxl")); }

    TestFolders folders;
};

} // namespace

TEST_F(LanguageTest, ReadsEveryValueAndWritesTheFileAgainUnchanged)
{
    const QString name = copy(QStringLiteral("french.qxl"));
    TQVL_Language language;
    language.Open(name);
    EXPECT_EQ(language.Uid, QStringLiteral("{5B2D9E10-4A7C-4F3B-8E21-6C0D3A9B7E42}"));
    EXPECT_EQ(language.LangCode, QStringLiteral("fre"));
    EXPECT_EQ(language.Name, QStringLiteral("Französisch"));
    EXPECT_EQ(language.Characters, QStringLiteral("éèêçàœ«»"));
    EXPECT_TRUE(language.CharactersShow);
    EXPECT_EQ(language.Adjective, QStringLiteral("Französisch"));
    EXPECT_EQ(language.AdjectivePlural, QStringLiteral("Französische"));
    EXPECT_TRUE(language.ReplacementsActive);
    EXPECT_EQ(language.ReplacementsFrom, QStringLiteral("äöüß"));
    EXPECT_EQ(language.ReplacementsTo, QStringLiteral("àœùç"));
    EXPECT_TRUE(language.FontUse);
    EXPECT_EQ(language.SmallFont().Name, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(language.BigFont().Name, QStringLiteral("DejaVu Sans")) << "one font name for both fonts";
    EXPECT_EQ(language.SmallFont().Size, 11);
    EXPECT_EQ(language.BigFont().Size, 26);
    ASSERT_TRUE(language.RequestWriteAccess());
    language.Save();
    language.CloseFile();
    EXPECT_EQ(ReadFile(name), french());
}

TEST_F(LanguageTest, OptionalGroupsFallBackToANewProfile)
{
    QByteArray minimal = french();
    for (const char* element : {"characters_show", "adjective", "adjective_plural", "replacements", "font"})
        minimal = WithoutElement(minimal, element);
    const QString full = copy(QStringLiteral("french.qxl"));
    const QString name = copy(QStringLiteral("minimal.qxl"), minimal);

    const TQVL_Language fresh;
    TQVL_Language language;
    // The manager reuses its object: a previous profile's table must not type into this one.
    language.Open(full);
    language.CloseFile();
    language.Open(name);
    EXPECT_EQ(language.LangCode, QStringLiteral("fre"));
    EXPECT_FALSE(language.CharactersShow);
    EXPECT_TRUE(language.Adjective.isEmpty());
    EXPECT_TRUE(language.AdjectivePlural.isEmpty());
    EXPECT_FALSE(language.ReplacementsActive);
    EXPECT_TRUE(language.ReplacementsFrom.isEmpty());
    EXPECT_EQ(language.ReplaceChar('a'), QLatin1Char('a'));
    EXPECT_FALSE(language.FontUse);
    EXPECT_EQ(language.SmallFont().Name, fresh.SmallFont().Name);
    EXPECT_EQ(language.SmallFont().Size, fresh.SmallFont().Size);
    EXPECT_EQ(language.BigFont().Size, fresh.BigFont().Size);
    EXPECT_FALSE(fresh.FontUse);
    EXPECT_FALSE(fresh.ReplacementsActive);
    language.CloseFile();
}

TEST_F(LanguageTest, MissingRequiredElementsMakeTheProfileInvalid)
{
    const QByteArray cases[] = {
        WithoutElement(french(), "uid"),
        WithoutElement(french(), "langcode"),
        WithoutElement(french(), "name"), // the profile's own name; the font name comes later
        WithoutElement(french(), "characters"),
        WithoutElement(french(), "active"),
        WithoutElement(french(), "from"),
        WithoutElement(french(), "to"),
        WithoutElement(french(), "use"),
        WithoutElement(french(), "size_small"),
        WithoutElement(french(), "size_big"),
        WithoutElement(WithoutElement(french(), "name"), "name"), // the font's name
        QByteArray(french()).replace("<size_big>26<", "<size_big>gross<"),
    };
    for (const QByteArray& content : cases) {
        SCOPED_TRACE(content.constData());
        const QString name = copy(QStringLiteral("broken.qxl"), content);
        TQVL_Language language;
        language.Name = QStringLiteral("vorher");
        EXPECT_EQ(OpenError(language, name),
                  QStringLiteral("Die Datei \"%1\" ist kein gültiges Sprachprofil!").arg(name));
        EXPECT_EQ(language.Name, QStringLiteral("vorher")) << "a broken file changes nothing";
        EXPECT_EQ(ReadFile(name), content);
    }
    TQVL_Language language;
    const QString version2 = copy(QStringLiteral("v2.qxl"), QByteArray(french()).replace("<version>1<", "<version>2<"));
    EXPECT_EQ(OpenError(language, version2),
              QStringLiteral("Fehler beim Lesen der Datei \"%1\"!\rVersion 2 wird nicht unterstützt!").arg(version2));
}

TEST(LanguageReplacement, Table)
{
    struct Case
    {
        const char* from;
        const char* to;
        bool active;
        char typed;
        QChar expected;
        bool replaceable;
    };
    const Case cases[] = {
        {"ae", "äé", true, 'e', QChar(0xE9), true},
        {"ae", "äé", false, 'e', QLatin1Char('e'), true},
        {"ae", "äé", true, 'x', QLatin1Char('x'), false},
        {"aea", "äéx", true, 'a', QChar(0xE4), true},    // the first occurrence counts
        {"abc", "ä", true, 'c', QLatin1Char('c'), true}, // `to` too short: unchanged, never read past it
        {"abc", "", true, 'a', QLatin1Char('a'), true},
        {"\xC3\xA4", "\xC3\xA5", true, '\xE4', QChar(0xE5), true}, // typed bytes are Latin-1: ä -> å
        {"", "", true, 'a', QLatin1Char('a'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 -> %2, typed %3")
                         .arg(QString::fromUtf8(c.from), QString::fromUtf8(c.to))
                         .arg(int(uchar(c.typed)))
                         .toStdString());
        TQVL_Language language;
        language.ReplacementsFrom = QString::fromUtf8(c.from);
        language.ReplacementsTo = QString::fromUtf8(c.to);
        language.ReplacementsActive = c.active;
        EXPECT_EQ(language.ReplaceChar(c.typed), c.expected);
        EXPECT_EQ(language.ReplaceChar(QChar::fromLatin1(c.typed)), c.expected);
        EXPECT_EQ(language.IsReplaceable(c.typed), c.replaceable);
    }
}

TEST(LanguageReplacement, CharactersWithoutASingleByteFormStayAsTyped)
{
    TQVL_Language language;
    language.ReplacementsActive = true;
    language.ReplacementsFrom = QStringLiteral("жa");
    language.ReplacementsTo = QStringLiteral("zа");
    EXPECT_EQ(language.ReplaceChar(QChar(0x436)), QChar(0x436));
    EXPECT_FALSE(language.IsReplaceable(QChar(0x436)));
    EXPECT_EQ(language.ReplaceChar(QLatin1Char('a')), QChar(0x430));
}

TEST(LanguageReplacement, PairsForTheEditorNeverReadPastAShortTarget)
{
    TQVL_Language language;
    language.ReplacementsFrom = QStringLiteral("abc");
    language.ReplacementsTo = QStringLiteral("ä");
    const std::vector<std::pair<QChar, QChar>> expected = {
        {QLatin1Char('a'), QChar(0xE4)}, {QLatin1Char('b'), QChar()}, {QLatin1Char('c'), QChar()}};
    EXPECT_EQ(language.ReplacementPairs(), expected);
}

TEST(LanguageCode, AnEmptyChoiceFromTheCodeListKeepsTheStoredCode)
{
    TQVL_Language language;
    language.LangCode = QStringLiteral("xyz");
    language.SetLangCodeFromList(QString());
    EXPECT_EQ(language.LangCode, QStringLiteral("xyz"));
    language.SetLangCodeFromList(QStringLiteral("fre"));
    EXPECT_EQ(language.LangCode, QStringLiteral("fre"));
}

TEST_F(LanguageTest, ReloadReadsTheEditedFileAndAnnouncesItAgain)
{
    const QString name = copy(QStringLiteral("french.qxl"));
    TQVL_Language language;
    int opened = 0, closed = 0;
    language.OnOpen = [&] { ++opened; };
    language.OnClose = [&] { ++closed; };
    language.Open(name);
    ASSERT_TRUE(language.RequestWriteAccess());
    // The profile dialog has written the file meanwhile.
    WriteFile(name, QByteArray(french()).replace("<characters>éèêçàœ«»<", "<characters>ÿ<"));

    language.Reload();
    EXPECT_EQ(language.Characters, QStringLiteral("ÿ"));
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(language.IsOpen);
    EXPECT_FALSE(language.WriteAccess) << "reopened for reading";
    EXPECT_EQ(language.FileName, name);
    language.CloseFile();
    EXPECT_THROW(language.Reload(), TQVL_Error);
}

TEST_F(LanguageTest, LanguageNamesTable)
{
    const QString name = copy(QStringLiteral("LanguageNames.xml"));
    TQVL_LanguagesNames names;
    names.Open(name);
    ASSERT_EQ(names.Count(), 4);
    QStringList list{QStringLiteral("alt")};
    names.GetNames(list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("Deutsch"), QStringLiteral("Englisch"),
                                 QStringLiteral("Deutsch (Terminologie)"), QStringLiteral("Deutsch (neu)")}));
    EXPECT_EQ(names.CodeAt(1), QStringLiteral("eng"));
    EXPECT_EQ(names.CodeAt(2), QStringLiteral("deu")) << "a code is held with at most three characters";
    EXPECT_EQ(names.NameOf(QStringLiteral("deu")), QStringLiteral("Deutsch (Terminologie)"));
    EXPECT_EQ(names.NameOf(QStringLiteral("deu1")), QStringLiteral("Unknown"));
    EXPECT_EQ(names.NameOf(QStringLiteral("ger")), QStringLiteral("Deutsch (neu)")) << "the last entry wins";
    EXPECT_EQ(names.NameOf(QStringLiteral("GER")), QStringLiteral("Unknown"));
    EXPECT_EQ(names.NameOf(QStringLiteral("fre")), QStringLiteral("Unknown"));
    EXPECT_THROW(names.CodeAt(4), TQVL_Error);
    EXPECT_THROW(names.CodeAt(-1), TQVL_Error);

    names.Add(QStringLiteral("swed"), QStringLiteral("Schwedisch"));
    EXPECT_EQ(names.NameOf(QStringLiteral("swe")), QStringLiteral("Schwedisch"));
    ASSERT_TRUE(names.RequestWriteAccess());
    names.Save();
    names.CloseFile();
    const QByteArray saved = ReadFile(name);
    EXPECT_TRUE(saved.contains("<id>deu</id>"));
    EXPECT_TRUE(saved.contains("    <language>\r\n      <id>swe</id>\r\n      <name>Schwedisch</name>\r\n"));
}

TEST_F(LanguageTest, LanguageNamesReadingRules)
{
    const QByteArray empty =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>1</version>\r\n</root>\r\n";
    const QByteArray otherNames = QByteArray(ReadFile(fixtures + QStringLiteral("LanguageNames.xml")))
                                      .replace("<language>", "<sprache>")
                                      .replace("</language>", "</sprache>");
    TQVL_LanguagesNames names;
    names.Add(QStringLiteral("old"), QStringLiteral("Alt"));
    names.Open(copy(QStringLiteral("empty.xml"), empty));
    EXPECT_EQ(names.Count(), 0) << "reading empties the list; languages is optional";
    names.CloseFile();
    names.Open(copy(QStringLiteral("other.xml"), otherNames));
    EXPECT_EQ(names.Count(), 4) << "every child is an entry, whatever its name";
    names.CloseFile();

    const QByteArray table = ReadFile(fixtures + QStringLiteral("LanguageNames.xml"));
    for (const char* element : {"id", "name"}) {
        SCOPED_TRACE(element);
        const QString name = copy(QStringLiteral("broken.xml"), WithoutElement(table, element));
        EXPECT_EQ(OpenError(names, name),
                  QStringLiteral("Die Datei \"%1\" ist keine gültige Sprachnamendatei!").arg(name));
        EXPECT_EQ(names.Count(), 4) << "a broken table changes nothing";
    }
}
