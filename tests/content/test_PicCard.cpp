#include "content/QVL_Card_Container.h"
#include "content/QVL_Card_Pic.h"
#include "content/QVL_Card_Pic_ClickArea_Circle.h"
#include "content/QVL_Card_Pic_ClickArea_Polygon.h"
#include "content/QVL_Card_Pic_ClickArea_Rectangle.h"
#include "core/QVL_Error.h"
#include "core/QVL_XML.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <limits>

namespace {

std::unique_ptr<TQVL_Card_Pic_ClickArea_Circle> circle(int left, int top, int radius)
{
    auto area = std::make_unique<TQVL_Card_Pic_ClickArea_Circle>();
    area->left = left;
    area->top = top;
    area->radius = radius;
    return area;
}

std::unique_ptr<TQVL_Card_Pic_ClickArea_Rectangle> rectangle(int left, int top, int width, int height)
{
    auto area = std::make_unique<TQVL_Card_Pic_ClickArea_Rectangle>();
    area->left = left;
    area->top = top;
    area->width = width;
    area->height = height;
    return area;
}

std::unique_ptr<TQVL_Card_Pic_ClickArea_Polygon> polygon(std::initializer_list<QPoint> points)
{
    auto area = std::make_unique<TQVL_Card_Pic_ClickArea_Polygon>();
    for (const QPoint& p : points)
        area->AddPoint(p.x(), p.y());
    return area;
}

// A picture card read from the children of a "pic" element given as XML text.
std::unique_ptr<TQVL_Card_Pic> readPic(const QByteArray& children)
{
    TQVL_XML document;
    document.LoadFromBytes("<root><version>1</version><pic>" + children + "</pic></root>");
    auto card = std::make_unique<TQVL_Card_Pic>();
    card->LoadFromXML(document.Root->NeedChild(QStringLiteral("pic")));
    return card;
}

// The card written into a document, as the bytes of the "pic" element's lines.
QByteArray written(const TQVL_Card& card)
{
    TQVL_XML document;
    document.Version = 1;
    card.SaveToXML(*document.Root->AddChild(QStringLiteral("pic")));
    QByteArray bytes = document.SaveToBytes();
    return bytes.mid(bytes.indexOf("  <pic>"), bytes.indexOf("</root>") - bytes.indexOf("  <pic>"));
}

const QRgb red = qRgb(255, 0, 0);
const QRgb white = qRgb(255, 255, 255);

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(white);
    return image;
}

} // namespace

TEST(ClickArea, HitTests)
{
    struct Case
    {
        const TQVL_Card_Pic_ClickArea* area;
        int x, y;
        bool inside;
    };
    const auto c = circle(100, 100, 60);
    const auto r = rectangle(10, 10, 5, 5);
    const auto triangle = polygon({{0, 0}, {10, 0}, {0, 10}});
    const auto square = polygon({{10, 10}, {20, 10}, {20, 20}, {10, 20}});
    const auto empty = polygon({});
    const auto farRight = rectangle(std::numeric_limits<int>::max() - 1, 0, 10, 1);
    const auto farCircle = circle(std::numeric_limits<int>::min(), 0, std::numeric_limits<int>::max());
    const Case cases[] = {
        {c.get(), 160, 100, true},      {c.get(), 161, 100, false},
        {c.get(), 100, 40, true},       {c.get(), 143, 143, false},
        {c.get(), 142, 142, true},      {r.get(), 14, 14, true},
        {r.get(), 15, 10, false},       {r.get(), 10, 10, true},
        {r.get(), 10, 15, false},       {r.get(), 9, 12, false},
        {triangle.get(), 2, 2, true},   {triangle.get(), 8, 8, false},
        {triangle.get(), -1, 2, false}, {square.get(), 10, 10, true},
        {square.get(), 20, 15, false},  {square.get(), 15, 20, false},
        {empty.get(), 0, 0, false},     {farRight.get(), std::numeric_limits<int>::max(), 0, true},
        {farCircle.get(), -1, 0, true},
    };
    for (const Case& t : cases)
        EXPECT_EQ(t.area->Contains(t.x, t.y), t.inside)
            << t.area->ElementName().toStdString() << " (" << t.x << ", " << t.y << ")";
}

TEST(ClickArea, ListOperations)
{
    TQVL_Card_Pic_Clickareas areas;
    TQVL_Card_Pic_ClickArea* first = areas.AddNew(catCircle);
    TQVL_Card_Pic_ClickArea* second = areas.AddNew(catRectangle);
    TQVL_Card_Pic_ClickArea* third = areas.AddNew(catPolygon);
    EXPECT_EQ(areas.AddNew(7), nullptr);
    ASSERT_EQ(areas.Count(), 3);
    EXPECT_EQ(first->AreaType, catCircle);
    EXPECT_EQ(second->AreaType, catRectangle);
    EXPECT_EQ(third->AreaType, catPolygon);
    EXPECT_EQ(TQVL_Card_Pic_Clickareas::CreateArea(catPolygon)->ElementName(), QStringLiteral("polygon"));
    EXPECT_EQ(TQVL_Card_Pic_Clickareas::CreateByName(u"rectangle")->AreaType, catRectangle);
    EXPECT_EQ(TQVL_Card_Pic_Clickareas::CreateByName(u"Circle"), nullptr);
    EXPECT_EQ(TQVL_Card_Pic_Clickareas::CreateByName(u"triangle"), nullptr);

    areas.Delete(1);
    ASSERT_EQ(areas.Count(), 2);
    EXPECT_EQ(areas.Item(0), first);
    EXPECT_EQ(areas.Item(1), third);

    const auto stranger = circle(0, 0, 1);
    areas.Remove(stranger.get());
    EXPECT_EQ(areas.Count(), 2) << "an area not in the list removes nothing";
    areas.Remove(first);
    ASSERT_EQ(areas.Count(), 1);
    EXPECT_EQ(areas.Item(0), third);

    EXPECT_FALSE(areas.Contains(5, 5));
    areas.Add(circle(50, 50, 5));
    areas.Add(rectangle(0, 0, 10, 10));
    EXPECT_TRUE(areas.Contains(5, 5)) << "any area in the list";
    EXPECT_TRUE(areas.Contains(50, 54));
    areas.Clear();
    EXPECT_FALSE(areas.Contains(5, 5));
}

TEST(PicCard, ReadsAndWritesItsElement)
{
    auto card = readPic("<uid>7</uid><question>Wo ist die Nase?</question>"
                        "<answer><typ>1</typ><clickareas><circle><left>100</left><top>120</top><radius>30</radius>"
                        "</circle><rectangle><width>8</width></rectangle><polygon><point><x>1</x><y>2</y></point>"
                        "<pt><y>4</y><x>3</x></pt></polygon></clickareas></answer>"
                        "<picture_filename>Gesicht.png</picture_filename>");
    EXPECT_EQ(card->Uid, 7);
    EXPECT_EQ(card->answer_typ, 1);
    EXPECT_TRUE(card->picture_shadow) << "a missing picture_shadow keeps the shadow on";
    EXPECT_TRUE(card->HasExternalFile);
    ASSERT_EQ(card->clickareas->Count(), 3);
    const auto* c = dynamic_cast<TQVL_Card_Pic_ClickArea_Circle*>(card->clickareas->Item(0));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->left, 100);
    EXPECT_EQ(c->top, 120);
    EXPECT_EQ(c->radius, 30);
    const auto* r = dynamic_cast<TQVL_Card_Pic_ClickArea_Rectangle*>(card->clickareas->Item(1));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->width, 8);
    EXPECT_EQ(r->left, 0) << "missing values stay 0";
    const auto* p = dynamic_cast<TQVL_Card_Pic_ClickArea_Polygon*>(card->clickareas->Item(2));
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(p->PointCount(), 2);
    EXPECT_EQ(p->Point(1), QPoint(3, 4));

    const QByteArray expected = "  <pic>\r\n    <uid>7</uid>\r\n    <question>Wo ist die Nase?</question>\r\n"
                                "    <answer>\r\n      <typ>1</typ>\r\n      <clickareas>\r\n"
                                "        <circle>\r\n          <left>100</left>\r\n          <top>120</top>\r\n"
                                "          <radius>30</radius>\r\n        </circle>\r\n"
                                "        <rectangle>\r\n          <left>0</left>\r\n          <top>0</top>\r\n"
                                "          <width>8</width>\r\n          <height>0</height>\r\n        </rectangle>\r\n"
                                "        <polygon>\r\n          <point>\r\n            <x>1</x>\r\n"
                                "            <y>2</y>\r\n          </point>\r\n          <point>\r\n"
                                "            <x>3</x>\r\n            <y>4</y>\r\n          </point>\r\n"
                                "        </polygon>\r\n      </clickareas>\r\n    </answer>\r\n"
                                "    <picture_filename>Gesicht.png</picture_filename>\r\n  </pic>\r\n";
    EXPECT_EQ(written(*card), expected);
}

TEST(PicCard, AnswerKindsAndShadow)
{
    struct Case
    {
        QByteArray children;
        QByteArray writtenAnswer;
        bool shadow;
    };
    const Case cases[] = {
        // A click answer without areas still writes its (empty) list.
        {"<answer><typ>1</typ></answer>", "<answer>\r\n      <typ>1</typ>\r\n      <clickareas/>\r\n    </answer>",
         true},
        // A typed answer writes its text and drops areas that were read.
        {"<answer><typ>0</typ><text>tree</text><clickareas><circle/></clickareas></answer>",
         "<answer>\r\n      <typ>0</typ>\r\n      <text>tree</text>\r\n    </answer>", true},
        {"<answer><text>tree</text></answer><picture_shadow>false</picture_shadow>",
         "<answer>\r\n      <typ>0</typ>\r\n      <text>tree</text>\r\n    </answer>", false},
        // Other answer kinds write nothing more; one byte keeps the low eight bits.
        {"<answer><typ>258</typ><text>x</text></answer>", "<answer>\r\n      <typ>2</typ>\r\n    </answer>", true},
        {"<picture_shadow>TRUE</picture_shadow>", "<answer>\r\n      <typ>0</typ>\r\n      <text/>\r\n    </answer>",
         false},
        {"<picture_shadow>true</picture_shadow>", "<answer>\r\n      <typ>0</typ>\r\n      <text/>\r\n    </answer>",
         true},
    };
    for (const Case& c : cases) {
        const auto card = readPic(c.children);
        EXPECT_EQ(card->picture_shadow, c.shadow) << c.children.constData();
        const QByteArray bytes = written(*card);
        EXPECT_TRUE(bytes.contains(c.writtenAnswer)) << bytes.constData();
        EXPECT_EQ(bytes.contains("<picture_shadow>false</picture_shadow>"), !c.shadow) << bytes.constData();
        EXPECT_FALSE(card->HasExternalFile) << "no picture file named";
    }
    const auto clickWithoutAreas = readPic("<answer><typ>1</typ></answer>");
    EXPECT_FALSE(clickWithoutAreas->clickareas->Contains(0, 0));

    EXPECT_THROW(readPic("<answer><clickareas><triangle/></clickareas></answer>"), TQVL_Error);
    EXPECT_THROW(readPic("<answer><clickareas><polygon><point><y>1</y></point></polygon></clickareas></answer>"),
                 TQVL_Error);
}

TEST(ClickAreaDrawing, OutlinesInPureRedWithoutFilling)
{
    QImage image = canvas(200, 200);
    {
        TQVL_Card_Pic_Clickareas areas;
        areas.Add(circle(50, 50, 20));
        areas.Add(rectangle(100, 100, 40, 20));
        areas.Add(polygon({{10, 150}, {60, 150}, {10, 190}}));
        QPainter painter(&image);
        painter.setPen(Qt::blue);
        painter.setBrush(Qt::green);
        areas.Draw(painter, 1.0, 1.0);
    }
    const struct
    {
        int x, y;
        QRgb colour;
    } pixels[] = {
        {30, 50, red},     {70, 50, red},     {50, 30, red},     {50, 70, red},   // the circle's outline is its radius
        {50, 50, white},   {29, 50, white},   {71, 50, white},                    // transparent inside, nothing beyond
        {100, 100, red},   {139, 100, red},   {139, 119, red},   {120, 119, red}, // the rectangle's last inside pixels
        {140, 110, white}, {120, 120, white}, {120, 110, white},                  // nothing beyond, nothing inside
        {10, 170, red},    {35, 150, red},    {20, 160, white},                   // the polygon
    };
    for (const auto& p : pixels)
        EXPECT_EQ(image.pixel(p.x, p.y), p.colour) << "(" << p.x << ", " << p.y << ")";
}

TEST(ClickAreaDrawing, CoordinatesFollowTheShownSize)
{
    // A 400 x 200 picture shown at 200 x 50: scale 2 across, 4 down.
    QImage image = canvas(200, 50);
    {
        TQVL_Card_Pic_Clickareas areas;
        areas.Add(rectangle(20, 40, 100, 80));                  // shown from (10, 10) to (60, 30)
        areas.Add(polygon({{300, 20}, {380, 20}, {380, 180}})); // shown (150, 5), (190, 5), (190, 45)
        areas.Add(circle(300, 100, 4));                         // shown from (148, 24) to (152, 26)
        QPainter painter(&image);
        areas.Draw(painter, 2.0, 4.0);
    }
    EXPECT_EQ(image.pixel(10, 20), red);
    EXPECT_EQ(image.pixel(59, 20), red);
    EXPECT_EQ(image.pixel(30, 10), red);
    EXPECT_EQ(image.pixel(30, 29), red);
    EXPECT_EQ(image.pixel(30, 30), white);
    EXPECT_EQ(image.pixel(170, 5), red) << "y of a polygon is scaled by the vertical scale";
    EXPECT_EQ(image.pixel(190, 40), red);
    EXPECT_EQ(image.pixel(170, 45), white);
    EXPECT_EQ(image.pixel(148, 25), red);
    EXPECT_EQ(image.pixel(152, 25), red);
    EXPECT_EQ(image.pixel(150, 25), white);

    // Halves round to even: 5 / 2 = 2.5 gives 2, 7 / 2 = 3.5 gives 4.
    QImage rounded = canvas(20, 20);
    {
        TQVL_Card_Pic_Clickareas areas;
        areas.Add(rectangle(5, 7, 4, 6)); // shown from (2, 4) to (4, 6)
        QPainter painter(&rounded);
        areas.Draw(painter, 2.0, 2.0);
    }
    EXPECT_EQ(rounded.pixel(2, 4), red);
    EXPECT_EQ(rounded.pixel(3, 5), red);
    EXPECT_EQ(rounded.pixel(1, 4), white);
    EXPECT_EQ(rounded.pixel(2, 3), white);
}
