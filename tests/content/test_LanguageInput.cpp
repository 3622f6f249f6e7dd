#include "content/QVL_Language.h"
#include "content/QVL_LanguageCodes.h"
#include "content/QVL_Language_Input.h"
#include "content/QVL_Languages.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

const QString fixtures = QStringLiteral(QUORVEL_FIXTURES "/languages/");

// The French fixture with its replacement table cut short, as a hand-edited file may have it.
QString shortTable(const TestFolders& folders)
{
    QByteArray bytes = ReadFile(fixtures + QStringLiteral("french.qxl"));
    const qsizetype from = bytes.indexOf("<to>") + 4;
    bytes.replace(from, bytes.indexOf("</to>") - from, "x");
    const QString path = folders.Root() + QStringLiteral("/short.qxl");
    WriteFile(path, bytes);
    return path;
}

} // namespace

TEST(LanguageInput, TheFirstCharacterOfATypedField)
{
    const std::pair<QString, QChar> cases[] = {
        {QString(), QChar()},
        {QStringLiteral("   "), QChar()},
        {QStringLiteral("ab"), QLatin1Char('a')},
        {QStringLiteral(" éx"), QChar(0xE9)},
        {QStringLiteral("ł"), QChar(0x142)},
    };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(TQVL_Language_Input::FirstCharacter(typed), expected) << typed.toStdString();
    EXPECT_EQ(ErrorOf([] { TQVL_Language_Input::FirstCharacter(QStringLiteral("😀a")); }),
              QStringLiteral("Das Zeichen \"😀\" kann in einem Sprachprofil nicht verwendet werden!"));
    // A replacement only catches single-byte keys: a source beyond them is refused, not stored uselessly.
    EXPECT_EQ(TQVL_Language_Input::ReplacementSource(QStringLiteral("ä")), QChar(0xE4));
    EXPECT_EQ(ErrorOf([] { TQVL_Language_Input::ReplacementSource(QStringLiteral("ł")); }),
              QStringLiteral("Das Zeichen \"ł\" kann nicht automatisch ersetzt werden. Ersetzt werden können nur "
                             "Zeichen westeuropäischer Tastaturen."));
}

TEST(LanguageInput, FontSizesFallBackWhenTheyAreNoUsableSize)
{
    const std::pair<const char*, int> cases[] = {{"12", 12}, {"", 8}, {"abc", 8}, {"0", 8}, {"200", 200}, {"201", 8}};
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(TQVL_Language_Input::FontSize(QString::fromLatin1(typed), 8), expected) << typed;
}

TEST(LanguageInput, RowsBecomeTheProfileAndAnEmptyCodeChoiceKeepsTheStoredCode)
{
    TQVL_Language language;
    language.LangCode = QStringLiteral("xyz");
    TQVL_Language_Input input;
    input.Name = QStringLiteral("Polnisch");
    input.Characters = QStringLiteral("ąę");
    input.ReplacementsActive = true;
    input.Replacements = {{QLatin1Char('a'), QChar(0x105)}, {QLatin1Char('e'), QChar(0x119)}};
    input.FontName = QStringLiteral("DejaVu Sans");
    input.FontSmall = QStringLiteral("10");
    input.FontBig = QString();
    input.Adjective = QStringLiteral("Polnisch");
    input.AdjectivePlural = QStringLiteral("Polnische");
    input.ApplyTo(language);
    EXPECT_EQ(language.LangCode, QStringLiteral("xyz"));
    EXPECT_EQ(language.ReplacementsFrom, QStringLiteral("ae"));
    EXPECT_EQ(language.ReplacementsTo, QStringLiteral("ąę"));
    EXPECT_EQ(language.ReplaceChar('e'), QChar(0x119));
    EXPECT_EQ(language.BigFont().Name, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(language.SmallFont().Size, 10);
    EXPECT_EQ(language.BigFont().Size, 24);

    input.LangCode = QStringLiteral("pol");
    input.ApplyTo(language);
    EXPECT_EQ(language.LangCode, QStringLiteral("pol"));

    input.Name = QStringLiteral("  ");
    input.Characters = QStringLiteral("x");
    EXPECT_EQ(ErrorOf([&] { input.ApplyTo(language); }),
              QStringLiteral("Bitte geben Sie eine Bezeichnung für das Sprachprofil ein!"));
    EXPECT_EQ(language.Characters, QStringLiteral("ąę")) << "a refused name changes nothing";
}

TEST(LanguageInput, AShortReplacementTableIsShownWithEmptyTargetsAndSavedInStep)
{
    TestFolders folders;
    TQVL_Language language;
    language.Open(shortTable(folders));
    const TQVL_Language_Input shown = TQVL_Language_Input::Of(language);
    ASSERT_EQ(shown.Replacements.size(), std::size_t(language.ReplacementsFrom.size()));
    EXPECT_EQ(shown.Replacements[0].second, QLatin1Char('x'));
    EXPECT_TRUE(shown.Replacements[1].second.isNull());

    // A pair added behind the rows without target must still be replaced by its own target.
    TQVL_Language_Input edited = shown;
    edited.Replacements.emplace_back(QLatin1Char('q'), QLatin1Char('Q'));
    ASSERT_TRUE(language.RequestWriteAccess());
    edited.Save(language);
    EXPECT_FALSE(language.WriteAccess);
    language.Reload();
    EXPECT_EQ(language.ReplacementsTo.size(), language.ReplacementsFrom.size());
    EXPECT_EQ(language.ReplaceChar('q'), QLatin1Char('Q'));
    const QChar second = language.ReplacementsFrom[1];
    EXPECT_EQ(language.ReplacementsTo[1], second) << "a source without target stays as typed";
    language.CloseFile();
}

TEST(LanguageInput, AFailedSavePutsTheProfileBackAsItWas)
{
    TestFolders folders;
    const QString path = folders.Root() + QStringLiteral("/french.qxl");
    WriteFile(path, ReadFile(fixtures + QStringLiteral("french.qxl")));
    TQVL_Language language;
    language.Open(path);
    ASSERT_TRUE(language.RequestWriteAccess());
    const TQVL_Language_Input before = TQVL_Language_Input::Of(language);
    const QString from = language.ReplacementsFrom, to = language.ReplacementsTo;

    TQVL_Language_Input edited = before;
    edited.Name = QStringLiteral("Franzoesisch");
    edited.LangCode = QStringLiteral("xfr");
    edited.Characters = QStringLiteral("x");
    edited.CharactersShow = !before.CharactersShow;
    edited.ReplacementsActive = !before.ReplacementsActive;
    edited.Replacements = {{QLatin1Char('q'), QLatin1Char('Q')}};
    edited.FontName = QStringLiteral("Liberation Serif");
    edited.FontSmall = QStringLiteral("13");
    edited.FontBig = QStringLiteral("31");
    edited.FontUse = !before.FontUse;
    edited.Adjective = QStringLiteral("welsch");
    edited.AdjectivePlural = QStringLiteral("welsche");
    // A folder where the file was: the rename of the save cannot replace it.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/x")));
    EXPECT_NE(ErrorOf([&] { edited.Save(language); }), QString());

    const TQVL_Language_Input after = TQVL_Language_Input::Of(language);
    EXPECT_EQ(after.Name, before.Name);
    EXPECT_EQ(language.LangCode, QStringLiteral("fre"));
    EXPECT_EQ(after.Characters, before.Characters);
    EXPECT_EQ(after.CharactersShow, before.CharactersShow);
    EXPECT_EQ(after.ReplacementsActive, before.ReplacementsActive);
    EXPECT_EQ(language.ReplacementsFrom, from);
    EXPECT_EQ(language.ReplacementsTo, to);
    EXPECT_EQ(after.FontName, before.FontName);
    EXPECT_EQ(language.BigFont().Name, before.FontName);
    EXPECT_EQ(after.FontSmall, before.FontSmall);
    EXPECT_EQ(after.FontBig, before.FontBig);
    EXPECT_EQ(after.FontUse, before.FontUse);
    EXPECT_EQ(after.Adjective, before.Adjective);
    EXPECT_EQ(after.AdjectivePlural, before.AdjectivePlural);
    EXPECT_TRUE(language.WriteAccess) << "the dialog keeps the profile and may try again";
    language.CloseFile();
}

TEST(LanguageProfiles, CreatingAndDeleting)
{
    TestFolders folders;
    const QString folder = folders.AppData() + QStringLiteral("/Languages");
    const QString path = TQVL_Languages::CreateProfile(folder, QStringLiteral(" Kroatisch "));
    EXPECT_EQ(path, folder + QStringLiteral("/Kroatisch.qxl"));
    TQVL_Language created;
    created.Open(path);
    EXPECT_EQ(created.Name, QStringLiteral("Kroatisch"));
    EXPECT_EQ(created.Adjective, QStringLiteral("Kroatisch"));
    EXPECT_TRUE(created.LangCode.isEmpty());
    EXPECT_TRUE(created.CharactersShow);
    EXPECT_FALSE(created.ReplacementsActive);
    EXPECT_EQ(created.Uid.size(), 38);
    created.CloseFile();

    EXPECT_EQ(ErrorOf([&] { TQVL_Languages::CreateProfile(folder, QStringLiteral("kroatisch")); }),
              QStringLiteral("Ein Sprachprofil mit der Bezeichnung \"kroatisch\" besteht bereits!"));
    for (const char* name : {"", "a/b", "Eins?"})
        EXPECT_EQ(ErrorOf([&] { TQVL_Languages::CreateProfile(folder, QString::fromLatin1(name)); }),
                  QStringLiteral("Die Bezeichnung \"%1\" ist nicht gültig!").arg(QString::fromLatin1(name)));

    TQVL_Languages::DeleteProfile(path);
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(LanguageCodes, OneCodePerLineWhateverTheLineEnds)
{
    TestFolders folders;
    const QString path = TQVL_LanguageCodes::FileName(folders.AppData());
    EXPECT_TRUE(path.endsWith(QStringLiteral("/Data/languagecodes.txt")));
    WriteFile(path, "eng\r\nfre\n\n ger \n");
    EXPECT_EQ(TQVL_LanguageCodes::Read(path), (QStringList{"eng", "fre", "ger"}));
    EXPECT_EQ(ErrorOf([&] { TQVL_LanguageCodes::Read(path + QStringLiteral(".weg")); }),
              QStringLiteral("Die Liste der Sprachcodes \"%1.weg\" konnte nicht gelesen werden!").arg(path));
}
