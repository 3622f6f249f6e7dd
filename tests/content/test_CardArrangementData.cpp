// The card arrangements installed with the program ("Data/GrammarTemplates").
// They are generated from the tables below, so that they are in the exact
// layout our writer produces. After changing a table, write the files again with
//   test_content --gtest_also_run_disabled_tests --gtest_filter='InstalledArrangements.DISABLED_WriteFiles'
// Sample grammar units refer to an arrangement by its uid and to its fields by
// id: never change either of an installed arrangement.
#include "content/QVL_CardArrangement.h"
#include "core/QVL_SafeFile.h"
#include "core/QVL_XML.h"
#include "tests/support/TestFolders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRect>
#include <QSet>

#include <map>
#include <vector>

#ifndef QUORVEL_DATA
#define QUORVEL_DATA QUORVEL_FIXTURES "/../../data"
#endif

namespace {

const QString templates = QStringLiteral(QUORVEL_DATA "/appdata/Data/GrammarTemplates");

struct Field
{
    qint32 id;
    TQVL_CardArrangement_FieldType type;
    const char* caption;
    bool foreign;
};

struct Arrangement
{
    const char* file;
    const char* uid;
    const char* name;
    std::vector<Field> fields;
};

// Input fields take this share of a cell for their caption.
constexpr quint8 captionWidth = 40;

// A table of two columns, singular and plural, of input fields for the
// foreign-language forms; ids count on from `firstId`.
std::vector<Field> singularPlural(qint32 firstId, std::initializer_list<const char*> singular,
                                  std::initializer_list<const char*> plural)
{
    std::vector<Field> fields{
        {0, cftVertSpace, "", false}, {0, cftColumn, "", false}, {0, cftConstantLabel, "Singular", false}};
    qint32 id = firstId;
    for (const char* caption : singular)
        fields.push_back({id++, cftInputField, caption, true});
    fields.push_back({0, cftColumn, "", false});
    fields.push_back({0, cftConstantLabel, "Plural", false});
    for (const char* caption : plural)
        fields.push_back({id++, cftInputField, caption, true});
    return fields;
}

std::vector<Field> concat(std::vector<Field> head, const std::vector<Field>& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

const std::vector<Field> verbHead = {{1, cftLabelField, "Infinitiv:", true}, {2, cftLabelField, "Deutsch:", false}};
const std::vector<Field> nounHead = {{1, cftLabelField, "Substantiv:", true}, {2, cftLabelField, "Deutsch:", false}};

const std::vector<Arrangement> arrangements = {
    // The sample grammar unit is written against this uid and these field ids.
    {"Englisch - Unregelmäßige Verben",
     "{6A1E0F52-3C1B-4C0E-9E55-7B0C5A1D2E01}",
     "Englisch: Unregelmäßige Verben",
     {{1, cftLabelField, "Infinitiv:", true},
      {2, cftInputField, "Präteritum:", true},
      {3, cftInputField, "Partizip II:", true},
      {4, cftLabelField, "Deutsch:", false}}},
    {"Englisch - Steigerung der Adjektive",
     "{AA3C2445-B2C9-4F86-989B-CCB4C6158DE0}",
     "Englisch: Steigerung der Adjektive",
     {{1, cftLabelField, "Grundform:", true},
      {2, cftInputField, "Komparativ:", true},
      {3, cftInputField, "Superlativ:", true},
      {4, cftLabelField, "Deutsch:", false}}},
    {"Deutsch - Deklination der Substantive", "{7A2D600A-8662-46C1-941E-101D8EDEF0B6}",
     "Deutsch: Deklination der Substantive",
     concat({{1, cftLabelField, "Substantiv:", true}},
            singularPlural(3, {"Nominativ:", "Genitiv:", "Dativ:", "Akkusativ:"},
                           {"Nominativ:", "Genitiv:", "Dativ:", "Akkusativ:"}))},
    {"Französisch - Konjugation im Präsens", "{9B837A36-143E-417A-B708-9AF61C8287BE}",
     "Französisch: Konjugation im Präsens",
     concat(verbHead, singularPlural(3, {"je / j':", "tu:", "il / elle:"}, {"nous:", "vous:", "ils / elles:"}))},
    {"Spanisch - Konjugation im Präsens", "{B2327CE5-C13E-41CB-8EC9-074DCE90A0C1}", "Spanisch: Konjugation im Präsens",
     concat(verbHead, singularPlural(3, {"yo:", "tú:", "él / ella:"}, {"nosotros:", "vosotros:", "ellos / ellas:"}))},
    {"Italienisch - Konjugation im Präsens", "{AB33C4C9-0469-484A-A431-5801A4482D6A}",
     "Italienisch: Konjugation im Präsens",
     concat(verbHead, singularPlural(3, {"io:", "tu:", "lui / lei:"}, {"noi:", "voi:", "loro:"}))},
    // Fits every declension; the sample unit drills the a-declension.
    {"Latein - Deklination der Substantive", "{6B2D9707-3AB0-4CEE-8418-0CC962B00CBD}",
     "Latein: Deklination der Substantive",
     concat(nounHead, singularPlural(3, {"Nominativ:", "Genitiv:", "Dativ:", "Akkusativ:", "Ablativ:"},
                                     {"Nominativ:", "Genitiv:", "Dativ:", "Akkusativ:", "Ablativ:"}))},
    {"Latein - Konjugation im Präsens", "{23DDA583-65BB-4A4D-803E-C1983F0F0D7E}", "Latein: Konjugation im Präsens",
     concat(verbHead,
            singularPlural(3, {"1. Person:", "2. Person:", "3. Person:"}, {"1. Person:", "2. Person:", "3. Person:"}))},
};

QByteArray written(TQVL_CardArrangement& arrangement)
{
    TQVL_XML document;
    document.Version = arrangement.CurrentVersion;
    arrangement.SaveToXML(*document.Root);
    return document.SaveToBytes();
}

void build(const Arrangement& a, TQVL_CardArrangement& arrangement)
{
    arrangement.Uid = QString::fromLatin1(a.uid);
    arrangement.Name = QString::fromUtf8(a.name);
    arrangement.StaticLabelBold = true;
    arrangement.ColumnWidthPercent = 50;
    for (const Field& f : a.fields) {
        TQVL_CardArrangement_Field* field = arrangement.AddField();
        field->Id = f.id;
        field->Type = f.type;
        field->Caption = QString::fromUtf8(f.caption);
        field->QueryVisible = f.type == cftLabelField || f.type == cftInputField;
        field->LanguageForeign = f.foreign;
        if (f.type == cftInputField)
            field->CaptionWidthPercentage = captionWidth;
    }
}

std::map<QString, QByteArray> generate()
{
    std::map<QString, QByteArray> files;
    for (const Arrangement& a : arrangements) {
        TQVL_CardArrangement arrangement;
        build(a, arrangement);
        files[QString::fromUtf8(a.file) + QStringLiteral(".qxa")] = written(arrangement);
    }
    return files;
}

} // namespace

TEST(InstalledArrangements, DISABLED_WriteFiles)
{
    QDir().mkpath(templates);
    for (const auto& [file, bytes] : generate())
        TQVL_SafeFile::Write(templates + QLatin1Char('/') + file, bytes);
}

TEST(InstalledArrangements, AreTheGeneratedFiles)
{
    const std::map<QString, QByteArray> files = generate();
    for (const auto& [file, bytes] : files)
        EXPECT_EQ(ReadFile(templates + QLatin1Char('/') + file), bytes) << file.toStdString() << " is out of date";
    for (const QString& file : QDir(templates).entryList(QDir::Files))
        EXPECT_TRUE(files.count(file)) << file.toStdString() << " is not generated";
}

TEST(InstalledArrangements, LoadLayOutAndKeepTheirIdentity)
{
    TestFolders folders;
    QSet<QString> uids;
    const QStringList files = QDir(templates).entryList({QStringLiteral("*.qxa")}, QDir::Files);
    ASSERT_GE(files.size(), 5);
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const QString path = templates + QLatin1Char('/') + file;
        TQVL_CardArrangement arrangement;
        arrangement.Open(path);
        arrangement.CloseFile();

        // The file list reads these two from the first 250 bytes.
        const QStringList header{QStringLiteral("uid"), QStringLiteral("name")};
        QStringList values;
        TQVL_XML::ReadHeaderValues(path, &header, 250, &values);
        EXPECT_EQ(values, (QStringList{arrangement.Uid, arrangement.Name}));
        EXPECT_EQ(arrangement.Uid.size(), 38);
        EXPECT_FALSE(uids.contains(arrangement.Uid));
        uids.insert(arrangement.Uid);

        // Values are bound by id: an id may stand for one value only.
        QSet<qint32> ids;
        int inputs = 0;
        for (int i = 0; i < arrangement.FieldCount(); ++i) {
            const TQVL_CardArrangement_Field* field = arrangement.Field(i);
            if (field->Type != cftLabelField && field->Type != cftInputField)
                continue;
            EXPECT_GT(field->Id, 0);
            EXPECT_FALSE(ids.contains(field->Id)) << field->Id;
            ids.insert(field->Id);
            inputs += field->Type == cftInputField;
        }
        EXPECT_GT(inputs, 0) << "a query has something to ask";

        // Every value field gets a cell of its own inside the window.
        std::vector<QRect> cells;
        arrangement.OnPlaceField = [&](int, int left, int top, int width, int height, TQVL_CardArrangement_FieldType) {
            cells.emplace_back(left, top, width, height);
        };
        arrangement.Layout(800, 600, 90, 160, false);
        int shown = 0;
        for (int i = 0; i < arrangement.FieldCount(); ++i)
            shown += arrangement.Field(i)->Type <= cftConstantLabel;
        EXPECT_EQ(int(cells.size()), shown);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            EXPECT_TRUE(QRect(0, 0, 800, 600).contains(cells[i])) << i;
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_FALSE(cells[i].intersects(cells[j])) << i << " overlaps " << j;
        }

        const QString copy = folders.Root() + QLatin1Char('/') + file;
        WriteFile(copy, ReadFile(path));
        arrangement.Open(copy);
        ASSERT_TRUE(arrangement.RequestWriteAccess());
        arrangement.Save();
        arrangement.CloseFile();
        EXPECT_EQ(ReadFile(copy), ReadFile(path)) << "a load and save changes nothing";
    }
    EXPECT_TRUE(uids.contains(QStringLiteral("{6A1E0F52-3C1B-4C0E-9E55-7B0C5A1D2E01}")));
}

TEST(InstalledArrangements, IrregularVerbsKeepTheFieldsTheSampleUnitUses)
{
    TQVL_CardArrangement arrangement;
    arrangement.Open(templates + QStringLiteral("/Englisch - Unregelmäßige Verben.qxa"));
    arrangement.CloseFile();
    ASSERT_EQ(arrangement.FieldCount(), 4);
    const std::pair<qint32, TQVL_CardArrangement_FieldType> expected[] = {
        {1, cftLabelField}, {2, cftInputField}, {3, cftInputField}, {4, cftLabelField}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(arrangement.Field(i)->Id, expected[i].first);
        EXPECT_EQ(arrangement.Field(i)->Type, expected[i].second);
    }
}
