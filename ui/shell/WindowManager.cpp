#include "ui/shell/WindowManager.h"

#include "core/QVL_Error.h"
#include "ui/shell/FitToText.h"
#include "ui/shell/Guarded.h"

#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QVariant>

#include <algorithm>

namespace {

// The area's property that names its window manager.
constexpr char managerProperty[] = "quorvelWindowManager";

// Suspends the drawing of the main window while a screen is created, placed
// and shown, so that a switch never flickers. Nested suspensions leave the
// resuming to the outermost.
class SuspendedDrawing
{
public:
    explicit SuspendedDrawing(QWidget* widget) : window(widget ? widget->window() : nullptr)
    {
        if (window && window->updatesEnabled()) {
            window->setUpdatesEnabled(false);
            suspended = true;
        }
    }
    ~SuspendedDrawing() { Resume(); }
    SuspendedDrawing(const SuspendedDrawing&) = delete;
    SuspendedDrawing& operator=(const SuspendedDrawing&) = delete;

    void Resume()
    {
        if (suspended && window)
            window->setUpdatesEnabled(true);
        suspended = false;
    }

private:
    QPointer<QWidget> window;
    bool suspended = false;
};

} // namespace

TWindowManager::TWindowManager(QWidget* screenArea, TQVL* engine) : area(screenArea), core(engine)
{
    if (area) {
        area->installEventFilter(this);
        area->setProperty(managerProperty, QVariant::fromValue(static_cast<QObject*>(this)));
    }
}

TWindowManager::~TWindowManager()
{
    if (current && !Guarded([this] { CloseWindow(); }))
        delete current.data();
    for (const QPointer<TFormMeta>& screen : std::as_const(disposed))
        delete screen.data();
    if (area) {
        area->removeEventFilter(this);
        area->setProperty(managerProperty, QVariant());
    }
}

TWindowManager* TWindowManager::Of(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget())
        if (const QVariant manager = widget->property(managerProperty); manager.isValid())
            return qobject_cast<TWindowManager*>(manager.value<QObject*>());
    return nullptr;
}

void TWindowManager::CloseWindow()
{
    if (!current)
        return;
    TFormMeta* screen = current;
    screen->BeforeClose();
    current = nullptr;
    currentFills = false;
    dispose(screen);
}

void TWindowManager::CenterWindow()
{
    if (!current || !area)
        return;
    fitToContents();
    if (currentFills) {
        current->setGeometry(area->rect());
        return;
    }
    current->move(area->width() / 2 - current->width() / 2, area->height() / 2 - current->height() / 2);
}

TFormMeta* TWindowManager::ShowWindow(const TScreenFactory& factory)
{
    SuspendedDrawing suspended(area);
    TFormMeta* screen = create(factory, false);
    current = screen;
    currentFills = false;
    show(screen);
    return screen;
}

TFormMeta* TWindowManager::SwitchWindow(const TScreenFactory& factory, bool fill)
{
    SuspendedDrawing suspended(area);
    CloseWindow();
    TFormMeta* screen = create(factory, fill);
    current = screen;
    currentFills = fill;
    show(screen);
    return screen;
}

TFormMeta* TWindowManager::SwitchWindowAndStart(const TScreenFactory& factory, bool fill)
{
    TFormMeta* screen = SwitchWindow(factory, fill);
    screen->Start();
    return screen;
}

TFormMeta* TWindowManager::SwitchWindowPrepared(const TScreenFactory& factory, bool fill, const TPrepare& prepare,
                                                bool start)
{
    const QPointer<TFormMeta> previous = current;
    SuspendedDrawing suspended(area);
    TFormMeta* screen = create(factory, fill);
    try {
        if (prepare)
            prepare(*screen);
    } catch (...) {
        delete screen;
        throw;
    }
    current = screen;
    currentFills = fill;
    show(screen);
    suspended.Resume();

    // The previous screen has no place left once the new one is current: it
    // goes even when starting the new one or its own BeforeClose fails.
    auto closePrevious = [&] {
        if (!previous)
            return;
        try {
            previous->BeforeClose();
        } catch (...) {
            dispose(previous);
            throw;
        }
        dispose(previous);
    };
    if (start) {
        try {
            screen->Start();
        } catch (...) {
            Guarded(closePrevious);
            throw;
        }
    }
    closePrevious();
    return screen;
}

// A screen keeps its design size unless its texts need more; the main window
// grows when its screen area cannot hold the screen.
void TWindowManager::fitToContents()
{
    const QSize needed = currentFills ? current->minimumSizeHint().expandedTo(QSize(0, 0))
                                      : FitToText::Grown(*current, currentDesignSize);
    if (!currentFills && needed != current->size())
        current->resize(needed);
    const QSize lacking = (needed - area->size()).expandedTo(QSize(0, 0));
    // Not isEmpty(): a screen that lacks only width has a lacking height of 0.
    if (lacking.width() == 0 && lacking.height() == 0)
        return;
    QWidget* window = area->window();
    if (window == area || (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    window->resize(window->size() + lacking);
    // Grown past the monitor's right or bottom edge, it moves back as far as its top left corner allows.
    const QScreen* monitor = window->screen();
    if (!monitor || !window->isVisible())
        return;
    const QRect room = monitor->availableGeometry();
    const QRect frame = window->frameGeometry();
    const QPoint shift(std::max(std::min(0, room.right() - frame.right()), room.left() - frame.left()),
                       std::max(std::min(0, room.bottom() - frame.bottom()), room.top() - frame.top()));
    if (!shift.isNull())
        window->move(window->pos() + shift);
}

TFormMeta* TWindowManager::create(const TScreenFactory& factory, bool fill)
{
    if (!area)
        throw TQVL_Error(QStringLiteral("no screen area"));
    TFormMeta* screen = factory(area);
    if (!screen)
        throw TQVL_Error(QStringLiteral("no screen created"));
    if (screen->parentWidget() != area)
        screen->setParent(area);
    if (fill)
        screen->setGeometry(area->rect());
    return screen;
}

void TWindowManager::show(TFormMeta* screen)
{
    if (!currentFills)
        currentDesignSize = screen->size();
    screen->installEventFilter(this);
    CenterWindow();
    screen->show();
    screen->raise();
    CenterWindow();
}

void TWindowManager::dispose(TFormMeta* screen)
{
    screen->hide();
    // Out of the area at once, so nobody finds its controls any more; destroyed
    // later, because the switch usually runs inside one of its own handlers.
    screen->setParent(nullptr);
    screen->deleteLater();
    disposed.removeAll(QPointer<TFormMeta>());
    disposed.append(screen);
}

bool TWindowManager::eventFilter(QObject* watched, QEvent* event)
{
    // The event type is checked first: a screen being destroyed still sends
    // events here, and reading the guarded pointers then would cast a
    // half-destroyed object.
    if (event->type() == QEvent::Resize && watched == area)
        CenterWindow();
    // A screen whose texts changed may need more room than before.
    if (event->type() == QEvent::LayoutRequest && watched == current)
        QTimer::singleShot(0, this, [this] { CenterWindow(); });
    return QObject::eventFilter(watched, event);
}

TQVL& TWindowManager::requireCore(TQVL* engine)
{
    if (!engine)
        throw TQVL_Error(QStringLiteral("screen needs the core"));
    return *engine;
}
