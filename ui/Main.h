#pragma once

#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class TQVL;

// The main window: creates the application core, binds its notifications,
// starts it on the first activation and closes everything in order at the end.
class TFormMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    TQVL& Core() const { return *core; }
    bool StartedUp() const { return startedUp; }

    QAction* Action_Exit = nullptr;
    QAction* Action_HelpContents = nullptr;
    QAction* Action_About = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void bindCore();
    void startup();
    void shutdown();
    void showUserSelectionNotice();

    std::unique_ptr<TQVL> core;
    QLabel* Label_Welcome = nullptr;
    bool activated = false;
    bool startedUp = false;
    bool shutDown = false;
};
