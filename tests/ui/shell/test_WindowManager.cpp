#include "core/QVL_Error.h"
#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/FormMetaButton.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/WindowManager.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

namespace {

QStringList* screenLog = nullptr;
std::map<QString, int> screenCounters;

// A screen that writes what happens to it into the test's log, with "A1" for the first screen of class A.
class RecordingScreen : public TFormMeta
{
public:
    RecordingScreen(const QString& kind, QWidget* parent)
        : TFormMeta(parent), Name(kind + QString::number(++screenCounters[kind]))
    {
        write(QStringLiteral("Create"));
    }
    ~RecordingScreen() override { write(QStringLiteral("Destroy")); }

    void BeforeClose() override
    {
        write(QStringLiteral("BeforeClose"));
        if (FailBeforeClose)
            throw TQVL_Error(QStringLiteral("Fehler beim Speichern"));
    }
    void Start() override { write(isVisible() ? QStringLiteral("Start") : QStringLiteral("Start (hidden)")); }

    const QString Name;
    bool FailBeforeClose = false;

protected:
    // A switch must not show a half-built screen: drawing of the main window is off while it appears.
    void showEvent(QShowEvent* event) override
    {
        TFormMeta::showEvent(event);
        write(window()->updatesEnabled() ? QStringLiteral("Show (drawing on)") : QStringLiteral("Show"));
    }

    void write(const QString& what) const
    {
        if (screenLog)
            screenLog->append(what + QLatin1Char(' ') + Name);
    }
};

class ScreenA : public RecordingScreen
{
public:
    explicit ScreenA(QWidget* parent) : RecordingScreen(QStringLiteral("A"), parent) {}
};

class ScreenB : public RecordingScreen
{
public:
    explicit ScreenB(QWidget* parent) : RecordingScreen(QStringLiteral("B"), parent) {}
};

// A menu screen whose first tile switches to screen B.
class MenuScreen : public RecordingScreen
{
public:
    explicit MenuScreen(QWidget* parent) : RecordingScreen(QStringLiteral("M"), parent)
    {
        Menu = new TKQ_ClickMatrix(Content());
        Menu->setObjectName(QStringLiteral("KQ_ClickMatrix1"));
        Menu->resize(400, 100);
        Menu->SingleClickToSelectItem = true;
        Menu->Items().Add(QStringLiteral("Weiter"));
        Menu->Items().Add(QStringLiteral("Zurück"));
    }
    TKQ_ClickMatrix* Menu;
};

} // namespace

class WindowManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        screenLog = &log;
        screenCounters.clear();
        window.resize(800, 600);
        area = new QWidget(&window);
        area->setObjectName(QStringLiteral("Panel3"));
        area->setGeometry(0, 0, 700, 500);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        manager = std::make_unique<TWindowManager>(area);
    }
    void TearDown() override
    {
        manager.reset();
        screenLog = nullptr;
    }

    // Runs the destruction that the switches left to the event loop.
    static void flushReleases() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    QList<TFormMeta*> screensInArea() const { return area->findChildren<TFormMeta*>(Qt::FindDirectChildrenOnly); }
    RecordingScreen* current() const { return static_cast<RecordingScreen*>(manager->CurrentWindow()); }

    QStringList log;
    QWidget window;
    QWidget* area = nullptr;
    std::unique_ptr<TWindowManager> manager;
};

TEST_F(WindowManagerTest, SwitchingToTheSameClassGivesAFreshScreen)
{
    manager->CloseWindow(); // nothing to close
    EXPECT_TRUE(log.isEmpty());

    ScreenA* first = manager->SwitchWindow<ScreenA>();
    first->SetCaption(QStringLiteral("ungespeichert"));
    const QPointer<TFormMeta> old(first);
    ScreenA* second = manager->SwitchWindow<ScreenA>();
    EXPECT_EQ(manager->CurrentWindow(), second);
    EXPECT_EQ(second->Name, QStringLiteral("A2"));
    EXPECT_EQ(second->Caption(), QString());
    EXPECT_EQ(screensInArea(), QList<TFormMeta*>{second}) << "the old screen left the area at once";
    ASSERT_FALSE(old.isNull());
    EXPECT_FALSE(old->isVisible());
    flushReleases();
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(log, QStringList({"Create A1", "Show A1", "BeforeClose A1", "Create A2", "Show A2", "Destroy A1"}));
    EXPECT_TRUE(window.updatesEnabled());

    manager->CloseWindow();
    EXPECT_EQ(manager->CurrentWindow(), nullptr);
    EXPECT_EQ(log.mid(6), QStringList({"BeforeClose A2"}));
}

TEST_F(WindowManagerTest, StartRunsOnceTheScreenIsShown)
{
    manager->SwitchWindowAndStart<ScreenA>();
    manager->SwitchWindow<ScreenB>();
    EXPECT_EQ(log, QStringList({"Create A1", "Show A1", "Start A1", "BeforeClose A1", "Create B1", "Show B1"}));
}

TEST_F(WindowManagerTest, APreparedSwitchClosesThePreviousScreenLast)
{
    manager->SwitchWindow<ScreenA>();
    log.clear();
    ScreenB* b = manager->SwitchWindowPrepared<ScreenB>(
        false,
        [this](ScreenB& screen) {
            log << QStringLiteral("Prepare %1 from %2").arg(screen.Name, current()->Name);
            screen.SetCaption(current()->Name);
        },
        true);
    EXPECT_EQ(log, QStringList({"Create B1", "Prepare B1 from A1", "Show B1", "Start B1", "BeforeClose A1"}));
    EXPECT_EQ(manager->CurrentWindow(), b);
    EXPECT_EQ(b->Caption(), QStringLiteral("A1"));
    EXPECT_EQ(screensInArea(), QList<TFormMeta*>{b});

    log.clear();
    manager->SwitchWindowPrepared<ScreenA>(
        false, [](ScreenA&) {}, false);
    flushReleases();
    EXPECT_EQ(log, QStringList({"Create A2", "Show A2", "BeforeClose B1", "Destroy A1", "Destroy B1"}));
}

TEST_F(WindowManagerTest, AFailedPreparationKeepsThePreviousScreen)
{
    ScreenA* a = manager->SwitchWindow<ScreenA>();
    log.clear();
    EXPECT_THROW(manager->SwitchWindowPrepared<ScreenB>(
                     false, [](ScreenB&) { throw TQVL_Error(QStringLiteral("Die Lektion ist leer")); }, true),
                 TQVL_Error);
    EXPECT_EQ(log, QStringList({"Create B1", "Destroy B1"}));
    EXPECT_EQ(manager->CurrentWindow(), a);
    EXPECT_TRUE(a->isVisible());
    EXPECT_TRUE(window.updatesEnabled());
}

TEST_F(WindowManagerTest, AScreenThatCannotCloseStaysCurrent)
{
    ScreenA* a = manager->SwitchWindow<ScreenA>();
    a->FailBeforeClose = true;
    EXPECT_THROW(manager->SwitchWindow<ScreenB>(), TQVL_Error);
    EXPECT_EQ(manager->CurrentWindow(), a);
    EXPECT_TRUE(a->isVisible());
    EXPECT_FALSE(log.contains(QStringLiteral("Create B1")));
    EXPECT_TRUE(window.updatesEnabled()) << "a failed switch must not leave the window frozen";
    a->FailBeforeClose = false;
}

TEST_F(WindowManagerTest, ShowWindowLeavesTheOldScreenToReleaseItself)
{
    ScreenA* a = manager->ShowWindow<ScreenA>();
    ScreenB* b = manager->ShowWindow<ScreenB>();
    EXPECT_EQ(manager->CurrentWindow(), b);
    EXPECT_EQ(screensInArea().size(), 2);
    const QPointer<ScreenA> old(a);
    a->ReleaseLater();
    EXPECT_FALSE(old.isNull()) << "released only from the event queue";
    flushReleases();
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(log, QStringList({"Create A1", "Show A1", "Create B1", "Show B1", "Destroy A1"}));
}

TEST_F(WindowManagerTest, ScreensStayCentredOrStretchedWhenTheAreaResizes)
{
    TFormMeta* screen = manager->SwitchWindow<ScreenA>();
    EXPECT_EQ(screen->geometry(), QRect(350 - 293, 250 - 204, 587, 409));
    area->resize(501, 301); // smaller than the screen: halves round toward zero, the screen sticks out evenly
    EXPECT_EQ(screen->pos(), QPoint(250 - 293, 150 - 204));

    screen = manager->SwitchWindow<ScreenB>(true);
    EXPECT_EQ(screen->geometry(), QRect(0, 0, 501, 301));
    area->resize(640, 480);
    EXPECT_EQ(screen->geometry(), QRect(0, 0, 640, 480));
}

// A screen that needs more room than the area has.
class WideScreen : public RecordingScreen
{
public:
    explicit WideScreen(QWidget* parent) : RecordingScreen(QStringLiteral("W"), parent)
    {
        Content()->setMinimumWidth(550);
    }
};

TEST_F(WindowManagerTest, AWindowThatGrowsPastTheMonitorsEdgeMovesBackOntoIt)
{
    const QRect monitor = window.screen()->availableGeometry();
    window.resize(600, 500);
    area->setGeometry(0, 0, 500, 400);
    window.move(monitor.right() - 620, monitor.top() + 20);
    QCoreApplication::processEvents();
    manager->SwitchWindow<WideScreen>(true);
    QCoreApplication::processEvents();
    EXPECT_GT(window.width(), 600) << "grown by what the screen lacks";
    EXPECT_LT(window.width(), monitor.width());
    EXPECT_TRUE(monitor.contains(window.frameGeometry()))
        << "window at " << window.frameGeometry().x() << "," << window.frameGeometry().y() << " size "
        << window.frameGeometry().width();
}

TEST_F(WindowManagerTest, ASwitchFromATileOfTheClosingScreen)
{
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto showMenu = [this] {
        auto* menu = manager->SwitchWindow<MenuScreen>();
        menu->Menu->onSelectItem = [this](TKQ_ClickMatrixItem*) { manager->SwitchWindow<ScreenB>(); };
        return menu;
    };

    MenuScreen* menu = showMenu();
    EXPECT_EQ(menu->Menu->FocusedItem(), menu->Menu->Items().Item(0)) << "a shown screen focuses its first tile";
    EXPECT_TRUE(menu->Menu->hasFocus());
    QTest::mouseClick(menu->Menu, Qt::LeftButton, {}, menu->Menu->Items().Item(0)->Rect().center());
    EXPECT_EQ(current()->Name, QStringLiteral("B1"));
    flushReleases();

    menu = showMenu();
    QTest::keyClick(menu->Menu, Qt::Key_Return);
    EXPECT_EQ(current()->Name, QStringLiteral("B2"));
    flushReleases();
    EXPECT_TRUE(log.contains(QStringLiteral("Destroy M1")));
    EXPECT_TRUE(log.contains(QStringLiteral("Destroy M2")));
}

TEST_F(WindowManagerTest, ReleasingTheManagerClosesItsScreen)
{
    manager->SwitchWindow<ScreenA>();
    manager->SwitchWindow<ScreenB>();
    manager.reset();
    EXPECT_EQ(log.mid(5), QStringList({"BeforeClose B1", "Destroy A1", "Destroy B1"}));
    EXPECT_TRUE(screensInArea().isEmpty());
}

TEST(ScreenBases, HeaderAndButtonsOfAnEmbeddedScreen)
{
    TFormMetaButton screen;
    EXPECT_EQ(screen.size(), QSize(587, 409));
    screen.SetCaption(QStringLiteral("Langzeitspeicher"));
    screen.SetSubCaption(QStringLiteral("Während Sie mit den Lektionen ..."));
    screen.show();
    auto* subCaption = screen.findChild<QLabel*>(QStringLiteral("Label_SubCaption"));
    auto* header = screen.findChild<QWidget*>(QStringLiteral("Panel_Header"));
    ASSERT_TRUE(subCaption && header);
    EXPECT_EQ(header->height(), 28);
    EXPECT_FALSE(subCaption->isVisible()) << "a 28-pixel header has room for the caption only";
    screen.SetHeaderHeight(TFormMeta::TallHeaderHeight);
    QCoreApplication::processEvents();
    EXPECT_EQ(header->height(), 60);
    EXPECT_TRUE(subCaption->isVisible());
    for (const char* name : {"Button_Ok", "Button_Abort", "Button_Help"}) {
        auto* button = screen.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_TRUE(button) << name;
        EXPECT_TRUE(button->isVisible()) << name;
        EXPECT_GT(button->mapTo(&screen, QPoint(0, 0)).y(), screen.Content()->geometry().bottom()) << name;
    }
}

TEST(ScreenBases, DialogsPlaceTheirButtonsFromRightToLeftAndRunThroughTheModalRunner)
{
    TFormDialogMeta dialog;
    dialog.Label1->setText(QStringLiteral("Benutzerprofile verwalten"));
    int runs = 0;
    const auto previous = TFormDialogMeta::InstallModalRunner([&](QDialog& shown) {
        ++runs;
        shown.open();
        EXPECT_EQ(shown.windowTitle(), QStringLiteral("Quorvel"));
        EXPECT_EQ(shown.size(), QSize(503, 373));
        auto* title = shown.findChild<QWidget*>(QStringLiteral("Panel_Title"));
        auto* buttons = shown.findChild<QWidget*>(QStringLiteral("Panel_Buttons"));
        EXPECT_EQ(title->geometry(), QRect(0, 0, 503, 41));
        EXPECT_EQ(buttons->geometry(), QRect(0, 373 - 41, 503, 41));
        auto x = [&](const char* name) { return shown.findChild<QPushButton*>(QString::fromLatin1(name))->x(); };
        EXPECT_GT(x("dxButton1"), x("dxButton2"));
        EXPECT_GT(x("dxButton2"), x("dxButton3"));
        shown.accept();
        return shown.result();
    });
    EXPECT_EQ(dialog.ShowModal(), int(QDialog::Accepted));
    EXPECT_EQ(runs, 1);
    TFormDialogMeta::InstallModalRunner(previous);
}
