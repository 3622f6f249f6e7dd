#pragma once

#include "ui/shell/FormDialogMeta.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QThread;
class QTreeWidget;
class TQVL_Update;

// Carries the engine's notifications from the worker thread to the dialog;
// queued, and cut when the dialog is gone.
class TUpdateRelay : public QObject
{
    Q_OBJECT
signals:
    void Progress(int position, int maximum);
    void Error(const QString& text);
};

// "Nach Updates suchen": searches for updates shortly after it is shown,
// lists them, "Installieren" fetches and checks their packages, and
// "Jetzt neu starten" leads to the restart in update mode. The network work
// runs in a worker thread, so the dialog stays responsive; "Abbruch" ends that
// work, waits for its thread and releases the engine with its temporary files.
class TFormUpdates : public TFormDialogMeta
{
    Q_OBJECT
public:
    // The program and arguments that restart this program in update mode.
    struct TCommand
    {
        QString Program;
        QStringList Arguments;
    };
    // Starts a program; returns the operating system's error text, empty on success.
    using TStarter = std::function<QString(const TCommand&)>;

    TFormUpdates(const QString& programVersion, const QString& dataFolder, QWidget* parent = nullptr);
    ~TFormUpdates() override;

    // The search, as run 500 ms after the dialog is shown.
    void StartSearch();
    // "Installieren".
    void Install();
    // Whether "Jetzt neu starten" closed the dialog.
    bool RestartRequested() const { return restartRequested; }
    bool Busy() const { return busy; }
    // The dialog's engine; gone after "Jetzt neu starten". Not to be touched while Busy().
    TQVL_Update* Engine() const;

    // Restarts the program in update mode (directly when its folder is
    // writable, through pkexec otherwise) and ends this one. The caller has shut down first.
    static void RestartInUpdateMode(const QString& appDataFolder, const QString& documentsFolder);
    static TCommand RestartCommand(const QString& programFile, bool programFolderWritable,
                                   const QString& appDataFolder, const QString& documentsFolder);
    // Replaced in tests; the real one starts the program detached.
    static TStarter Starter;

    QStackedWidget* PageControl1 = nullptr;
    QTreeWidget* VST1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLabel* Label_RestartHeading = nullptr;
    QLabel* Label_RestartText = nullptr;
    QPushButton* Button_Restart = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    // Milliseconds between showing and searching.
    int SearchDelayMs = 500;

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct TWork;
    void runInBackground(std::function<void(TQVL_Update&)> job, std::function<void(const QString& error)> done);
    void searchDone(const QString& error);
    void fillList();
    void fitRowHeights();
    void showError(const QString& text);
    void restart();
    // Ends a running job and waits for its thread; its result is dropped.
    void cancelWork();

    // The engine with its relay; the worker thread holds it too, so it lives
    // until both the dialog and a running search are done with it.
    std::shared_ptr<TWork> work;
    QThread* worker = nullptr;
    bool searchScheduled = false;
    bool busy = false;
    bool restartRequested = false;
    bool found = false;
};
