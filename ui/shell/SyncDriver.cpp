#include "ui/shell/SyncDriver.h"

#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "core/QVL_Notices.h"
#include "sync/QVL_Sync_Folder.h"
#include "users/QVL_Options.h"
#include "users/QVL_User.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>
#include <QThread>
#include <QWidget>

#include <algorithm>

struct TSyncDriver::Outcome
{
    TQVL_Sync_Folder Sync;
    std::unique_ptr<TQVL_User> Profile;
    QStringList LessonFolders;
    TQVL_Sync_Folder::Merge Merge;
    QString Error;
};

namespace {

// A little longer than the engine waits for a file to settle.
constexpr int settleMs = 2500;

// The lessons that take part: every lesson below the units folder and the
// long-term storages, but not the storages' backup copies.
QStringList lessonsIn(const QStringList& folders)
{
    QStringList lessons;
    for (const QString& folder : folders) {
        QDirIterator files(folder, {QStringLiteral("*.qxu")}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = files.next();
            if (!file.contains(QLatin1String("/Backups/")))
                lessons << file;
        }
    }
    lessons.sort();
    lessons.removeDuplicates();
    return lessons;
}

} // namespace

TSyncDriver::TSyncDriver(TQVL& owner, QWidget* shownOver)
    : core(owner), window(shownOver), context(std::make_unique<QObject>())
{
    quiet.setSingleShot(true);
    connect(&quiet, &QTimer::timeout, this, &TSyncDriver::Start);
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, &TSyncDriver::changed);
    connect(&watcher, &QFileSystemWatcher::fileChanged, this, &TSyncDriver::changed);
    core.Query->OnStarting = [this] { BringUpToDate(); };
    core.Query->OnResultsStored = [this] {
        dirty = true;
        // After the window has shown the query's end.
        QTimer::singleShot(0, this, &TSyncDriver::Start);
    };
}

TSyncDriver::~TSyncDriver()
{
    core.Query->OnStarting = nullptr;
    core.Query->OnResultsStored = nullptr;
    if (worker)
        worker->wait();
    context.reset();
}

QString TSyncDriver::sharedFolder() const
{
    return core.Options && core.Options->IsOpen ? core.Options->SharedSyncFolder() : QString();
}

QString TSyncDriver::deviceId() const
{
    return core.Query->DeviceId ? core.Query->DeviceId() : QString();
}

bool TSyncDriver::Active() const
{
    if (sharedFolder().isEmpty() || !core.Users->HasActiveUser())
        return false;
    const TQVL_User& user = core.Users->GetActiveUser();
    return user.IsLoggedIn() && !user.IsReadOnlySession() && !user.FileName.isEmpty();
}

QStringList TSyncDriver::lessonFolders() const
{
    const QString own = core.Users->HasActiveUser() ? core.Users->GetActiveUser().units_directory : QString();
    return {core.Options->UnitsFolder(core.System->DocumentsFolder, own), core.StoragesFolder()};
}

void TSyncDriver::LoggedIn()
{
    lastError.clear();
    shownNotices.clear();
    Status = {};
    dirty = true;
    watch();
    Start();
    statusChanged();
}

void TSyncDriver::LoggedOut()
{
    watch();
    Status = {};
    statusChanged();
}

void TSyncDriver::OptionsChanged()
{
    lastError.clear();
    Status = {};
    dirty = true;
    watch();
    Start();
    statusChanged();
}

// The other devices' folders of the profile, where the sync client puts what they publish.
void TSyncDriver::watch()
{
    if (!watcher.directories().isEmpty())
        watcher.removePaths(watcher.directories());
    if (!watcher.files().isEmpty())
        watcher.removePaths(watcher.files());
    if (!Active())
        return;
    const QString profile = QFileInfo(core.Users->GetActiveUser().FileName).completeBaseName();
    const QString folder = sharedFolder() + QLatin1Char('/') + profile;
    const QString own = deviceId();
    QStringList paths{sharedFolder()};
    if (QFileInfo(folder).isDir())
        paths << folder;
    for (const QString& device : QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (device != own)
            paths << folder + QLatin1Char('/') + device << folder + QLatin1Char('/') + device + QStringLiteral("/lessons");
    for (const QString& path : std::as_const(paths))
        if (QFileInfo(path).isDir())
            watcher.addPath(path);
}

void TSyncDriver::changed(const QString&)
{
    dirty = true;
    // A sync client writes a file in several steps: merged once it is quiet.
    quiet.start(QuietMs);
}

void TSyncDriver::Start()
{
    if (!Active())
        return;
    // Never while a query runs: it is merged after the query stored its results.
    if (worker || core.Query->IsRunning()) {
        dirty = true;
        return;
    }
    const QString device = deviceId();
    if (device.isEmpty())
        return;
    TQVL_User& user = core.Users->GetActiveUser();
    auto outcome = std::make_shared<Outcome>();
    outcome->Sync.SharedFolder = sharedFolder();
    outcome->Sync.DeviceId = device;
    outcome->Profile = TQVL_Sync_Folder::Detach(user);
    outcome->LessonFolders = lessonFolders();
    QObject* receiver = context.get();
    outcome->Sync.OnProgress = [this, receiver](int percent) {
        QMetaObject::invokeMethod(
            receiver,
            [this, percent] {
                progress = percent;
                statusChanged();
            },
            Qt::QueuedConnection);
    };
    dirty = false;
    progress = 0;
    Status.Running = true;
    // The worker touches nothing but `outcome`: the profile it reads is a copy.
    QThread* thread = QThread::create([outcome] {
        try {
            outcome->Sync.Lessons = lessonsIn(outcome->LessonFolders);
            outcome->Merge = outcome->Sync.Prepare(*outcome->Profile);
        } catch (const TQVL_Error& error) {
            outcome->Error = error.Message();
        } catch (const std::exception& error) {
            outcome->Error = QString::fromLocal8Bit(error.what());
        }
    });
    worker = thread;
    running = outcome;
    connect(thread, &QThread::finished, context.get(), [this, thread, outcome] { finish(thread, outcome); });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start(QThread::LowPriority);
    statusChanged();
}

void TSyncDriver::finish(QThread* thread, std::shared_ptr<Outcome> outcome)
{
    // Already finished by BringUpToDate.
    if (worker != thread)
        return;
    worker = nullptr;
    running.reset();
    Status.Running = false;
    stale = false;
    bool failed = !outcome->Error.isEmpty();
    if (failed) {
        report(outcome->Error);
    } else if (!Active() || core.Query->IsRunning()) {
        dirty = true;
    } else {
        bool applied = false;
        try {
            applied = outcome->Sync.Apply(core.Users->GetActiveUser(), outcome->Merge);
        } catch (const TQVL_Error& error) {
            failed = true;
            report(error.Message());
        }
        if (applied) {
            Status.Offline = false;
            Status.LastSyncMs = QDateTime::currentMSecsSinceEpoch();
            lastError.clear();
            for (const QString& notice : std::as_const(outcome->Merge.Result.Notices))
                if (!shownNotices.contains(notice)) {
                    shownNotices.insert(notice);
                    TQVL_Notices::Show(notice);
                }
            // Files the sync client was still writing are taken once they have settled.
            // A file that never settles (unreadable) is left to the next change.
            settleRetries = outcome->Merge.Result.Waiting > 0 ? settleRetries + 1 : 0;
            if (settleRetries > 0 && settleRetries <= 5) {
                dirty = true;
                quiet.start(std::max(QuietMs, settleMs));
            }
        } else if (!failed) {
            // The profile changed while the worker merged: merged again from the new state.
            dirty = true;
            stale = true;
        }
    }
    // New devices may have appeared.
    watch();
    if (dirty && Active() && !core.Query->IsRunning() && !quiet.isActive())
        quiet.start(QuietMs);
    statusChanged();
}

void TSyncDriver::report(const QString& error)
{
    Status.Offline = true;
    // Once per cause: the watcher would repeat it at every change.
    if (error != lastError)
        TQVL_Notices::Show(QStringLiteral("Synchronisation fehlgeschlagen: ") + error);
    lastError = error;
}

void TSyncDriver::BringUpToDate()
{
    if (!Active())
        return;
    // The watcher may have missed a change (a folder on the network): a while after the last run, runs anyway.
    if (!worker && !dirty && QDateTime::currentMSecsSinceEpoch() - Status.LastSyncMs < 5 * 60000)
        return;
    if (!worker)
        Start();
    QProgressDialog* dialog = nullptr;
    QElapsedTimer waited;
    waited.start();
    int runs = 1;
    // Nothing the learner does reaches the program until the results are merged; the window still paints.
    while (worker) {
        QThread* thread = worker;
        if (thread->wait(30)) {
            finish(thread, running);
            // Out of date (the profile changed meanwhile): once more.
            if (stale && !worker && runs++ < 3)
                Start();
            continue;
        }
        if (!dialog && waited.elapsed() > 400 && window) {
            dialog = new QProgressDialog(QStringLiteral("Die Ergebnisse der anderen Rechner werden übernommen …"),
                                         QString(), 0, 100, window);
            dialog->setObjectName(QStringLiteral("SyncProgress"));
            dialog->setWindowTitle(QStringLiteral("Synchronisation"));
            dialog->setWindowModality(Qt::WindowModal);
            dialog->setMinimumDuration(0);
            dialog->show();
        }
        if (dialog)
            dialog->setValue(progress);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    delete dialog;
}

void TSyncDriver::statusChanged()
{
    if (OnStatusChanged)
        OnStatusChanged();
}
