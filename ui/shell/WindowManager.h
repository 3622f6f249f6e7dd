#pragma once

#include "ui/shell/FormMeta.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <type_traits>

class TNavigator;
class TQVL;

// Owns the one screen shown in the main window's screen area. Screens are
// named by class: the templates create `TForm(area, core)` for screens that
// take the engine that way, else `TForm(area)`; the overloads with a
// factory serve callers that pick the class at run time. There is no back stack.
//
// A closed screen is hidden and taken out of the area at once, and destroyed
// when control is back in the event loop: switches are usually asked for from
// inside a handler of the screen that is being closed.
class TWindowManager : public QObject
{
    Q_OBJECT
public:
    // Creates a screen whose parent is the area.
    using TScreenFactory = std::function<TFormMeta*(QWidget* area)>;
    // Lets the new screen take data from the screen that asks for the switch.
    using TPrepare = std::function<void(TFormMeta& screen)>;

    // `screenArea` and `core` are not owned. The area's resizes keep the
    // current screen centred (or stretched); `core` is handed to the screens
    // that take it.
    explicit TWindowManager(QWidget* screenArea, TQVL* core = nullptr);
    ~TWindowManager() override;

    QWidget* Area() const { return area; }
    // What the screens ask for when they want to go elsewhere; not owned.
    void SetNavigator(TNavigator* owner) { navigator = owner; }
    TNavigator* Navigator() const { return navigator; }
    // The window manager whose screen area holds `widget`, or nullptr.
    static TWindowManager* Of(const QWidget* widget);
    TFormMeta* CurrentWindow() const { return current; }

    // BeforeClose, then the screen goes; nothing without a current screen.
    // When BeforeClose raises, the screen stays current and the error passes on.
    void CloseWindow();
    // Centres the current screen in the area (halves rounded toward zero), or
    // stretches it over the area when it was shown to fill it.
    void CenterWindow();

    // Shows a new screen without closing the current one, which must release itself.
    TFormMeta* ShowWindow(const TScreenFactory& create);
    TFormMeta* SwitchWindow(const TScreenFactory& create, bool fill = false);
    TFormMeta* SwitchWindowAndStart(const TScreenFactory& create, bool fill = false);
    // Creates the new screen, lets `prepare` fill it, shows it, starts it when
    // `start`, and only then closes the previous screen. When `prepare`
    // raises, the new screen is dropped and the previous one stays.
    TFormMeta* SwitchWindowPrepared(const TScreenFactory& create, bool fill, const TPrepare& prepare, bool start);

    template <class TForm> TForm* ShowWindow() { return static_cast<TForm*>(ShowWindow(factory<TForm>())); }
    template <class TForm> TForm* SwitchWindow(bool fill = false)
    {
        return static_cast<TForm*>(SwitchWindow(factory<TForm>(), fill));
    }
    template <class TForm> TForm* SwitchWindowAndStart(bool fill = false)
    {
        return static_cast<TForm*>(SwitchWindowAndStart(factory<TForm>(), fill));
    }
    // `prepare(TForm&)` usually captures the asking screen to hand its data over.
    template <class TForm, class Prepare> TForm* SwitchWindowPrepared(bool fill, Prepare&& prepare, bool start)
    {
        TPrepare typed = [&prepare](TFormMeta& screen) { prepare(static_cast<TForm&>(screen)); };
        return static_cast<TForm*>(SwitchWindowPrepared(factory<TForm>(), fill, typed, start));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <class TForm> TScreenFactory factory() const
    {
        static_assert(std::is_base_of_v<TFormMeta, TForm>, "screens derive from TFormMeta");
        if constexpr (std::is_constructible_v<TForm, QWidget*, TQVL&>) {
            TQVL* engine = core;
            return [engine](QWidget* parent) -> TFormMeta* { return new TForm(parent, requireCore(engine)); };
        } else {
            return [](QWidget* parent) -> TFormMeta* { return new TForm(parent); };
        }
    }
    static TQVL& requireCore(TQVL* engine);

    TFormMeta* create(const TScreenFactory& create, bool fill);
    void show(TFormMeta* screen);
    void dispose(TFormMeta* screen);
    void fitToContents();

    QPointer<QWidget> area;
    TQVL* core = nullptr;
    TNavigator* navigator = nullptr;
    QPointer<TFormMeta> current;
    bool currentFills = false;
    QSize currentDesignSize;
    QList<QPointer<TFormMeta>> disposed;
};
