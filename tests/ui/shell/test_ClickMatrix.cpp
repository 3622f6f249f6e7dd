#include "core/QVL_Error.h"
#include "tests/support/ScriptedDialogService.h"
#include "ui/shell/Icons.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/ShownText.h"

#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmapCache>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QVector<QPoint> topLefts(const QVector<QRect>& rects)
{
    QVector<QPoint> points;
    for (const QRect& rect : rects)
        points.append(rect.topLeft());
    return points;
}

std::string describe(const QVector<QPoint>& points)
{
    std::string text;
    for (const QPoint& point : points)
        text += "(" + std::to_string(point.x()) + "," + std::to_string(point.y()) + ")";
    return text;
}

// How many tiles the first row holds.
int firstRowLength(const QVector<QRect>& rects)
{
    int count = 0;
    while (count < rects.size() && rects[count].top() == rects[0].top())
        ++count;
    return count;
}

bool near(QColor actual, QColor expected, int tolerance = 2)
{
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

std::string text(QColor colour)
{
    return colour.name().toStdString();
}

} // namespace

TEST(ClickMatrixLayout, PlacesRowsAsTheMenusExpect)
{
    const TKQ_ClickMatrixPaintOptions defaults; // border 5, spacing 10
    struct Case
    {
        const char* name;
        int count, width;
        TKQ_ItemsPosition position;
        QVector<QPoint> expected;
    };
    // clang-format off
    // 100-wide tiles in a 400-wide control: three per row; a centred full row moves by (390 - 100 - 225) / 2 = 32.
    const Case cases[] = {
        {"left", 5, 400, ipLeft, {{5, 5}, {115, 5}, {225, 5}, {5, 36}, {115, 36}}},
        {"centred, last row by its own width", 7, 400, ipCentered,
         {{37, 5}, {147, 5}, {257, 5}, {37, 36}, {147, 36}, {257, 36}, {142, 67}}},
        {"block-centred, last row under the others", 7, 400, ipBlockCentered,
         {{37, 5}, {147, 5}, {257, 5}, {37, 36}, {147, 36}, {257, 36}, {37, 67}}},
        {"centred, a single open row", 2, 400, ipCentered, {{87, 5}, {197, 5}}},
        {"block-centred without a closed row falls back to the own width", 2, 400, ipBlockCentered,
         {{87, 5}, {197, 5}}},
        {"narrower than two tiles: one per row", 3, 200, ipLeft, {{5, 5}, {5, 36}, {5, 67}}},
        {"narrow and centred", 2, 200, ipCentered, {{47, 5}, {47, 36}}},
        {"too narrow for one tile: the shift rounds toward zero", 1, 100, ipCentered, {{-2, 5}}},
        {"empty", 0, 400, ipCentered, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        const QVector<QRect> rects = TKQ_ClickMatrix::Layout(c.count, c.width, 100, 21, defaults, c.position);
        EXPECT_EQ(topLefts(rects), c.expected) << c.name << ": " << describe(topLefts(rects));
        for (const QRect& rect : rects)
            EXPECT_EQ(rect.size(), QSize(100, 21)) << c.name;
    }
}

TEST(ClickMatrixLayout, UserSelectionTilesFitTheScreensHeights)
{
    // The user selection: 120 × 60 tiles, spacing 16, left-aligned, four to a row.
    TKQ_ClickMatrixPaintOptions options;
    options.Space_Horizontal = 16;
    options.Space_Vertical = 16;
    // The row test is strict: a fourth tile needs the control wider than 559, a fifth wider than 695.
    const std::pair<int, int> rowLengths[] = {{559, 3}, {560, 4}, {695, 4}, {696, 5}};
    for (const auto& [width, expected] : rowLengths)
        EXPECT_EQ(firstRowLength(TKQ_ClickMatrix::Layout(8, width, 120, 60, options, ipLeft)), expected) << width;

    // Eight tiles make two rows: 5 + 60 + 16 + 60 + 5 = 146 pixels.
    const QVector<QRect> eight = TKQ_ClickMatrix::Layout(8, 600, 120, 60, options, ipLeft);
    EXPECT_EQ(eight.last().top() + eight.last().height() + options.BorderWidth, 146);
    const QVector<QRect> nine = TKQ_ClickMatrix::Layout(9, 600, 120, 60, options, ipLeft);
    EXPECT_EQ(nine.last().topLeft(), QPoint(5, 157));
}

TEST(ClickMatrixPaintOptions, ColourValuesKeepRedInTheLowByte)
{
    using Options = TKQ_ClickMatrixPaintOptions;
    EXPECT_EQ(Options::FromColorValue(12886916), QColor(132, 163, 196));
    EXPECT_EQ(Options::FromColorValue(13480086), QColor(150, 176, 205));
    EXPECT_EQ(Options().ItemNormalBackgroundColor, QColor(0x96, 0xC5, 0xD3));
    EXPECT_EQ(Options().ItemFocusBackgroundColor, QColor(0xDA, 0xEB, 0xEF));
}

// A shown menu of three 100 × 60 tiles at (5,5), (115,5), (225,5), with an event log.
class ClickMatrixTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        matrix.resize(400, 100);
        matrix.SetItemHeight(60);
        for (const char* caption : {"Eins", "Zwei", "Drei"})
            matrix.Items().Add(QString::fromLatin1(caption));
        matrix.onFocusItem = [this](TKQ_ClickMatrixItem* item) { log << QStringLiteral("F%1").arg(index(item)); };
        matrix.onSelectItem = [this](TKQ_ClickMatrixItem* item) { log << QStringLiteral("S%1").arg(index(item)); };
        matrix.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&matrix));
    }

    int index(TKQ_ClickMatrixItem* item) const { return item ? item->Index() : -1; }
    TKQ_ClickMatrixItem* tile(int i) { return matrix.Items().Item(i); }
    QPoint centreOf(int i) { return tile(i)->Rect().center(); }
    void click(int i) { QTest::mouseClick(&matrix, Qt::LeftButton, {}, centreOf(i)); }
    void key(Qt::Key k) { QTest::keyClick(&matrix, k); }
    QImage picture() { return matrix.grab().toImage(); }
    QString events() const { return log.join(QLatin1Char(' ')); }

    TKQ_ClickMatrix matrix;
    QStringList log;
};

TEST_F(ClickMatrixTest, TilesShowTheirStateInTheirColours)
{
    matrix.SetHandleHoovering(true);
    matrix.SetFocusedItem(tile(1));
    QTest::mouseMove(&matrix, centreOf(2));
    ASSERT_EQ(matrix.HooveredItem(), tile(2));
    const QImage image = picture();
    const TKQ_ClickMatrixPaintOptions& options = matrix.PaintOptions();

    // Inside each tile (below the icon, above the caption's reach is not needed: the captions are short).
    const QPoint inside(8, 30);
    EXPECT_TRUE(near(image.pixelColor(tile(0)->Rect().topLeft() + inside), options.ItemNormalBackgroundColor));
    EXPECT_TRUE(near(image.pixelColor(tile(1)->Rect().topLeft() + inside), options.ItemFocusBackgroundColor));
    EXPECT_TRUE(near(image.pixelColor(tile(2)->Rect().topLeft() + inside), options.ItemHooverBackgroundColor));
    // The outline runs along the tile's own outermost pixels.
    const QRect first = tile(0)->Rect();
    EXPECT_TRUE(near(image.pixelColor(first.left(), first.top() + 30), options.ItemNormalBorderColor, 6))
        << text(image.pixelColor(first.left(), first.top() + 30));
    EXPECT_TRUE(near(image.pixelColor(first.left() + 50, first.bottom()), options.ItemNormalBorderColor, 6));
    // Rounded: the very corner is left to the background between the tiles.
    EXPECT_EQ(image.pixelColor(first.topLeft()), image.pixelColor(first.right() + 5, first.top() + 30));
    // Only the focused tile carries the highlight line two pixels below its top.
    EXPECT_EQ(image.pixelColor(tile(1)->Rect().left() + 10, tile(1)->Rect().top() + 2), QColor(Qt::black));
    EXPECT_TRUE(near(image.pixelColor(first.left() + 10, first.top() + 2), options.ItemNormalBackgroundColor));
    // The border frame around the control.
    EXPECT_EQ(image.pixelColor(0, 50), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(399, 99), QColor(Qt::black));
}

TEST_F(ClickMatrixTest, IconsComeFromTheTileOrTheImageListAndGreyWhenDisabled)
{
    // Drawn 32 pixels wide from the centre minus 16, ImageTop (3) below the top; the sample hits the lamp.
    auto iconSample = [this](int i) {
        const QRect r = tile(i)->Rect();
        return picture().pixelColor(r.left() + r.width() / 2 - 16 + 16, r.top() + 3 + 19);
    };
    auto isGreen = [](QColor c) { return c.green() > c.red() + 40 && c.green() > c.blue() + 40; };
    auto isGrey = [](QColor c) { return std::abs(c.red() - c.green()) < 10 && std::abs(c.green() - c.blue()) < 10; };

    tile(0)->SetIcon(Icons::Get(QStringLiteral("light-green")));
    tile(1)->SetIcon(Icons::Get(QStringLiteral("light-green")));
    tile(1)->SetEnabled(false);
    matrix.SetImageList(
        QList<QIcon>{Icons::Get(QStringLiteral("light-red")), Icons::Get(QStringLiteral("light-green"))});
    tile(2)->SetIconTyp(tiiExternal);
    tile(2)->SetIconIndex(1);

    EXPECT_TRUE(isGreen(iconSample(0))) << text(iconSample(0));
    EXPECT_TRUE(isGrey(iconSample(1))) << text(iconSample(1));
    EXPECT_TRUE(isGreen(iconSample(2))) << text(iconSample(2));

    tile(2)->SetIconIndex(7); // not in the list: no icon
    EXPECT_TRUE(near(iconSample(2), matrix.PaintOptions().ItemNormalBackgroundColor));
    tile(0)->SetIconTyp(tiiNone);
    EXPECT_TRUE(tile(0)->Icon().isNull());
    EXPECT_TRUE(near(iconSample(0), matrix.PaintOptions().ItemNormalBackgroundColor));
}

TEST_F(ClickMatrixTest, ABatchPaintsNoTilesUntilItEnds)
{
    const QPoint inside = tile(0)->Rect().topLeft() + QPoint(8, 30);
    matrix.BeginUpdate();
    matrix.Items().Add(QStringLiteral("Vier"));
    EXPECT_FALSE(near(picture().pixelColor(inside), matrix.PaintOptions().ItemNormalBackgroundColor));
    EXPECT_TRUE(tile(3)->Rect().isNull()) << "laid out only when the batch ends";
    matrix.EndUpdate();
    EXPECT_TRUE(near(picture().pixelColor(inside), matrix.PaintOptions().ItemNormalBackgroundColor));
    EXPECT_EQ(tile(3)->Rect().topLeft(), QPoint(5, 75));
}

TEST_F(ClickMatrixTest, ClickingFocusesOrChoosesByTheSelectionSettings)
{
    struct Case
    {
        bool selectWhenUnfocused, singleClick;
        const char* afterFirstClick;
        const char* afterSecondClick;
    };
    const Case cases[] = {
        {false, false, "F1", "F1"},
        {false, true, "F1", "F1 S1"},
        {true, false, "F1 S1", "F1 S1 S1"},
        {true, true, "F1 S1", "F1 S1 S1"},
    };
    for (const Case& c : cases) {
        matrix.SetFocusedItem(nullptr);
        log.clear();
        matrix.SelectItemWhenUnFocused = c.selectWhenUnfocused;
        matrix.SingleClickToSelectItem = c.singleClick;
        click(1);
        EXPECT_EQ(events(), QString::fromLatin1(c.afterFirstClick)) << c.selectWhenUnfocused << c.singleClick;
        click(1);
        EXPECT_EQ(events(), QString::fromLatin1(c.afterSecondClick)) << c.selectWhenUnfocused << c.singleClick;
    }
}

TEST_F(ClickMatrixTest, ClicksBesideTheTilesAndOnDisabledTiles)
{
    QTest::mouseClick(&matrix, Qt::LeftButton, {}, QPoint(110, 30));     // the gap between tile 0 and 1
    QTest::mouseClick(&matrix, Qt::LeftButton, {}, QPoint(5 + 100, 30)); // right edge is exclusive
    EXPECT_EQ(events(), QString());
    QTest::mouseClick(&matrix, Qt::LeftButton, {}, QPoint(5, 5)); // left and top are inclusive
    EXPECT_EQ(events(), QStringLiteral("F0"));

    tile(2)->SetEnabled(false);
    matrix.SingleClickToSelectItem = true;
    click(2);
    click(2);
    EXPECT_EQ(events(), QStringLiteral("F0 F2 S2"));
}

TEST_F(ClickMatrixTest, AClickTakesTheKeyboardFocusUnlessTheControlRefusesIt)
{
    QWidget window;
    QLineEdit edit(&window);
    TKQ_ClickMatrix menu(&window);
    menu.move(0, 40);
    menu.Items().Add(QStringLiteral("ä"));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit.setFocus();
    QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.Items().Item(0)->Rect().center());
    EXPECT_TRUE(menu.hasFocus());

    // The special-character tiles must leave the focus in the field they type into.
    edit.setFocus();
    menu.setFocusPolicy(Qt::NoFocus);
    menu.SelectItemWhenUnFocused = true;
    int chosen = 0;
    menu.onSelectItem = [&](TKQ_ClickMatrixItem*) { ++chosen; };
    QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.Items().Item(0)->Rect().center());
    EXPECT_TRUE(edit.hasFocus());
    EXPECT_EQ(chosen, 1);
}

TEST_F(ClickMatrixTest, ArrowKeysWrapAndEnterChooses)
{
    key(Qt::Key_Left);  // no focused tile: the first
    key(Qt::Key_Left);  // from the first to the last
    key(Qt::Key_Right); // from the last to the first
    key(Qt::Key_Right);
    key(Qt::Key_Up);
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    EXPECT_EQ(events(), QStringLiteral("F0 F2 F0 F1 S1"));
}

TEST_F(ClickMatrixTest, UpAndDownMoveByRowToTheNearestTileAndStopAtTheEdges)
{
    // Seven centred tiles: two full rows of three, the last one alone under the middle.
    matrix.resize(400, 250);
    matrix.SetItemsPosition(ipCentered);
    for (const char* caption : {"Vier", "Fünf", "Sechs", "Sieben"})
        matrix.Items().Add(QString::fromUtf8(caption));
    ASSERT_EQ(centreOf(6).x(), centreOf(1).x() - 5) << "the last row sits under the middle column";
    matrix.SetFocusedItem(tile(2));
    log.clear();
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Return})
        key(k);
    EXPECT_EQ(events(), QStringLiteral("F5 F6 F4 F1 S1"));

    // Without a focused tile Up and Down start at the first, as Left and Right do.
    matrix.SetFocusedItem(nullptr);
    log.clear();
    key(Qt::Key_Up);
    EXPECT_EQ(events(), QStringLiteral("F0"));
}

TEST_F(ClickMatrixTest, ArrowKeysAreClaimedOnlyWhenAskedTo)
{
    auto accepted = [this](Qt::Key k) {
        QKeyEvent event(QEvent::KeyPress, k, Qt::NoModifier);
        QCoreApplication::sendEvent(&matrix, &event);
        return event.isAccepted();
    };
    EXPECT_TRUE(accepted(Qt::Key_Up));
    EXPECT_TRUE(accepted(Qt::Key_Right));
    matrix.HandleArrowKeys = false;
    log.clear();
    EXPECT_FALSE(accepted(Qt::Key_Up));
    EXPECT_FALSE(accepted(Qt::Key_Right));
    EXPECT_EQ(events(), QString()) << "the focus stays where it was";
}

TEST_F(ClickMatrixTest, AnEmptyMenuIgnoresKeysAndForgetsItsTiles)
{
    matrix.SetHandleHoovering(true);
    QTest::mouseMove(&matrix, centreOf(0));
    matrix.SetFocusedItem(tile(2));
    log.clear();

    matrix.BeginUpdate();
    matrix.Items().Clear();
    matrix.EndUpdate();
    EXPECT_EQ(matrix.FocusedItem(), nullptr);
    EXPECT_EQ(matrix.HooveredItem(), nullptr);
    key(Qt::Key_Right);
    key(Qt::Key_Left);
    key(Qt::Key_Return);
    matrix.FocusFirstItem();
    EXPECT_EQ(events(), QString());
    EXPECT_EQ(picture().pixelColor(0, 50), QColor(Qt::black)) << "the frame is still drawn";
}

TEST_F(ClickMatrixTest, ClearingOutsideABatchLeavesNoDanglingFocus)
{
    matrix.SetFocusedItem(tile(1));
    matrix.Items().Clear();
    EXPECT_EQ(matrix.FocusedItem(), nullptr);
    matrix.Items().Add(QStringLiteral("Neu"));
    log.clear();
    key(Qt::Key_Right);
    EXPECT_EQ(events(), QStringLiteral("F0"));
}

TEST_F(ClickMatrixTest, HoveringFollowsTheMouseOnlyWhenSwitchedOn)
{
    QTest::mouseMove(&matrix, centreOf(1));
    EXPECT_EQ(matrix.HooveredItem(), nullptr);

    matrix.SetHandleHoovering(true);
    QTest::mouseMove(&matrix, centreOf(0));
    EXPECT_EQ(matrix.HooveredItem(), tile(0));
    EXPECT_EQ(matrix.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(&matrix, QPoint(110, 30));
    EXPECT_EQ(matrix.HooveredItem(), nullptr);
    EXPECT_EQ(matrix.cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(&matrix, centreOf(1));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&matrix, &leave);
    EXPECT_EQ(matrix.HooveredItem(), nullptr);
}

TEST_F(ClickMatrixTest, ErrorsOfTheHandlersReachTheErrorDisplay)
{
    ScriptedDialogService dialogs;
    matrix.onSelectItem = [](TKQ_ClickMatrixItem*) { throw TQVL_Error(QStringLiteral("Abbruch durch Benutzer!")); };
    key(Qt::Key_Right);
    key(Qt::Key_Return);
    EXPECT_EQ(dialogs.Errors, QStringList{QStringLiteral("Abbruch durch Benutzer!")});
}

TEST(Icons, EveryIconRendersAtTheSizesInUse)
{
    const QStringList names = Icons::Names();
    const QStringList needed = {
        QStringLiteral("user-1"),    QStringLiteral("user-2"),       QStringLiteral("user-3"),
        QStringLiteral("user-4"),    QStringLiteral("folder"),       QStringLiteral("unit"),
        QStringLiteral("unit-none"), QStringLiteral("storage"),      QStringLiteral("light-off"),
        QStringLiteral("light-red"), QStringLiteral("light-yellow"), QStringLiteral("light-green"),
        QStringLiteral("lock"),      QStringLiteral("message"),      QStringLiteral("close")};
    for (const QString& name : needed)
        EXPECT_TRUE(names.contains(name)) << name.toStdString();
    for (const QString& name : names) {
        for (int size : {12, 24, 48}) {
            const QImage image = Icons::Pixmap(name, size, 1.0).toImage();
            ASSERT_EQ(image.size(), QSize(size, size)) << name.toStdString();
            int opaque = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    opaque += image.pixelColor(x, y).alpha() > 128;
            EXPECT_GT(opaque, size * size / 10) << name.toStdString() << " at " << size;
        }
    }
    EXPECT_TRUE(Icons::Get(QStringLiteral("no-such-icon")).isNull());
    EXPECT_TRUE(Icons::Pixmap(QStringLiteral("no-such-icon"), 16).isNull());
}

// The first screen's icons are drawn ahead on a second thread; what it shows
// must be what drawing on demand shows, and a name that does not exist must
// not leave anyone waiting.
TEST(Icons, IconsDrawnAheadLookAsIfDrawnOnDemand)
{
    const auto draw = [](const QString& name, QIcon::Mode mode) {
        return Icons::Pixmap(name, 24, 0, mode).toImage();
    };
    QPixmapCache::clear();
    Icons::Prepare({{QStringLiteral("logo"), 24}, {QStringLiteral("no-such-icon"), 24}, {QStringLiteral("unit"), 24}});
    const QImage logo = draw(QStringLiteral("logo"), QIcon::Normal);
    const QImage greyUnit = draw(QStringLiteral("unit"), QIcon::Disabled);
    EXPECT_TRUE(Icons::Pixmap(QStringLiteral("no-such-icon"), 24).isNull());
    Icons::ForgetPrepared();
    QPixmapCache::clear();
    ASSERT_FALSE(logo.isNull());
    EXPECT_EQ(logo, draw(QStringLiteral("logo"), QIcon::Normal));
    EXPECT_EQ(greyUnit, draw(QStringLiteral("unit"), QIcon::Disabled));
    EXPECT_NE(greyUnit, draw(QStringLiteral("unit"), QIcon::Normal));
}

TEST(Icons, RenderedForTheDevicePixelRatio)
{
    const QPixmap sharp = Icons::Pixmap(QStringLiteral("folder"), 24, 2.0);
    EXPECT_EQ(sharp.size(), QSize(48, 48));
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(24, 24));
    const QPixmap fromIcon = Icons::Get(QStringLiteral("folder")).pixmap(QSize(24, 24), 2.0);
    EXPECT_EQ(fromIcon.size(), QSize(48, 48));
}

TEST_F(ClickMatrixTest, AHugeCaptionIsMeasuredAndDrawnOnlyAsFarAsShown)
{
    // A name of megabytes from a hand-edited profile: the tile looks as with its shown part.
    const QString huge(4 * 1024 * 1024, QLatin1Char('W'));
    tile(1)->SetCaption(ShownText(huge));
    const QImage capped = picture();
    tile(1)->SetCaption(huge);
    EXPECT_EQ(picture(), capped);
    EXPECT_EQ(ShownText(huge).size(), ShownTextLimit);
    EXPECT_TRUE(ShownText(huge).endsWith(QChar(0x2026)));
    EXPECT_EQ(ShownText(QStringLiteral("Eins")), QStringLiteral("Eins"));
    const QString astral = QString(ShownTextLimit - 2, QLatin1Char('a')) + QString::fromUtf8("\xF0\x9F\x98\x80") + QStringLiteral("b");
    EXPECT_EQ(ShownText(astral), QString(ShownTextLimit - 2, QLatin1Char('a')) + QChar(0x2026)) << "no half character";
}
