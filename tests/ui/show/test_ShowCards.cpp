// The card viewers: traffic lights, counts of both modes, sorting by header
// clicks, thumbnails, grammar columns and the way in from the main menu and
// from the result statistics.
#include "content/QVL_CardArrangement.h"
#include "content/QVL_Card_Grammar.h"
#include "content/QVL_Card_Pic.h"
#include "content/QVL_Card_Voc.h"
#include "content/QVL_LongTermStorage.h"
#include "content/QVL_LongTermStorages.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "query/QVL_ReviewLog.h"
#include "query/QVL_ReviewLog_Writer.h"
#include "tests/ui/query/test_QueryFixture.h"
#include "ui/print/Form_PrintVoc.h"
#include "ui/query/Form_QueryResultStatistics.h"
#include "ui/query/Form_QueryResultVoc.h"
#include "ui/query/Form_Query_Voc.h"
#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/FormMessage.h"
#include "ui/shell/Form_MainMenu.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/show/Form_ShowGrammar.h"
#include "ui/show/Form_ShowPic.h"
#include "ui/show/Form_ShowVoc.h"
#include "ui/show/ShowLauncher.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QTreeView>

#include <functional>

namespace {

using Model = TModelShowCards;

TEST(ShowRules, TrafficLightByTheShareOfRightAnswers)
{
    // (has a record, queried, right, light)
    const struct
    {
        bool record;
        qint32 queried, right;
        int light;
    } cases[] = {
        {false, 3, 3, 0},   {true, 0, 0, 0},    {true, 3, 0, 1},     {true, 3, 1, 2},     {true, 3, 2, 3},
        {true, 100, 32, 1}, {true, 100, 33, 2}, {true, 100, 65, 2},  {true, 100, 66, 3},  {true, 100, 100, 3},
        {true, 40, 13, 1},  {true, 200, 131, 3}, {true, 200, 129, 2}, {true, 3, 4, 0},    {true, 100, 101, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Model::TrafficLight(c.record, c.queried, c.right), c.light)
            << c.right << " of " << c.queried << (c.record ? "" : " without a record");
}

TEST(ShowRules, TextsCompareAsLatin1ByCharacterCode)
{
    const struct
    {
        const char16_t* a;
        const char16_t* b;
        int expected;
    } cases[] = {
        {u"a", u"b", -1},       {u"B", u"a", -1},     {u"", u"a", -1},       {u"ab", u"a", 1},
        {u"\u00e4", u"z", 1},   {u"\u0159", u"A", -1}, // ř becomes "?" (0x3F), below "A"
        {u"\u0159", u"\u015f", 0},                     // both "?"
        {u"\U0001F600x", u"?x", 0},                    // a character outside the basic plane is one "?"
        {u"abc", u"abc", 0},
    };
    for (const auto& c : cases) {
        const int result = Model::CompareAnsi(QString::fromUtf16(c.a), QString::fromUtf16(c.b));
        EXPECT_EQ((result > 0) - (result < 0), c.expected)
            << QString::fromUtf16(c.a).toStdString() << " / " << QString::fromUtf16(c.b).toStdString();
    }
}

TEST(ShowRules, StagesSortByNumberAndDueDatesByTimeWithNeverDueLast)
{
    const auto row = [](qint32 stage, double due) {
        Model::TRow made;
        made.Stage = stage;
        made.Due = TQVL_DateTime(due);
        return made;
    };
    // (a, b, kind, expected sign)
    const struct
    {
        Model::TRow a, b;
        Model::TKind kind;
        int expected;
    } cases[] = {
        {row(0, 0), row(1, 0), Model::TKind::Stage, -1},
        {row(7, 0), row(3, 0), Model::TKind::Stage, 1},
        {row(2, 45000), row(2, 1), Model::TKind::Stage, 0},
        {row(0, 45000.25), row(0, 45000.5), Model::TKind::DueDate, -1}, // the time of day counts
        {row(0, 45001), row(5, 45000), Model::TKind::DueDate, 1},
        {row(0, 45000), row(0, 45000), Model::TKind::DueDate, 0},
        {row(0, 0), row(0, 45000), Model::TKind::DueDate, 1}, // never due: after every date
        {row(0, 45000), row(0, 0), Model::TKind::DueDate, -1},
        {row(1, 0), row(2, 0), Model::TKind::DueDate, 0},
    };
    for (const auto& c : cases) {
        const int result = Model::Compare(c.a, c.b, c.kind, 12);
        EXPECT_EQ((result > 0) - (result < 0), c.expected)
            << "stages " << c.a.Stage << "/" << c.b.Stage << ", due " << c.a.Due.Serial() << "/" << c.b.Due.Serial();
    }
}

TEST(ShowRules, ThumbnailsFitTheLongerSideInto64PixelsOnWhite)
{
    QImage wide(128, 32, QImage::Format_RGB32);
    wide.fill(Qt::red);
    for (int y = 0; y < 32; ++y)
        for (int x = 64; x < 128; ++x)
            wide.setPixel(x, y, qRgb(0, 0, 255));
    const QImage thumb = TFormShowPic::MakeThumbnail(wide);
    ASSERT_EQ(thumb.size(), QSize(64, 64));
    EXPECT_EQ(thumb.pixel(10, 23), qRgb(255, 255, 255));
    EXPECT_EQ(thumb.pixel(10, 24), qRgb(255, 0, 0)) << "64 × 16, centred from y 24";
    EXPECT_EQ(thumb.pixel(10, 39), qRgb(255, 0, 0));
    EXPECT_EQ(thumb.pixel(10, 40), qRgb(255, 255, 255));
    EXPECT_EQ(thumb.pixel(31, 30), qRgb(255, 0, 0));
    EXPECT_EQ(thumb.pixel(32, 30), qRgb(0, 0, 255)) << "no smoothing at the edge of the halves";

    QImage tall(32, 128, QImage::Format_RGB32);
    tall.fill(Qt::green);
    const QImage tallThumb = TFormShowPic::MakeThumbnail(tall);
    EXPECT_EQ(tallThumb.pixel(23, 30), qRgb(255, 255, 255));
    EXPECT_EQ(tallThumb.pixel(24, 0), qRgb(0, 255, 0));
    EXPECT_EQ(tallThumb.pixel(39, 63), qRgb(0, 255, 0));
    EXPECT_EQ(tallThumb.pixel(40, 30), qRgb(255, 255, 255));

    QImage small(20, 10, QImage::Format_RGB32);
    small.fill(Qt::black);
    const QImage smallThumb = TFormShowPic::MakeThumbnail(small);
    EXPECT_EQ(smallThumb.pixel(22, 27), qRgb(0, 0, 0)) << "kept at its size, centred";
    EXPECT_EQ(smallThumb.pixel(41, 36), qRgb(0, 0, 0));
    EXPECT_EQ(smallThumb.pixel(21, 27), qRgb(255, 255, 255));
    EXPECT_EQ(smallThumb.pixel(42, 36), qRgb(255, 255, 255));
}

// The main window with the sample learner, and lessons written by the test.
class ShowTest : public QueryWindowTest
{
protected:
    QString lessons() const { return folders.Documents() + QStringLiteral("/Lektionen/"); }

    // The English storage with the cards "one" to "four" (uids 1 to 4, hints "Tip <uid>"); returns its path.
    // Card 1 has no record; 2 waits 3 days since 05.03.2024 08:00; 3 waits 30 days since 01.03. 12:00; 4 was
    // never queried at stage 1.
    QString makeStorage(QString& uid)
    {
        TQVL& core = window->Core();
        TQVL_LongTermStorage* created = core.LongTermStorages->OpenOrCreateStorage(
            folders.Documents() + QStringLiteral("/Storages"), *core.Languages->Names, QStringLiteral("ger"),
            QStringLiteral("eng"));
        const QString path = created->FileName;
        core.LongTermStorages->CloseAdditionFile(created);
        {
            TQVL_Unit storage;
            storage.Open(path);
            EXPECT_TRUE(storage.RequestWriteAccess());
            for (const char* word : {"one", "two", "three", "four"}) {
                auto* card = static_cast<TQVL_Card_Voc*>(storage.Cards->NewCard(tVoc));
                card->foreign1 = QString::fromLatin1(word);
                card->hint = QStringLiteral("Tip %1").arg(card->Uid);
            }
            storage.Save();
            uid = storage.Uid;
            storage.CloseFile();
        }
        TQVL_Result_Unit& results = Results().GetOrCreateUnit(uid);
        results.longtermstorage = true;
        const struct
        {
            qint32 uid, stage;
            TQVL_DateTime lastQuery;
        } records[] = {{2, 2, TQVL_DateTime::FromParts(2024, 3, 5, 8)},
                       {3, 4, TQVL_DateTime::FromParts(2024, 3, 1, 12)},
                       {4, 1, TQVL_DateTime()}};
        for (const auto& r : records) {
            TQVL_Result_Card& card = results.GetOrCreateCard(r.uid);
            card.stage = r.stage;
            card.lastquery = r.lastQuery;
            // As the storage's queries count them: the seeding from the stages needs answers.
            card.all_queried = card.all_right = r.lastQuery.IsEmpty() ? 0 : r.stage;
        }
        return path;
    }

    // Five vocabulary cards; the learner has records of 1, 2, 4 and 5:
    // uid  foreign1  home1    all queried/right  last  points
    //  1   b         Zebra    3/2 (67 %)         1/1   30
    //  2   a         apfel    3/1 (33 %)         2/0   10
    //  3   C         Ähre     -                  -     -
    //  4   ä         Birne    10/0               4/4   50
    //  5   d         Dattel   0/0                0/0    7
    void OpenVocLesson()
    {
        TQVL_Unit unit;
        unit.Typ = tVoc;
        unit.LangCodeHome = QStringLiteral("ger");
        unit.LangCodeForeign = QStringLiteral("eng");
        const std::pair<const char16_t*, const char16_t*> texts[] = {
            {u"b", u"Zebra"}, {u"a", u"apfel"}, {u"C", u"\u00c4hre"}, {u"\u00e4", u"Birne"}, {u"d", u"Dattel"}};
        for (const auto& [foreign, home] : texts) {
            auto* card = static_cast<TQVL_Card_Voc*>(unit.Cards->NewCard(tVoc));
            card->foreign1 = QString::fromUtf16(foreign);
            card->home1 = QString::fromUtf16(home);
            card->hint = QStringLiteral("Tip %1").arg(card->Uid);
        }
        unit.NewFile(lessons() + QStringLiteral("Viewer.qxu"));
        const QString uid = unit.Uid;
        unit.CloseFile();
        TQVL_Result_Unit& results = Results().GetOrCreateUnit(uid, lessons() + QStringLiteral("Viewer.qxu"));
        const struct
        {
            qint32 uid, allQueried, allRight, lastQueried, lastRight, points;
        } records[] = {{1, 3, 2, 1, 1, 30}, {2, 3, 1, 2, 0, 10}, {4, 10, 0, 4, 4, 50}, {5, 0, 0, 0, 0, 7}};
        for (const auto& r : records) {
            TQVL_Result_Card& card = results.GetOrCreateCard(r.uid);
            card.all_queried = r.allQueried;
            card.all_right = r.allRight;
            card.last_queried = r.lastQueried;
            card.last_right = r.lastRight;
            card.pointvalue = r.points;
        }
        OpenUnit(QStringLiteral("Viewer.qxu"));
    }
    TQVL_Result_User& Results() const { return window->Core().Users->GetActiveUser().Results(); }

    void clickTile(int index)
    {
        auto* tiles = Screen()->findChild<TKQ_ClickMatrix*>(QStringLiteral("KQ_ClickMatrix1"));
        ASSERT_NE(tiles, nullptr);
        QTest::mouseClick(tiles, Qt::LeftButton, {}, tiles->Items().Item(index)->Rect().center());
    }
    template <class TViewer> TViewer* OpenFromMenu()
    {
        window->ShowMainMenu();
        clickTile(3);
        auto* viewer = qobject_cast<TViewer*>(Screen());
        EXPECT_NE(viewer, nullptr) << (Screen() ? Screen()->objectName().toStdString() : "no screen");
        if (viewer)
            tester = std::make_unique<QAbstractItemModelTester>(viewer->Model);
        return viewer;
    }
    static void clickHeader(TFormShowMeta& viewer, int column)
    {
        QHeaderView* header = viewer.VST1->header();
        // Columns off to the right are scrolled into view first.
        if (viewer.Model->rowCount() > 0)
            viewer.VST1->scrollTo(viewer.Model->index(0, column));
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    // The hints ("Tip <uid>") of the rows, top to bottom, as uids.
    static QString order(const TFormShowMeta& viewer)
    {
        QString uids;
        for (int row = 0; row < viewer.Model->RowCount(); ++row)
            uids += viewer.Model->index(row, TFormShowVoc::colHint).data().toString().mid(4);
        return uids;
    }
    static QString cell(const TFormShowMeta& viewer, const QString& hint, int column)
    {
        for (int row = 0; row < viewer.Model->RowCount(); ++row)
            if (viewer.Model->index(row, TFormShowVoc::colHint).data().toString() == hint)
                return viewer.Model->index(row, column).data().toString();
        return QStringLiteral("<missing>");
    }
    static int light(const TFormShowMeta& viewer, const QString& hint)
    {
        for (int row = 0; row < viewer.Model->RowCount(); ++row)
            if (viewer.Model->index(row, TFormShowVoc::colHint).data().toString() == hint)
                return Model::TrafficLight(viewer.Model->Row(row));
        return -1;
    }

    std::unique_ptr<QAbstractItemModelTester> tester;
};

} // namespace

TEST_F(ShowTest, TheVocabularyViewerShowsEveryCardWithItsCountsAndLight)
{
    OpenVocLesson();
    const QByteArray profileBefore = [&] {
        QFile file(ProfilePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    auto* viewer = OpenFromMenu<TFormShowVoc>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->Caption(), QStringLiteral("Vokabeln anzeigen"));
    ASSERT_EQ(viewer->Model->RowCount(), 5);
    const QStringList headers = [&] {
        QStringList list;
        for (int c = 0; c < viewer->Model->columnCount(); ++c)
            list << viewer->Model->headerData(c, Qt::Horizontal).toString();
        return list;
    }();
    EXPECT_EQ(headers, (QStringList{QString(), "Englisch 1", "Englisch 2", "Englisch 3", "Deutsch 1", "Deutsch 2",
                                    "Deutsch 3", "Tip", "Anmerkung", "Abgefragt", "Erfolg", "Punktwert"}))
        << headers.join('|').toStdString();
    EXPECT_EQ(order(*viewer), QStringLiteral("32154")) << "sorted by the first foreign meaning";
    const struct
    {
        const char* hint;
        const char* queried;
        const char* right;
        const char* points;
        int light;
    } expected[] = {{"Tip 1", "3", "2", "30", 3}, {"Tip 2", "3", "1", "10", 2}, {"Tip 3", "", "", "", 0},
                    {"Tip 4", "10", "0", "50", 1}, {"Tip 5", "0", "0", "7", 0}};
    for (const auto& e : expected) {
        const QString hint = QString::fromLatin1(e.hint);
        EXPECT_EQ(cell(*viewer, hint, TFormShowVoc::colQueried), QString::fromLatin1(e.queried)) << e.hint;
        EXPECT_EQ(cell(*viewer, hint, TFormShowVoc::colRight), QString::fromLatin1(e.right)) << e.hint;
        EXPECT_EQ(cell(*viewer, hint, TFormShowVoc::colPointValue), QString::fromLatin1(e.points)) << e.hint;
        EXPECT_EQ(light(*viewer, hint), e.light) << e.hint;
    }
    EXPECT_TRUE(viewer->Button_Print->isEnabled());
    {
        QStringList printed;
        const TFormDialogMeta::TModalRunner previous = TFormDialogMeta::InstallModalRunner([&](QDialog& dialog) {
            if (auto* print = qobject_cast<TFormPrintVoc*>(&dialog))
                printed << QStringLiteral("%1 Seite(n)").arg(print->PageCount());
            return 0;
        });
        QTest::mouseClick(viewer->Button_Print, Qt::LeftButton);
        TFormDialogMeta::InstallModalRunner(previous);
        EXPECT_EQ(printed, QStringList{QStringLiteral("1 Seite(n)")}) << "the vocabulary print dialog for the lesson";
    }
    EXPECT_TRUE(dialogs.Informations.isEmpty());

    EXPECT_EQ(Results().FindUnit(Unit().Uid)->FindCard(3), nullptr) << "looking creates no record";
    QTest::mouseClick(viewer->Button_Back, Qt::LeftButton);
    EXPECT_TRUE(qobject_cast<TFormMainMenu*>(Screen()));
    QFile file(ProfilePath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), profileBefore) << "the viewer changes no data";
}

TEST_F(ShowTest, TheViewerGrowsTheWindowOnlyAsFarAsTheMonitorAllows)
{
    OpenVocLesson();
    window->ShowMainMenu();
    QApplication::processEvents();
    const QRect monitor = window->screen()->availableGeometry();
    const int widthBefore = window->frameGeometry().width();
    auto* viewer = OpenFromMenu<TFormShowVoc>();
    ASSERT_NE(viewer, nullptr);
    QTest::qWait(50);
    // The columns want more room than the monitor has: the list scrolls sideways instead.
    EXPECT_LE(window->frameGeometry().width(), std::max(widthBefore, monitor.width()));
    EXPECT_GT(viewer->VST1->horizontalScrollBar()->maximum(), 0);
    for (QPushButton* button : {viewer->Button_Print, viewer->Button_Help, viewer->Button_Back})
        EXPECT_TRUE(window->rect().contains(QRect(button->mapTo(window.get(), QPoint(0, 0)), button->size())))
            << button->text().toStdString() << " out of reach";
}

TEST_F(ShowTest, HeaderClicksSortEachColumnAndTurnTheDirection)
{
    OpenVocLesson();
    auto* viewer = OpenFromMenu<TFormShowVoc>();
    ASSERT_NE(viewer, nullptr);
    // Each case starts from the list sorted by column 1 ("32154"): a click
    // sorts ascending, a second click descending; equal rows keep their order.
    const struct
    {
        int column;
        const char* ascending;
        const char* descending;
    } cases[] = {
        {TFormShowVoc::colLight, "32154", "32154"},      // the light does not sort
        {TFormShowVoc::colForeign2, "32154", "32154"},   // all empty
        {TFormShowVoc::colHome1, "45123", "32154"},      // "Birne" < "Dattel" < "Zebra" < "apfel" < "Ähre"
        {TFormShowVoc::colHint, "12345", "54321"},
        {TFormShowVoc::colQueried, "35214", "42153"},    // without a record first, then 0, 3, 3, 10
        {TFormShowVoc::colRight, "35421", "12543"},
        {TFormShowVoc::colPointValue, "32154", "32154"}, // the point value does not sort
    };
    for (const auto& c : cases) {
        clickHeader(*viewer, c.column);
        EXPECT_EQ(viewer->SortColumn(), c.column);
        EXPECT_EQ(viewer->SortOrder(), Qt::AscendingOrder);
        EXPECT_EQ(order(*viewer), QString::fromLatin1(c.ascending)) << "column " << c.column;
        clickHeader(*viewer, c.column);
        EXPECT_EQ(viewer->SortOrder(), Qt::DescendingOrder);
        EXPECT_EQ(order(*viewer), QString::fromLatin1(c.descending)) << "column " << c.column << " again";
        clickHeader(*viewer, TFormShowVoc::colForeign1);
        ASSERT_EQ(order(*viewer), QStringLiteral("32154"));
        ASSERT_EQ(viewer->SortOrder(), Qt::AscendingOrder) << "another column starts ascending";
    }
    clickHeader(*viewer, TFormShowVoc::colForeign1);
    EXPECT_EQ(order(*viewer), QStringLiteral("45123"));
}

// Without a mouse: Shift+F10 (or the menu key, which the window system sends
// as a context menu request) on the list offers every titled column; the keys
// choose one, and choosing it again turns the direction, as clicks do.
TEST_F(ShowTest, TheKeyboardSortsThroughTheListsContextMenu)
{
    OpenVocLesson();
    auto* viewer = OpenFromMenu<TFormShowVoc>();
    ASSERT_NE(viewer, nullptr);
    viewer->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer->window()));
    viewer->VST1->setFocus();
    const QString hint = viewer->Model->headerData(TFormShowVoc::colHint, Qt::Horizontal).toString().trimmed();
    const auto chooseHint = [&](const std::function<void()>& openMenu) {
        openMenu();
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return false;
        EXPECT_EQ(menu->objectName(), QStringLiteral("Menu_Sort"));
        for (int step = 0; step < menu->actions().size(); ++step) {
            QTest::keyClick(menu, Qt::Key_Down);
            if (menu->activeAction() && menu->activeAction()->text().contains(hint)) {
                QTest::keyClick(menu, Qt::Key_Return);
                return true;
            }
        }
        return false;
    };
    // Through the window, where shortcuts are looked up.
    ASSERT_TRUE(chooseHint([&] { QTest::keyClick(viewer->window()->windowHandle(), Qt::Key_F10, Qt::ShiftModifier); }));
    EXPECT_EQ(viewer->SortColumn(), int(TFormShowVoc::colHint));
    EXPECT_EQ(order(*viewer), QStringLiteral("12345"));
    ASSERT_TRUE(chooseHint([&] {
        QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(5, 5), viewer->VST1->viewport()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(viewer->VST1->viewport(), &request);
    }));
    EXPECT_EQ(viewer->SortOrder(), Qt::DescendingOrder);
    EXPECT_EQ(order(*viewer), QStringLiteral("54321"));
}

TEST_F(ShowTest, LastQueryModeShowsTheLastCountsUnderItsTitle)
{
    OpenVocLesson();
    window->ShowMainMenu();
    TFormShowMeta* viewer = OpenCardViewer(*window, true, true);
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->Caption(), QStringLiteral("Einzelergebnisse der letzten Abfrage"));
    EXPECT_EQ(cell(*viewer, "Tip 1", TFormShowVoc::colQueried), QStringLiteral("1"));
    EXPECT_EQ(light(*viewer, "Tip 1"), 3);
    EXPECT_EQ(cell(*viewer, "Tip 2", TFormShowVoc::colRight), QStringLiteral("0"));
    EXPECT_EQ(light(*viewer, "Tip 2"), 1);
    EXPECT_EQ(light(*viewer, "Tip 4"), 3) << "4 of 4 in the last query";
    viewer = OpenCardViewer(*window, true, false);
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->Caption(), QStringLiteral("Einzelergebnisse der letzten gespeicherten Abfrage"));
    EXPECT_EQ(cell(*viewer, "Tip 4", TFormShowVoc::colQueried), QStringLiteral("4"));
}

TEST_F(ShowTest, AStorageShowsEachCardsStageAndDueDateAndSortsByThem)
{
    TQVL_DateTime::SetClock([] { return QDateTime(QDate(2024, 3, 10), QTime(12, 0)); });
    struct RestoreClock
    {
        ~RestoreClock() { TQVL_DateTime::SetClock({}); }
    } restoreClock;
    QString uid;
    const QString path = makeStorage(uid);
    Unit().Open(path);
    auto* viewer = OpenFromMenu<TFormShowVoc>();
    ASSERT_NE(viewer, nullptr);
    ASSERT_EQ(viewer->Model->columnCount(), int(TFormShowVoc::ColumnCount));
    EXPECT_EQ(viewer->Model->headerData(TFormShowVoc::colPointValue, Qt::Horizontal).toString(), "Punktwert")
        << "the new columns come after the others";
    EXPECT_EQ(viewer->Model->headerData(TFormShowVoc::colStage, Qt::Horizontal).toString(), "Stufe");
    EXPECT_EQ(viewer->Model->headerData(TFormShowVoc::colDue, Qt::Horizontal).toString(), QStringLiteral("Fällig am"));
    // (hint, stage, due date) as the storage's due rule has them.
    const std::tuple<const char*, const char*, const char*> expected[] = {
        {"Tip 1", "0", "10.03.2024"}, // no record: due now
        {"Tip 2", "2", "07.03.2024"}, // 2.5 days round to 2: due a second after 07.03. 20:00
        {"Tip 3", "4", "31.03.2024"},
        {"Tip 4", "1", ""}, // never queried and waiting: never due
    };
    for (const auto& [hint, stage, due] : expected) {
        EXPECT_EQ(cell(*viewer, QString::fromLatin1(hint), TFormShowVoc::colStage), QString::fromLatin1(stage)) << hint;
        EXPECT_EQ(cell(*viewer, QString::fromLatin1(hint), TFormShowVoc::colDue), QString::fromLatin1(due)) << hint;
    }
    clickHeader(*viewer, TFormShowVoc::colStage);
    EXPECT_EQ(order(*viewer), QStringLiteral("1423"));
    clickHeader(*viewer, TFormShowVoc::colStage);
    EXPECT_EQ(order(*viewer), QStringLiteral("3241"));
    clickHeader(*viewer, TFormShowVoc::colDue);
    EXPECT_EQ(order(*viewer), QStringLiteral("2134"));
    clickHeader(*viewer, TFormShowVoc::colDue);
    EXPECT_EQ(order(*viewer), QStringLiteral("4312"));
    EXPECT_EQ(Results().FindUnit(uid)->FindCard(1), nullptr) << "looking creates no record";
}

TEST_F(ShowTest, AStorageLearnedWithFSRSShowsTheDueDatesOfTheMemoryModel)
{
    TQVL_DateTime::SetClock([] { return QDateTime(QDate(2024, 3, 10), QTime(12, 0)); });
    struct RestoreClock
    {
        ~RestoreClock() { TQVL_DateTime::SetClock({}); }
    } restoreClock;
    QString uid;
    const QString path = makeStorage(uid);
    TQVL_Result_Unit& results = *Results().FindUnit(uid);
    results.learnmethod = TQVL_LearnMethod::FSRS;
    // Card 2 was learned anew on 01.03.: "Good" twice within ten minutes makes a
    // stability of 2.3 days (the published defaults), so FSRS asks it again on 03.03.
    {
        const QString device = QStringLiteral("0123456789abcdef0123456789abcdef");
        TQVL_ReviewLog_Writer writer;
        writer.Open(TQVL_ReviewLog::FileName(Results().ReviewLogProfile, device));
        TQVL_ReviewLog_Entry e;
        e.Device = device;
        e.UnitUid = uid;
        e.CardUid = 2;
        e.TimeMs = QDateTime(QDate(2024, 3, 1), QTime(10, 0), Qt::UTC).toMSecsSinceEpoch();
        writer.Append(e);
        e.StateBefore = TQVL_ReviewState::Learning;
        e.TimeMs += 600000;
        writer.Append(e);
    }
    Unit().Open(path);
    auto* viewer = OpenFromMenu<TFormShowVoc>();
    ASSERT_NE(viewer, nullptr);
    // (hint, stage, due date): the stages stay as they were, the due dates are the memory model's.
    const std::tuple<const char*, const char*, const char*> expected[] = {
        {"Tip 1", "0", "10.03.2024"}, // new: due now
        {"Tip 2", "2", "03.03.2024"}, // the stages would wait until 07.03.
        {"Tip 3", "4", "31.03.2024"}, // not in the log: starts from its stage's 30 days
        {"Tip 4", "1", "10.03.2024"}, // never answered: new, due now (the stages: never)
    };
    for (const auto& [hint, stage, due] : expected) {
        EXPECT_EQ(cell(*viewer, QString::fromLatin1(hint), TFormShowVoc::colStage), QString::fromLatin1(stage)) << hint;
        EXPECT_EQ(cell(*viewer, QString::fromLatin1(hint), TFormShowVoc::colDue), QString::fromLatin1(due)) << hint;
    }
    int due = 0;
    results.CountDueToday(due);
    EXPECT_EQ(due, 2) << "cards 2 and 4 (card 1 has no record yet), as their dates say";
}

TEST_F(ShowTest, AnEmptyLessonHasNothingToPrintAndPrintingNeedsTheRight)
{
    TQVL_Unit unit;
    unit.Typ = tVoc;
    unit.LangCodeHome = QStringLiteral("ger");
    unit.LangCodeForeign = QStringLiteral("eng");
    unit.NewFile(lessons() + QStringLiteral("Leer.qxu"));
    unit.CloseFile();
    OpenUnit(QStringLiteral("Leer.qxu"));
    auto* viewer = OpenFromMenu<TFormShowVoc>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->Model->RowCount(), 0);
    EXPECT_FALSE(viewer->Button_Print->isEnabled());

    window->ShowMainMenu();
    Unit().CloseFile();
    OpenVocLesson();
    window->Core().Users->GetActiveUser().Rights().PRINT = false;
    viewer = OpenFromMenu<TFormShowVoc>();
    ASSERT_NE(viewer, nullptr);
    QStringList shown;
    const TFormDialogMeta::TModalRunner previous = TFormDialogMeta::InstallModalRunner([&shown](QDialog& dialog) {
        shown << QString::fromLatin1(dialog.metaObject()->className());
        return 0;
    });
    QTest::mouseClick(viewer->Button_Print, Qt::LeftButton);
    TFormDialogMeta::InstallModalRunner(previous);
    EXPECT_EQ(shown, QStringList{QStringLiteral("TFormUsersNoRight")});
    EXPECT_TRUE(dialogs.Informations.isEmpty());
}

TEST_F(ShowTest, ThePictureViewerLoadsASharedPictureOnceAndListsCardsWithBrokenPictures)
{
    const QString folder = lessons() + QStringLiteral("Bildtest/");
    ASSERT_TRUE(QDir().mkpath(folder));
    QImage picture(100, 50, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(folder + QStringLiteral("gleich.png")));
    QFile broken(folder + QStringLiteral("kaputt.png"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("kein Bild");
    broken.close();

    TQVL_Unit unit;
    unit.Typ = tPic;
    unit.LangCodeHome = QStringLiteral("ger");
    unit.LangCodeForeign = QStringLiteral("eng");
    for (int i = 0; i < 10; ++i) {
        auto* card = static_cast<TQVL_Card_Pic*>(unit.Cards->NewCard(tPic));
        card->question = QStringLiteral("Frage %1").arg(i, 2, 10, QLatin1Char('0'));
        card->picture_filename = QStringLiteral("gleich.png");
        card->answer_text = QStringLiteral("Antwort %1").arg(i);
    }
    auto* click = static_cast<TQVL_Card_Pic*>(unit.Cards->NewCard(tPic));
    click->question = QStringLiteral("Frage 10");
    click->picture_filename = QStringLiteral("kaputt.png");
    click->answer_typ = 1;
    unit.NewFile(folder + QStringLiteral("Bilder.qxu"));
    unit.CloseFile();
    Unit().Open(folder + QStringLiteral("Bilder.qxu"));

    auto* viewer = OpenFromMenu<TFormShowPic>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->Caption(), QStringLiteral("Karten anzeigen"));
    EXPECT_FALSE(viewer->Button_Print->isVisibleTo(viewer));
    ASSERT_EQ(viewer->Model->RowCount(), 11) << "a broken picture does not end the list";
    EXPECT_EQ(viewer->PicturesLoaded(), 2) << "ten cards share one picture";
    EXPECT_EQ(viewer->Model->Thumbnails().size(), 1u);
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_TRUE(dialogs.Errors[0].contains(QStringLiteral("kaputt.png"))) << dialogs.Errors[0].toStdString();
    EXPECT_TRUE(viewer->Button_Back->isEnabled()) << "usable again after the filling";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor is gone";
    EXPECT_EQ(viewer->Model->RowHeight(), 74);
    // Row 0 is "Frage 00" (sorted by question), the click card is last.
    EXPECT_FALSE(viewer->Model->index(0, TFormShowPic::colPicture).data(Qt::DecorationRole).isNull());
    const QModelIndex answer = viewer->Model->index(10, TFormShowPic::colAnswer);
    EXPECT_EQ(answer.data().toString(), QStringLiteral("[Mausklick]"));
    EXPECT_EQ(answer.data(Qt::ForegroundRole).value<QColor>(), QColor(0x80, 0x80, 0x80));
    EXPECT_TRUE(viewer->Model->index(10, TFormShowPic::colPicture).data(Qt::DecorationRole).isNull());

    dialogs.Errors.clear();
    QTest::mouseClick(viewer->CheckBox_Pictures, Qt::LeftButton);
    EXPECT_FALSE(viewer->CheckBox_Pictures->isChecked());
    EXPECT_EQ(viewer->Model->RowHeight(), 18);
    EXPECT_TRUE(viewer->Model->Thumbnails().empty());
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << "no pictures, no loading";

    clickHeader(*viewer, TFormShowPic::colPicture);
    EXPECT_EQ(viewer->Model->index(0, TFormShowPic::colQuestion).data().toString(), QStringLiteral("Frage 00"));
    EXPECT_EQ(viewer->Model->index(10, TFormShowPic::colQuestion).data().toString(), QStringLiteral("Frage 10"))
        << "sorted by the picture's file name: gleich.png before kaputt.png";
    clickHeader(*viewer, TFormShowPic::colPicture);
    EXPECT_EQ(viewer->Model->index(0, TFormShowPic::colQuestion).data().toString(), QStringLiteral("Frage 10"));
}

TEST_F(ShowTest, TheGrammarViewerHasAColumnPerLabelAndInputFieldOfTheArrangement)
{
    OpenUnit(QStringLiteral("Englisch - Unregelmäßige Verben.qxu"));
    ASSERT_TRUE(window->Core().CardArrangements->GetActiveArrangement().IsOpen);
    auto* viewer = OpenFromMenu<TFormShowGrammar>();
    ASSERT_NE(viewer, nullptr);
    const TQVL_CardArrangement& arrangement = window->Core().CardArrangements->GetActiveArrangement();
    QStringList expected{QString()};
    std::vector<qint32> ids{0};
    for (int i = 0; i < arrangement.FieldCount(); ++i) {
        const TQVL_CardArrangement_Field& field = *arrangement.Field(i);
        if (field.Type == cftLabelField || field.Type == cftInputField) {
            expected << field.Caption;
            ids.push_back(field.Id);
        }
    }
    ASSERT_GT(expected.size(), 2) << "the sample arrangement has fields";
    expected << QStringLiteral("Abgefragt") << QStringLiteral("Erfolg") << QStringLiteral("Punktwert");
    QStringList headers;
    for (int c = 0; c < viewer->Model->columnCount(); ++c)
        headers << viewer->Model->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, expected);
    ASSERT_EQ(viewer->Model->RowCount(), Unit().Cards->Count());

    // Every card's values stand under their field, whatever the sort order.
    QSet<QString> shown, stored;
    for (int row = 0; row < viewer->Model->RowCount(); ++row) {
        QString line;
        for (std::size_t c = 1; c < ids.size(); ++c)
            line += viewer->Model->index(row, int(c)).data().toString() + QLatin1Char('|');
        shown << line;
    }
    for (int i = 0; i < Unit().Cards->Count(); ++i) {
        const auto* card = static_cast<const TQVL_Card_Grammar*>(Unit().Cards->Card(i));
        QString line;
        for (std::size_t c = 1; c < ids.size(); ++c)
            line += card->GetValue(ids[c]) + QLatin1Char('|');
        stored << line;
    }
    EXPECT_EQ(shown, stored);
    // Sorted by the first field column from the start: one click turns it.
    ASSERT_EQ(viewer->SortColumn(), 1);
    clickHeader(*viewer, 1);
    ASSERT_EQ(viewer->SortOrder(), Qt::DescendingOrder);
    for (int row = 1; row < viewer->Model->RowCount(); ++row)
        EXPECT_GE(Model::CompareAnsi(viewer->Model->index(row - 1, 1).data().toString(),
                                     viewer->Model->index(row, 1).data().toString()),
                  0)
            << "descending at row " << row;
}

TEST_F(ShowTest, SingleResultsOfTheResultStatisticsOpenTheViewerInLastQueryMode)
{
    OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    Query().Options->onlystoreresultswheallqueried = false;
    Pile({1, 3});
    auto* query = Start<TFormQueryVoc>();
    ASSERT_NE(query, nullptr);
    const qint32 asked = Asked()->Uid;
    TypeText(*query->TntEdit1, static_cast<const TQVL_Card_Voc*>(Asked())->home1);
    QTest::keyClick(query->TntEdit1, Qt::Key_Return);
    ASSERT_NE(query->ResultWindow(), nullptr);
    QTest::mouseClick(query->ResultWindow()->Button_Ok, Qt::LeftButton);
    QTest::mouseClick(query->Button_Abort, Qt::LeftButton);
    auto* statistics = qobject_cast<TFormQueryResultStatistics*>(Screen());
    ASSERT_NE(statistics, nullptr);
    QTest::mouseClick(statistics->Button_SingleResults, Qt::LeftButton);
    auto* viewer = qobject_cast<TFormShowVoc*>(Screen());
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->Caption(), QStringLiteral("Einzelergebnisse der letzten Abfrage"));
    EXPECT_TRUE(viewer->FLastQueryResults_Show);
    const TQVL_Card_Voc& card = *static_cast<const TQVL_Card_Voc*>(Unit().Cards->FindByUid(asked));
    for (int row = 0; row < viewer->Model->RowCount(); ++row) {
        if (viewer->Model->index(row, TFormShowVoc::colForeign1).data().toString() != card.foreign1)
            continue;
        EXPECT_EQ(viewer->Model->index(row, TFormShowVoc::colQueried).data().toString(), QStringLiteral("1"));
        EXPECT_EQ(viewer->Model->index(row, TFormShowVoc::colRight).data().toString(), QStringLiteral("1"));
        EXPECT_EQ(Model::TrafficLight(viewer->Model->Row(row)), 3);
    }
}
