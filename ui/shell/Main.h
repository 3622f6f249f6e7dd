#pragma once

#include "core/QVL_Notices.h"
#include "users/QVL_User_Rights.h"

#include <QList>
#include <QMainWindow>
#include <QPair>
#include <QString>

#include <memory>

class QAction;
class QLabel;
class QStackedWidget;
class TFormDataModule;
class TFrameMessage;
class TKQ_ClickMatrix;
class TMainNavigator;
class TSyncDriver;
class TQVL;
class TWindowManager;

// The program's only top-level window: the menu bar of the commands, the
// user bar, the screen area with the current screen, the unit bar with the
// special characters and the message list, and the status bar. It creates
// the application core, starts it on the first activation, follows the
// user, unit and language notifications, and shuts everything down in order.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // The main window of the program, or nullptr.
    static TMainForm* Instance();
    // The size of the area below the menu bar at start, which is also its minimum.
    static QSize ClientSize() { return {784, 604}; }
    // The icons the window and the main menu show first (name, logical size),
    // to be drawn ahead while the window is being built.
    static QList<QPair<QString, int>> FirstScreenIcons();

    TQVL& Core() const { return *core; }
    TWindowManager& WindowManager() const { return *windowManager; }
    TFormDataModule& DataModule() const { return *dataModule; }
    bool StartedUp() const { return startedUp; }

    // Replaces the selection of the focused text field with `text`, caret behind it.
    void InsertText(const QString& text);
    void ShowNoRight();
    // True when a unit is open; otherwise shows the no-unit notice.
    bool CheckUnitSelected();
    void SetFullscreen(bool on);
    // Whether the logged-in user has the right named like its file element.
    bool HasRight(TQVL_Right right) const;
    void ShowMainMenu();
    // A lesson named on the command line: opened once, after the first login.
    void OpenAfterLogin(const QString& lessonFile) { lessonAfterLogin = lessonFile; }
    // The message list at the right end of the unit bar, made with the first
    // message: most starts have none to show.
    TFrameMessage* MessageFrame();
    // Runs the sync between machines when the options switch it on.
    TSyncDriver& SyncDriver() const { return *syncDriver; }

    QLabel* Label_ActiveUser = nullptr;
    QLabel* Label_ActiveUnit = nullptr;
    QLabel* Label_Status = nullptr;
    // The sync's status in the unit bar; hidden while sync is off.
    QLabel* Label_Sync = nullptr;
    // Shown in the status bar while the logged-in profile is only read.
    QLabel* Label_ReadOnly = nullptr;
    QLabel* Image_NoUnitSelected = nullptr;
    QLabel* Image_UnitSelected = nullptr;
    QLabel* Image_LongTermStorageSelected = nullptr;
    TKQ_ClickMatrix* KQ_ClickMatrix1 = nullptr;
    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    QWidget* Panel3 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TFrameMessage* FrameMessage1 = nullptr;
    void createLayout();
    void createMenus();
    void bindActions();
    void bindCore();
    void startup();
    void shutdown();

    void showUserSelection();
    void showUnitSelection();
    void showStorageSelection();
    void userOpened();
    void userClosed();
    void unitOpened();
    void unitClosed();
    void languageOpened();
    void updateSearchDone(bool updatesFound, bool searchFailed);
    void setUnitIcon(QLabel* shown);
    void enableUnitSelection();
    void setStatus(const QString& text);
    void openLessonAfterLogin();

    std::unique_ptr<TQVL> core;
    // Outlives the window manager, whose screens ask it.
    std::unique_ptr<TMainNavigator> navigator;
    std::unique_ptr<TWindowManager> windowManager;
    std::unique_ptr<TSyncDriver> syncDriver;
    TFormDataModule* dataModule = nullptr;
    bool activated = false;
    bool startedUp = false;
    bool shutDown = false;
    bool keyPreview = false;
    TQVL_Notices::Receiver previousNotices;
    QString lessonAfterLogin;
};
