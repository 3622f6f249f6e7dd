#pragma once

#include "sync/QVL_Sync_Status.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

class QProgressDialog;
class QThread;
class QWidget;
class TQVL;

// Runs the folder sync for the logged-in profile when the options switch it
// on: at login, before a query starts, after a query stored its results, and
// when the shared folder changes (quietly for a moment). The reading and
// merging run on a worker thread; only putting the result into the profile
// runs on this one, and never while a query runs. The merge's notices go to
// the engine's notices (the message list).
class TSyncDriver : public QObject
{
    Q_OBJECT
public:
    TSyncDriver(TQVL& core, QWidget* window);
    // Waits for a run in progress: it writes files that must be whole.
    ~TSyncDriver() override;

    // Sync is on and there is a profile it may write.
    bool Active() const;
    void LoggedIn();
    void LoggedOut();
    // The options dialog may have switched sync on, off or to another folder.
    void OptionsChanged();
    // Starts a run in the background; a run already going runs once more after it.
    void Start();
    // Waits for a run in progress and, when something changed since the last
    // one, runs again, showing a progress dialog when it takes a while.
    void BringUpToDate();
    bool Running() const { return worker != nullptr; }
    // Percent of the running run.
    int Progress() const { return progress; }

    TQVL_Sync_Status Status;
    // Something the status line shows changed.
    std::function<void()> OnStatusChanged;
    // How long the shared folder must stay quiet before a change is merged.
    int QuietMs = 3000;

private:
    struct Outcome;
    void finish(QThread* thread, std::shared_ptr<Outcome> outcome);
    void watch();
    void changed(const QString& path);
    void report(const QString& error);
    void statusChanged();
    QString sharedFolder() const;
    QString deviceId() const;
    QStringList lessonFolders() const;

    TQVL& core;
    QPointer<QWidget> window;
    QFileSystemWatcher watcher;
    QTimer quiet;
    // Queued results of the worker are bound to it; they go with the driver.
    std::unique_ptr<QObject> context;
    QThread* worker = nullptr;
    std::shared_ptr<Outcome> running;
    // A change arrived since the last run started.
    bool dirty = true;
    // The last run's merge was out of date when it was done.
    bool stale = false;
    // Runs in a row that found files still being written.
    int settleRetries = 0;
    int progress = 0;
    QString lastError;
    // Notices already shown since login: a run repeats those of the runs before it.
    QSet<QString> shownNotices;
    QString watchedFolder;
};
