#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "exchange/QVL_Import.h"
#include "tests/support/TestErrors.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

QString corpus(const char* name)
{
    return QStringLiteral(QUORVEL_FIXTURES "/exchange/") + QString::fromUtf8(name);
}

// The import as the wizard sets it up: the installed profiles, German as the
// home and English as the foreign language chosen.
TQVL_Import kvtmlImport(const QString& output)
{
    TQVL_Import import;
    import.Type = TQVL_Import_Type::itKVTML;
    import.LangCodeHome = QStringLiteral("ger");
    import.LangCodeForeign = QStringLiteral("eng");
    import.OutputFolder = output;
    import.Languages.Profiles = TQVL_LanguageMatch::Installed(QStringLiteral(QUORVEL_DATA "/appdata/Languages"));
    return import;
}

} // namespace

// Vocabulary files in the shapes other programs write, through the importer
// into lessons: which languages the lesson gets, its first card, or why not.
TEST(ImportCorpus, ShapesOfForeignFilesBecomeLessonsOfInstalledLanguages)
{
    const struct
    {
        const char* file;
        std::function<void(TQVL_Import&)> choose;
        const char* error; // a part of the message; empty when the lesson is written
        int cards;
        const char* foreignCode;
        const char* homeCode;
        const char* foreign1;
        const char* home1;
    } cases[] = {
        // Languages named by words instead of locales.
        {"corpus/locale_words.kvtml", [](TQVL_Import& i) { i.LanguagesFromSource = true; }, "", 2, "fre", "ger",
         "rouge", "rot"},
        {"corpus/locale_words.kvtml", [](TQVL_Import& i) { i.LangCodeForeign = QStringLiteral("fre"); }, "", 2, "fre",
         "ger", "rouge", "rot"},
        // Columns that name no language: asked for, never stored as they are.
        {"corpus/states.kvtml", [](TQVL_Import& i) { i.LanguagesFromSource = true; },
         "Für die Sprache \"state\" der Datei ist kein Sprachprofil installiert", 0, "", "", "", ""},
        {"corpus/states.kvtml",
         [](TQVL_Import& i) {
             i.LanguagesFromSource = true;
             i.Languages.Chosen.insert(QStringLiteral("state"), QStringLiteral("eng"));
             i.Languages.Chosen.insert(QStringLiteral("capital"), QStringLiteral("ger"));
         },
         "", 1, "eng", "ger", "Texas", "Austin"},
        {"corpus/states.kvtml", [](TQVL_Import&) {}, "", 1, "eng", "ger", "Texas", "Austin"},
        // One language, the hint to each word in its comment.
        {"corpus/one_language.kvtml", [](TQVL_Import& i) { i.LanguagesFromSource = true; },
         "Zeile 6: Die Datei enthält nur eine Sprache (\"en\")", 0, "", "", "", ""},
        {"corpus/one_language.kvtml",
         [](TQVL_Import& i) {
             i.LanguagesFromSource = true;
             i.Languages.CommentAsHome = true;
             i.LangCodeHome = QStringLiteral("fre");
         },
         "", 3, "eng", "fre", "giraffe", "an animal with a long neck"},
        // Three languages: the home language of the lesson and the first
        // other, or the two the learner picked.
        {"corpus/three_languages.kvtml", [](TQVL_Import& i) { i.LanguagesFromSource = true; }, "", 2, "eng", "ger",
         "house", "Haus"},
        {"corpus/three_languages.kvtml",
         [](TQVL_Import& i) {
             i.LanguagesFromSource = true;
             i.Languages.PickForeign = QStringLiteral("fre");
             i.Languages.PickHome = QStringLiteral("eng");
         },
         "", 2, "fre", "eng", "maison", "house"},
        {"corpus/three_languages.kvtml",
         [](TQVL_Import& i) {
             i.LanguagesFromSource = true;
             i.Languages.PickForeign = QStringLiteral("ita");
             i.Languages.PickHome = QStringLiteral("ger");
         },
         "nicht die gewählten Sprachen \"ita\" und \"ger\" (Sprachen der Datei: eng, ger, fre)", 0, "", "", "", ""},
        {"corpus/three_languages.kvtml", [](TQVL_Import& i) { i.LangCodeForeign = QStringLiteral("fre"); }, "", 2,
         "fre", "ger", "maison", "Haus"},
        // The older format, its languages named in the first entry.
        {"corpus/version1_names.kvtml", [](TQVL_Import& i) { i.LanguagesFromSource = true; }, "", 2, "spa", "ger",
         "uno", "eins"},
        {"version1_languages.kvtml", [](TQVL_Import& i) { i.LanguagesFromSource = true; }, "", 3, "eng", "ger", "dog",
         "Hund"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(std::string(row.file) + " " + row.error);
        QTemporaryDir output;
        TQVL_Import import = kvtmlImport(output.path());
        row.choose(import);
        QString path;
        const QString error = ErrorOf([&] { path = import.ImportFile(corpus(row.file)); });
        if (*row.error) {
            EXPECT_TRUE(error.contains(QString::fromUtf8(row.error))) << error.toStdString();
            EXPECT_TRUE(QDir(output.path()).isEmpty()) << "no lesson for a file that failed";
            continue;
        }
        ASSERT_EQ(error, QString());
        TQVL_Unit unit;
        unit.Open(path);
        EXPECT_EQ(unit.LangCodeForeign, QString::fromUtf8(row.foreignCode));
        EXPECT_EQ(unit.LangCodeHome, QString::fromUtf8(row.homeCode));
        ASSERT_EQ(unit.Cards->Count(), row.cards);
        const auto& first = static_cast<const TQVL_Card_Voc&>(*unit.Cards->Card(0));
        EXPECT_EQ(first.foreign1, QString::fromUtf8(row.foreign1));
        EXPECT_EQ(first.home1, QString::fromUtf8(row.home1));
        unit.CloseFile();
    }
}

TEST(ImportCorpus, TheLanguagesOfAFileAsTheWizardShowsThem)
{
    const TQVL_Import import = kvtmlImport(QString());
    const std::vector<TQVL_Import_Language> three = import.FileLanguages(corpus("corpus/three_languages.kvtml"));
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[0].Label, QStringLiteral("en_US"));
    EXPECT_EQ(three[0].Code, QStringLiteral("eng"));
    EXPECT_EQ(three[1].Code, QStringLiteral("ger"));
    EXPECT_EQ(three[2].Label, QStringLiteral("Französisch")) << "the name where the file has no locale";
    EXPECT_EQ(three[2].Code, QStringLiteral("fre"));
    const std::vector<TQVL_Import_Language> states = import.FileLanguages(corpus("corpus/states.kvtml"));
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0].Label, QStringLiteral("state"));
    EXPECT_EQ(states[0].Code, QString());
    // A one-language word card keeps its paraphrase as the hint.
    QTemporaryDir output;
    TQVL_Import words = kvtmlImport(output.path());
    words.Languages.CommentAsHome = true;
    TQVL_Unit unit;
    unit.Open(words.ImportFile(corpus("corpus/one_language.kvtml")));
    const auto& owl = static_cast<const TQVL_Card_Voc&>(*unit.Cards->Card(1));
    EXPECT_EQ(owl.hint, QStringLiteral("o.."));
    EXPECT_EQ(owl.note, QString()) << "the comment is the home side, not also the note";
    EXPECT_EQ(static_cast<const TQVL_Card_Voc&>(*unit.Cards->Card(2)).home1, QString());
    unit.CloseFile();
}

// The vocabulary files a Linux distribution ships (package kdeedu-kvtml-data):
// once the learner has given a profile to each language the wizard shows
// without one, every file that holds words becomes a lesson.
TEST(ImportCorpus, TheDistributionsVocabularyFiles)
{
    const QString folder = QStringLiteral("/usr/share/apps/kvtml");
    if (!QDir(folder).exists())
        GTEST_SKIP() << "the package kdeedu-kvtml-data is not installed (" << folder.toStdString() << " is missing)";
    QTemporaryDir output;
    int files = 0;
    int written = 0;
    QStringList failed;
    QDirIterator found(folder, {QStringLiteral("*.kvtml")}, QDir::Files, QDirIterator::Subdirectories);
    while (found.hasNext()) {
        const QString file = found.next();
        ++files;
        TQVL_Import import = kvtmlImport(output.path());
        import.LanguagesFromSource = true;
        import.Languages.CommentAsHome = true;
        for (const TQVL_Import_Language& language : import.FileLanguages(file))
            if (language.Code.isEmpty())
                import.Languages.Chosen.insert(TQVL_Import_Languages::Key(language.Label), QStringLiteral("eng"));
        const QString error = ErrorOf([&] { import.ImportFile(file); });
        if (error.isEmpty())
            ++written;
        else if (!error.contains(QStringLiteral("Die Datei enthält keine Karten.")))
            failed << error;
    }
    EXPECT_EQ(failed, QStringList());
    EXPECT_GT(written, files * 9 / 10) << written << " of " << files;
    std::cout << "[          ] " << written << " of " << files << " files became lessons\n";
}
