#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Error.h"
#include "exchange/QVL_Export.h"
#include "exchange/QVL_Export_CSV.h"
#include "exchange/QVL_Export_KVTML.h"
#include "exchange/QVL_Import_KVTML.h"
#include "exchange/QVL_Import_CSV.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QFile>
#include <QTemporaryDir>


// Readable cards in failure messages.
void PrintTo(const TQVL_Card_Voc_Values& card, std::ostream* out)
{
    *out << QStringList{card.foreign1, card.foreign2, card.foreign3, card.home1, card.home2, card.home3, card.note,
                        card.hint}
                .join(u'|')
                .toStdString();
}

namespace {

TQVL_Card_Voc_Values card(const char* foreign1, const char* home1, const char* note = "", const char* hint = "",
                          const char* foreign2 = "", const char* home2 = "")
{
    TQVL_Card_Voc_Values values;
    values.foreign1 = QString::fromUtf8(foreign1);
    values.home1 = QString::fromUtf8(home1);
    values.note = QString::fromUtf8(note);
    values.hint = QString::fromUtf8(hint);
    values.foreign2 = QString::fromUtf8(foreign2);
    values.home2 = QString::fromUtf8(home2);
    return values;
}

// Cards that a careless writer breaks: delimiters, quotes, line breaks, formula-like cells, non-Latin scripts.
std::vector<TQVL_Card_Voc_Values> awkwardCards()
{
    return {
        card("house", "Haus", "Gebäude", "h...", "home", "Heim"),
        card("sentence; with delimiter", "Satz; mit Trennzeichen"),
        card("two\nlines", "zwei\nZeilen", "sagt \"hallo\""),
        card("=1+2", "+49 30", "-minus", "@home"),
        card("'=quoted", "'apostrophe"),
        card("дом", "Haus", "кириллица"),
        card("σπίτι", "Haus", "Ελληνικά"),
        card("Straße", "ÄÖÜ äöü ß"),
    };
}

// A copy of a sample lesson in `dir`, so that opening it never touches the tree.
QString sampleCopy(const QTemporaryDir& dir, const char* name)
{
    const QString copy = dir.filePath(QString::fromUtf8(name));
    QFile::copy(QStringLiteral(QUORVEL_DATA "/documents/Lektionen/") + QString::fromUtf8(name), copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    return copy;
}

std::vector<TQVL_Card_Voc_Values> readBack(const QByteArray& bytes, QChar delimiter)
{
    TQVL_Import_CSV reader;
    reader.Delimiter = delimiter;
    return reader.Read(bytes, QStringLiteral("export.csv")).Cards;
}

} // namespace

TEST(ExportCSV, AwkwardCardsComeBackAsTheyWereWithEveryDelimiter)
{
    for (const QChar delimiter : {QChar(u';'), QChar(u','), QChar(u'\t'), QChar(u'|')}) {
        TQVL_Export_CSV writer;
        writer.Delimiter = delimiter;
        const QByteArray bytes = writer.Write(awkwardCards());
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "spreadsheets need the mark to read UTF-8";
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        const std::vector<TQVL_Card_Voc_Values> read = readBack(bytes, delimiter);
        ASSERT_EQ(read.size(), awkwardCards().size()) << QString(delimiter).toStdString();
        for (std::size_t i = 0; i < read.size(); ++i)
            EXPECT_EQ(read[i], awkwardCards()[i]) << i << " with " << QString(delimiter).toStdString();
    }
}

TEST(ExportCSV, NoCellStartsLikeAFormulaAndQuotesOnlyWhereNeeded)
{
    const struct
    {
        const char* text;
        const char* field;
    } cases[] = {
        {"Haus", "Haus"},
        {"=SUM(A1)", "'=SUM(A1)"},
        {"+1", "'+1"},
        {"-x", "'-x"},
        {"@cmd", "'@cmd"},
        {"'=x", "''=x"}, // so that reading drops exactly one apostrophe
        {"'a", "'a"},
        {"a;b", "\"a;b\""},
        {"=a;b", "\"'=a;b\""},
        {"er sagt \"ja\"", "\"er sagt \"\"ja\"\"\""},
        {"a\nb", "\"a\nb\""},
        {"", ""},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(TQVL_Export_CSV::Field(text, u';'), QString::fromUtf8(c.field)) << c.text;
        const QString unquoted = TQVL_Export_CSV::Field(text, u'|'); // no quotes for these with "|"
        if (!text.contains(u'"') && !text.contains(u'\n')) {
            EXPECT_EQ(TQVL_Export_CSV::WithoutFormulaGuard(unquoted), text) << c.text;
        }
    }
}

TEST(ExportCSV, OnlyTheChosenFieldsBecomeColumns)
{
    TQVL_Export_CSV writer;
    writer.Fields = {true, false, false, true, false, false, false, false};
    EXPECT_EQ(writer.Write({card("house", "Haus", "note", "hint", "home", "Heim")}),
              QByteArray("\xEF\xBB\xBF" "Haus;house\r\n"));
    writer.Delimiter = u'"';
    EXPECT_THROW(writer.Write({}), TQVL_Error);
}

TEST(Export, TheSampleLessonsComeBackFromCSV)
{
    QTemporaryDir dir;
    for (const char* name : {"Englisch - Grundwortschatz.qxu", "Englisch - Aussprache.qxu"}) {
        TQVL_Unit unit;
        unit.Open(sampleCopy(dir, name));
        const std::vector<TQVL_Card_Voc_Values> cards = TQVL_Export::Vocabulary(unit);
        ASSERT_FALSE(cards.empty()) << name;
        const QString target = dir.filePath(QStringLiteral("out.csv"));
        EXPECT_EQ(TQVL_Export().ExportUnit(unit, target), int(cards.size()));
        EXPECT_EQ(readBack(ReadFile(target), u';'), cards) << name;
        unit.CloseFile();
    }
}

TEST(Export, PicturesAndTargetsThatAreNoFilesAreRefused)
{
    QTemporaryDir dir;
    TQVL_Unit pictures;
    pictures.Open(sampleCopy(dir, "Englisch - Bilder.qxu"));
    EXPECT_TRUE(ErrorOf([&] { TQVL_Export().ExportUnit(pictures, dir.filePath(QStringLiteral("x.csv"))); })
                    .contains(QStringLiteral("\"Bilder\" kann nicht exportiert werden")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("x.csv"))));
    pictures.CloseFile();

    TQVL_Unit words;
    words.Open(sampleCopy(dir, "Englisch - Grundwortschatz.qxu"));
    for (const QString& target : {dir.path(), QStringLiteral("/dev/full"), QStringLiteral("/dev/null")})
        EXPECT_TRUE(ErrorOf([&] { TQVL_Export().ExportUnit(words, target); })
                        .contains(QStringLiteral("keine gewöhnliche Datei")))
            << target.toStdString();
    const QString missingFolder = dir.filePath(QStringLiteral("fehlt/out.csv"));
    EXPECT_FALSE(ErrorOf([&] { TQVL_Export().ExportUnit(words, missingFolder); }).isEmpty());
    words.CloseFile();
}

namespace {

QString unescaped(const QString& field)
{
    QString text;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != u'\\' || i + 1 == field.size()) {
            text += field[i];
            continue;
        }
        const QChar next = field[++i];
        text += next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t') : next;
    }
    return text;
}

TQVL_Export_KVTML kvtmlWriter()
{
    TQVL_Export_KVTML writer;
    writer.Title = QStringLiteral("Wörter");
    writer.LangCodeForeign = QStringLiteral("eng");
    writer.LangNameForeign = QStringLiteral("Englisch");
    writer.LangCodeHome = QStringLiteral("ger");
    writer.LangNameHome = QStringLiteral("Deutsch");
    return writer;
}

} // namespace

TEST(ExportKVTML, KdesReaderSeesTheLanguagesAndEveryText)
{
#ifndef QUORVEL_KVTML_READER
    FAIL() << "KDE's libkeduvocdocument-dev is not installed, so the KVTML export cannot be checked by its reader "
              "(scripts/install-deps.sh installs it)";
#else
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("export.kvtml"));
    WriteFile(file, kvtmlWriter().Write(awkwardCards()));
    QProcess reader;
    reader.start(QStringLiteral(QUORVEL_KVTML_READER), {file});
    ASSERT_TRUE(reader.waitForFinished(60000));
    ASSERT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(reader.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2 + int(awkwardCards().size())) << lines.join(u'|').toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("identifier\t0\tEnglisch\ten"));
    EXPECT_EQ(lines[1], QStringLiteral("identifier\t1\tDeutsch\tde"));
    const std::vector<TQVL_Card_Voc_Values> cards = awkwardCards();
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const TQVL_Card_Voc_Values& card = cards[i];
        const QStringList fields = lines[int(i) + 2].split(u'\t');
        ASSERT_EQ(fields.size(), 5) << lines[int(i) + 2].toStdString();
        // KDE's reader keeps a text on one line: it makes a line break a blank.
        const auto oneLine = [](QString text) { return text.replace(u'\n', u' '); };
        EXPECT_EQ(unescaped(fields[1]), oneLine(TQVL_Export_KVTML::JoinedMeanings(card.foreign1, card.foreign2, card.foreign3)));
        EXPECT_EQ(unescaped(fields[2]), oneLine(TQVL_Export_KVTML::JoinedMeanings(card.home1, card.home2, card.home3)));
        EXPECT_EQ(unescaped(fields[3]), card.note);
        EXPECT_EQ(unescaped(fields[4]), card.hint);
    }
#endif
}

TEST(ExportKVTML, OurImportReadsTheExportBack)
{
    TQVL_Import_KVTML reader;
    reader.LangCodeForeign = QStringLiteral("eng");
    reader.LangCodeHome = QStringLiteral("ger");
    const std::vector<TQVL_Card_Voc_Values> cards = awkwardCards();
    const TQVL_Import_Source read = reader.Read(kvtmlWriter().Write(cards), QStringLiteral("x.kvtml"));
    ASSERT_EQ(read.Cards.size(), cards.size());
    for (std::size_t i = 0; i < read.Cards.size(); ++i) {
        // KVTML has one text per side: "; " inside a meaning reads back as the next meaning.
        if (cards[i].foreign1.contains(QStringLiteral("; "))) {
            EXPECT_EQ(read.Cards[i].foreign1, QStringLiteral("sentence"));
            EXPECT_EQ(read.Cards[i].foreign2, QStringLiteral("with delimiter"));
            continue;
        }
        EXPECT_EQ(read.Cards[i], cards[i]) << i;
    }
}
