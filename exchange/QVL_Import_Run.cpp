#include "exchange/QVL_Import_Run.h"

#include <QMetaObject>

#include <atomic>
#include <utility>

// Shared by the run and its worker: whichever ends last releases it.
struct TQVL_Import_Run::TState
{
    TQVL_Import Import;
    QStringList Files;
    QPointer<QObject> Context;
    // Lives on the context's thread; the worker's progress is queued to it,
    // which looks at the context there.
    std::unique_ptr<QObject> Relay = std::make_unique<QObject>();
    Progress OnProgress;
    Finished OnFinished;
    WorkerReport OnWorkerReport;
    std::vector<TQVL_Import_Outcome> Outcomes;
    std::atomic<bool> Cancelled = false;
    // Set when the run is gone: a delivery still queued is dropped.
    std::atomic<bool> Detached = false;
    std::atomic<int> Shown = 0;
    // One progress call queued at a time; it shows the latest figure.
    std::atomic<bool> ProgressQueued = false;

    void report(int thousandths, const std::shared_ptr<TState>& self)
    {
        Shown = thousandths;
        if (ProgressQueued.exchange(true))
            return;
        QMetaObject::invokeMethod(
            Relay.get(),
            [weak = std::weak_ptr<TState>(self)] {
                const std::shared_ptr<TState> shared = weak.lock();
                if (!shared)
                    return;
                shared->ProgressQueued = false;
                if (!shared->Detached && shared->Context && shared->OnProgress)
                    shared->OnProgress(shared->Shown.load());
            },
            Qt::QueuedConnection);
    }

    void run(const std::shared_ptr<TState>& self)
    {
        const qsizetype count = Files.size();
        qsizetype current = 0;
        Import.OnProgress = [this, &self, &current, count](qint64 done, qint64 total) {
            const double part = total > 0 ? double(done) / double(total) : 1.0;
            report(int(1000.0 * (double(current) + part) / double(count)), self);
            if (OnWorkerReport)
                OnWorkerReport(Cancelled);
            return !Cancelled.load();
        };
        for (current = 0; current < count; ++current) {
            TQVL_Import_Outcome outcome;
            outcome.File = Files[current];
            if (Cancelled) {
                outcome.Error = QStringLiteral("Nicht importiert (abgebrochen).");
            } else {
                try {
                    outcome.Unit = Import.ImportFile(outcome.File, &outcome.Cards);
                } catch (const TQVL_Import_Cancelled&) {
                    outcome.Error = QStringLiteral("Abgebrochen. Es wurde keine Lektion angelegt.");
                } catch (const TQVL_Error& error) {
                    outcome.Error = error.Message();
                } catch (const std::exception& error) {
                    qWarning("Unexpected exception: %s", error.what());
                    outcome.Error = UnexpectedErrorText;
                }
            }
            Outcomes.push_back(outcome);
            report(int(1000 * (current + 1) / count), self);
        }
    }
};

TQVL_Import_Run::TQVL_Import_Run(TQVL_Import import, QStringList files, QObject* context, Progress onProgress,
                                 Finished onFinished)
    : state(std::make_shared<TState>())
{
    state->Import = std::move(import);
    state->Files = std::move(files);
    state->Context = context;
    state->OnProgress = std::move(onProgress);
    state->OnFinished = std::move(onFinished);
}

TQVL_Import_Run::~TQVL_Import_Run()
{
    state->Detached = true;
    Cancel();
    if (worker)
        worker->wait();
}

void TQVL_Import_Run::Start()
{
    if (worker)
        return;
    state->OnWorkerReport = OnWorkerReport;
    QThread* thread = QThread::create([shared = state] { shared->run(shared); });
    worker = thread;
    // Queued to the context's thread, and dropped when the context is gone by then.
    QObject::connect(thread, &QThread::finished, state->Context.data(), [shared = state] {
        if (!shared->Detached && shared->OnFinished)
            shared->OnFinished(shared->Outcomes);
    });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void TQVL_Import_Run::Cancel()
{
    state->Cancelled = true;
}

bool TQVL_Import_Run::IsRunning() const
{
    return worker && !worker->isFinished();
}
