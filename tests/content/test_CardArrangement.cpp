#include "content/QVL_CardArrangement.h"
#include "core/QVL_Error.h"
#include "core/QVL_XML.h"
#include "tests/support/TestFolders.h"

#include <gtest/gtest.h>

#include <QFile>

#include <tuple>
#include <vector>

void PrintTo(const TQVL_CardArrangement_Cell& c, std::ostream* os)
{
    *os << "#" << c.Index << " (" << c.Left << ", " << c.Top << ", " << c.Width << ", " << c.Height << ") type "
        << int(c.FieldType);
}

namespace {

const QString fixtures = QStringLiteral(QUORVEL_FIXTURES "/arrangements/");

struct Placed
{
    int index, left, top, width, height;
    TQVL_CardArrangement_FieldType type;
    bool operator==(const Placed& o) const
    {
        return std::tie(index, left, top, width, height, type) ==
               std::tie(o.index, o.left, o.top, o.width, o.height, o.type);
    }
};

void PrintTo(const Placed& p, std::ostream* os)
{
    *os << "#" << p.index << " (" << p.left << ", " << p.top << ", " << p.width << ", " << p.height << ") type "
        << int(p.type);
}

// An arrangement with the given field types, in order.
void setTypes(TQVL_CardArrangement& arrangement, std::initializer_list<TQVL_CardArrangement_FieldType> types)
{
    arrangement.ClearFields();
    for (TQVL_CardArrangement_FieldType type : types)
        arrangement.AddField()->Type = type;
}

std::vector<Placed> layout(TQVL_CardArrangement& arrangement, int width, int height, int marginY, int marginX,
                           bool noLeftMargin = false)
{
    std::vector<Placed> placed;
    arrangement.OnPlaceField = [&](int index, int left, int top, int w, int h, TQVL_CardArrangement_FieldType type) {
        placed.push_back({index, left, top, w, h, type});
    };
    arrangement.Layout(width, height, marginY, marginX, noLeftMargin);
    return placed;
}

class CardArrangementTest : public ::testing::Test
{
protected:
    QString copy(const QString& fixture, const QByteArray& replaceFrom = {}, const QByteArray& replaceTo = {})
    {
        QByteArray bytes = ReadFile(fixtures + fixture);
        if (!replaceFrom.isEmpty())
            bytes.replace(replaceFrom, replaceTo);
        const QString name = folders.Root() + QLatin1Char('/') + fixture;
        WriteFile(name, bytes);
        return name;
    }

    TestFolders folders;
};

} // namespace

TEST_F(CardArrangementTest, ReadsEveryValueAndWritesTheFileAgainUnchanged)
{
    const QString name = copy(QStringLiteral("example.qxa"));
    TQVL_CardArrangement arrangement;
    arrangement.Open(name);
    EXPECT_EQ(arrangement.Uid, QStringLiteral("{0F3C2A41-7B1E-4D6A-9C55-2E8B7A1D4F10}"));
    EXPECT_EQ(arrangement.Name, QStringLiteral("Präsens & Perfekt"));
    EXPECT_TRUE(arrangement.StaticLabelBold);
    EXPECT_EQ(arrangement.ColumnWidthPercent, 40);
    ASSERT_EQ(arrangement.FieldCount(), 5);
    const TQVL_CardArrangement_Field* last = arrangement.Field(4);
    EXPECT_EQ(last->Id, 3);
    EXPECT_EQ(last->Type, cftInputField);
    EXPECT_EQ(last->Caption, QStringLiteral("Partizip <II>"));
    EXPECT_FALSE(last->QueryVisible);
    EXPECT_EQ(last->CaptionWidthPercentage, 45);
    EXPECT_FALSE(last->LanguageForeign);
    EXPECT_TRUE(arrangement.Field(1)->QueryVisible);
    EXPECT_TRUE(arrangement.Field(1)->LanguageForeign);
    EXPECT_EQ(arrangement.FindField(2), arrangement.Field(2));
    EXPECT_EQ(arrangement.FindField(0), arrangement.Field(0)) << "the first of two fields with id 0";
    EXPECT_EQ(arrangement.FindField(99), nullptr);

    ASSERT_TRUE(arrangement.RequestWriteAccess());
    arrangement.Save();
    arrangement.CloseFile();
    EXPECT_EQ(ReadFile(name), ReadFile(fixtures + QStringLiteral("example.qxa")))
        << "the identifier stays in the file: grammar units find their arrangement by it";
}

TEST_F(CardArrangementTest, ReadsFilesOfOtherWritersLeniently)
{
    const QString name = copy(QStringLiteral("lenient.qxa"));
    TQVL_CardArrangement arrangement;
    arrangement.Uid = QStringLiteral("{stale}");
    arrangement.AddField();
    arrangement.Open(name);
    EXPECT_TRUE(arrangement.Uid.isEmpty()) << "the identifier of the previous file is gone";
    EXPECT_EQ(arrangement.Name, QStringLiteral("Handgeschrieben"));
    EXPECT_FALSE(arrangement.StaticLabelBold);
    EXPECT_EQ(arrangement.ColumnWidthPercent, 300 & 0xFF);
    ASSERT_EQ(arrangement.FieldCount(), 4) << "the list is emptied first, and every child of fields is a field";

    struct Expected
    {
        qint32 id;
        TQVL_CardArrangement_FieldType type;
        quint8 captionWidth;
    };
    const Expected expected[] = {
        {7, cftLabelField, 50},  // unknown type name "slider"; no caption_width_percentage
        {8, cftInputField, 255}, // element named "item"; -1 keeps its lowest eight bits
        {0, cftLabelField, 50},  // empty element: all defaults
        {10, cftVertSpace, 50},  // of two ids, the last
    };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(arrangement.Field(i)->Id, expected[i].id);
        EXPECT_EQ(arrangement.Field(i)->Type, expected[i].type);
        EXPECT_EQ(arrangement.Field(i)->CaptionWidthPercentage, expected[i].captionWidth);
    }
    arrangement.RequestWriteAccess();
    arrangement.Save();
    arrangement.CloseFile();
    const QByteArray saved = ReadFile(name);
    EXPECT_FALSE(saved.contains("<uid")) << "a file without identifier gets none";
    EXPECT_TRUE(saved.contains("<type>labelfield</type>"));
    EXPECT_EQ(saved.count("<field>"), 4);
}

TEST_F(CardArrangementTest, InvalidFilesAreRefusedAndChangeNothing)
{
    struct Case
    {
        const char* from;
        const char* to;
    };
    const Case cases[] = {
        {"<id>3</id>", "<id>drei</id>"},
        {"<id>3</id>", "<id>4294967296</id>"},
        {"<id>3</id>", "<id/>"},
        {"<caption_width_percentage>45<", "<caption_width_percentage>4.5<"},
        {"<column_width_percent>40<", "<column_width_percent> 40<"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to);
        const QString name = copy(QStringLiteral("example.qxa"), c.from, c.to);
        const QByteArray before = ReadFile(name);
        TQVL_CardArrangement arrangement;
        arrangement.Name = QStringLiteral("vorher");
        arrangement.AddField()->Id = 42;
        try {
            arrangement.Open(name);
            ADD_FAILURE() << "opened";
            arrangement.CloseFile();
        } catch (const TQVL_Error& error) {
            EXPECT_EQ(error.Message(), QStringLiteral("Die Datei \"%1\" ist keine gültige Vorlagendatei!").arg(name));
        }
        EXPECT_FALSE(arrangement.IsOpen);
        EXPECT_EQ(arrangement.Name, QStringLiteral("vorher"));
        ASSERT_EQ(arrangement.FieldCount(), 1);
        EXPECT_EQ(arrangement.Field(0)->Id, 42);
        EXPECT_EQ(ReadFile(name), before);
    }

    const QString version2 = copy(QStringLiteral("example.qxa"), "<version>1<", "<version>2<");
    TQVL_CardArrangement arrangement;
    try {
        arrangement.Open(version2);
        ADD_FAILURE() << "opened";
        arrangement.CloseFile();
    } catch (const TQVL_Error& error) {
        EXPECT_EQ(error.Message(),
                  QStringLiteral("Fehler beim Lesen der Datei \"%1\"!\rVersion 2 wird nicht unterstützt!").arg(version2));
    }
}

TEST(CardArrangementLayout, WorkedExample)
{
    TQVL_CardArrangement arrangement;
    setTypes(arrangement, {cftColumn, cftInputField, cftInputField, cftColumn, cftInputField});
    const std::vector<Placed> expected = {
        {1, 120, 60, 162, 140, cftInputField},
        {2, 120, 200, 162, 140, cftInputField},
        {4, 318, 60, 162, 140, cftInputField},
    };
    EXPECT_EQ(layout(arrangement, 600, 400, 60, 120), expected);
}

TEST(CardArrangementLayout, Cases)
{
    struct Case
    {
        const char* what;
        std::initializer_list<TQVL_CardArrangement_FieldType> types;
        struct
        {
            int width, height, marginY, marginX;
            bool noLeftMargin;
        } area;
        std::vector<Placed> expected;
    };
    const Case cases[] = {
        {"without columns: one column of the full inner width, centred vertically",
         {cftLabelField, cftConstantLabel, cftInputField},
         {500, 300, 45, 100, false},
         // inner 300 x 210, 3 rows of 70
         {{0, 100, 45, 300, 70, cftLabelField},
          {1, 100, 115, 300, 70, cftConstantLabel},
          {2, 100, 185, 300, 70, cftInputField}}},
        {"a vertical space moves down by half a row but counts as a whole row",
         {cftInputField, cftVertSpace, cftInputField},
         {500, 300, 45, 100, false},
         {{0, 100, 45, 300, 70, cftInputField}, {2, 100, 150, 300, 70, cftInputField}}},
        {"fields above the first column span the full width; every column starts below them",
         {cftConstantLabel, cftColumn, cftLabelField, cftLabelField, cftColumn, cftLabelField, cftColumn,
          cftLabelField},
         {700, 500, 50, 100, false},
         // inner 500 x 400, gap 50, 3 rows of 133, top 250 - 199 = 51, column width (500 - 100) / 3
         {{0, 100, 51, 500, 133, cftConstantLabel},
          {2, 100, 184, 133, 133, cftLabelField},
          {3, 100, 317, 133, 133, cftLabelField},
          {5, 283, 184, 133, 133, cftLabelField},
          {7, 466, 184, 133, 133, cftLabelField}}},
        {"without left margin the block starts at the left edge; the gap rounds half to even",
         {cftColumn, cftLabelField, cftColumn, cftLabelField},
         {265, 100, 0, 0, true},
         // gap round(26.5) = 26, column width (265 - 26) / 2 = 119
         {{1, 0, 0, 119, 100, cftLabelField}, {3, 145, 0, 119, 100, cftLabelField}}},
        {"no fields: nothing to place", {}, {600, 400, 60, 120, false}, {}},
        {"only column breaks: no rows, nothing placed, no division by zero",
         {cftColumn, cftColumn},
         {600, 400, 60, 120, false},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TQVL_CardArrangement arrangement;
        setTypes(arrangement, c.types);
        EXPECT_EQ(layout(arrangement, c.area.width, c.area.height, c.area.marginY, c.area.marginX, c.area.noLeftMargin),
                  c.expected);
    }
}

TEST(CardArrangementLayout, ACardLeavesFifteenPercentAboveAndBelowAndAFifthEitherSideRoundedDown)
{
    TQVL_CardArrangement arrangement;
    setTypes(arrangement, {cftLabelField, cftColumn, cftInputField, cftColumn, cftInputField});
    const struct
    {
        int width, height;
        std::vector<TQVL_CardArrangement_Cell> expected;
    } cases[] = {
        // margins 45 and 100: inner 300 x 210, two rows of 105, gap 30, columns of 135
        {500,
         300,
         {{0, 100, 45, 300, 105, cftLabelField},
          {2, 100, 150, 135, 105, cftInputField},
          {4, 265, 150, 135, 105, cftInputField}}},
        // 15 % of 333 is 49.95 and a fifth of 503 is 100.6: both margins round down (49, 100)
        {503,
         333,
         {{0, 100, 49, 303, 117, cftLabelField},
          {2, 100, 166, 136, 117, cftInputField},
          {4, 266, 166, 136, 117, cftInputField}}},
        // 15 % of 7 is 1.05 and a fifth of 9 is 1.8: one pixel each
        {9, 7, {{0, 1, 1, 7, 2, cftLabelField}, {2, 1, 3, 3, 2, cftInputField}, {4, 5, 3, 3, 2, cftInputField}}},
        {0, 0, {{0, 0, 0, 0, 0, cftLabelField}, {2, 0, 0, 0, 0, cftInputField}, {4, 0, 0, 0, 0, cftInputField}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        EXPECT_EQ(arrangement.CardCells(c.width, c.height), c.expected);
    }
}

TEST(CardArrangementLayout, RowCountOfTheTallestColumn)
{
    TQVL_CardArrangement arrangement;
    setTypes(arrangement, {cftLabelField, cftColumn, cftVertSpace, cftColumn, cftInputField, cftInputField,
                           cftInputField, cftColumn, cftInputField});
    EXPECT_EQ(arrangement.RowCount(), 4) << "one shared row above the columns, then the tallest column's three";

    setTypes(arrangement, {cftVertSpace});
    EXPECT_EQ(arrangement.RowCount(), 1);
    const std::vector<Placed> none;
    EXPECT_EQ(layout(arrangement, 600, 400, 60, 120), none) << "a lone vertical space has nothing to show";

    arrangement.ClearFields();
    for (int i = 0; i < 300; ++i)
        arrangement.AddField();
    EXPECT_EQ(arrangement.RowCount(), 255) << "held in one byte";
    EXPECT_EQ(layout(arrangement, 600, 3000, 0, 0).size(), 300u);
}

TEST(CardArrangementLayout, WithoutReceiverNothingHappens)
{
    TQVL_CardArrangement arrangement;
    setTypes(arrangement, {cftInputField});
    ASSERT_FALSE(arrangement.OnPlaceField);
    // An empty receiver called would throw std::bad_function_call.
    EXPECT_NO_THROW(arrangement.Layout(600, 400, 60, 120, false));
    EXPECT_EQ(arrangement.Cells(600, 400, 60, 120, false).size(), 1u) << "the cells are there all the same";
}
