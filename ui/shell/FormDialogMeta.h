#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

// Base of the modal dialogs: a fixed-size window "Quorvel" centred on the main
// window, a white title strip with `Label1`, the content, and a bottom strip
// with three buttons placed from right to left: dxButton1, dxButton2, dxButton3.
// dxButton3 is the default button (Enter), Escape rejects the dialog. The fixed
// size is the design size, or more where the texts need it.
class TFormDialogMeta : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DesignWidth = 503;
    static constexpr int DesignHeight = 373;
    static constexpr int StripHeight = 41;

    // Shows a dialog modally and returns its result. Tests install a runner
    // that drives the dialog (it may call open(), click, and return result()),
    // so no test blocks in exec().
    using TModalRunner = std::function<int(QDialog& dialog)>;

    // Without a parent the dialog belongs to the main window (TDialogService::ParentWindow()).
    explicit TFormDialogMeta(QWidget* parent = nullptr);
    ~TFormDialogMeta() override;

    // Runs this dialog through RunModal.
    int ShowModal();
    // exec(), or the installed runner.
    static int RunModal(QDialog& dialog);
    // Installs `runner` (empty: exec() again) and returns the previous one.
    static TModalRunner InstallModalRunner(TModalRunner runner);

    // The area between the two strips, for the dialog's controls (no layout of its own).
    QWidget* Content() const { return content; }

    // A button that deletes something never has the focus when the dialog
    // opens: Enter or Space right away must not destroy anything.
    static void MarkDestructive(QWidget* button);
    static bool IsDestructive(const QWidget* widget);

    QLabel* Label1 = nullptr;
    QPushButton* dxButton1 = nullptr;
    QPushButton* dxButton2 = nullptr;
    QPushButton* dxButton3 = nullptr;

    void setVisible(bool visible) override;

protected:
    bool event(QEvent* event) override;

private:
    void fitToContents();

    QWidget* content = nullptr;
};
