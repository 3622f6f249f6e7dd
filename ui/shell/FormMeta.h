#pragma once

#include <QWidget>

class QAbstractButton;
class QLabel;
class QPushButton;
class QVBoxLayout;
class TNavigator;

// Base of every screen that the window manager embeds into the main window:
// a borderless page with a header bar (caption and sub-caption) above its
// content. Screens put their controls into Content().
class TFormMeta : public QWidget
{
    Q_OBJECT
public:
    static constexpr int DesignWidth = 587;
    static constexpr int DesignHeight = 409;
    // Menu and selection screens show a taller header with room for the sub-caption.
    static constexpr int DefaultHeaderHeight = 28;
    static constexpr int TallHeaderHeight = 60;

    explicit TFormMeta(QWidget* parent = nullptr);
    ~TFormMeta() override;

    // Called by the window manager before it destroys the screen: release data here.
    // An error raised here keeps the screen open.
    virtual void BeforeClose() {}
    // Called by the window manager after the screen is shown, when the switch asks for it.
    virtual void Start() {}
    // Ends the screen from inside one of its own handlers: it is hidden now and
    // destroyed once control is back in the event loop.
    void ReleaseLater();

    QString Caption() const;
    void SetCaption(const QString& text);
    QString SubCaption() const;
    void SetSubCaption(const QString& text);
    int HeaderHeight() const;
    void SetHeaderHeight(int height);

    // Where the screen asks to go elsewhere: the navigator of the window
    // manager that shows it, or one that goes nowhere.
    TNavigator& Navigator() const;

    // The area below the header that holds the screen's controls (no layout of its own).
    QWidget* Content() const { return content; }

    // The button that Escape presses: the screen's "Abbruch" or "Zurück".
    QAbstractButton* EscapeButton() const { return escapeButton; }
    void SetEscapeButton(QAbstractButton* button) { escapeButton = button; }
    // The button that Enter presses wherever the focused control leaves Enter
    // alone (a dialog's default button): the screen's "Start!" or "Weiter".
    void SetDefaultButton(QPushButton* button);

protected:
    // Every tile menu on the screen takes the keyboard focus and focuses its first tile;
    // a screen without one gives it to its first control. Enter presses the focused push button.
    void showEvent(QShowEvent* event) override;
    // Escape presses the escape button, Enter the default button.
    void keyPressEvent(QKeyEvent* event) override;
    // The header, the content and whatever subclasses append below it.
    QVBoxLayout* FormLayout() const { return formLayout; }

private:
    QVBoxLayout* formLayout = nullptr;
    QWidget* header = nullptr;
    QLabel* captionLabel = nullptr;
    QLabel* subCaptionLabel = nullptr;
    QWidget* content = nullptr;
    QAbstractButton* escapeButton = nullptr;
    QPushButton* defaultButton = nullptr;
};
