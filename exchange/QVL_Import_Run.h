#pragma once

#include "exchange/QVL_Import.h"
#include "exchange/QVL_Import_Outcome.h"

#include <QPointer>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// Imports a list of files on a worker thread, so that the window stays with
// the learner. Progress and the outcomes reach `context`'s thread through
// queued calls, and nothing arrives once `context` or this object is gone.
// Cancel stops the file being read (no unit is written for it) and skips the
// rest. The end of this object cancels and waits for the worker: a unit
// being written is completed by the safe save, never left half-written.
class TQVL_Import_Run
{
public:
    // The whole run's progress in thousandths.
    using Progress = std::function<void(int thousandths)>;
    using Finished = std::function<void(const std::vector<TQVL_Import_Outcome>& outcomes)>;

    TQVL_Import_Run(TQVL_Import import, QStringList files, QObject* context, Progress onProgress, Finished onFinished);
    ~TQVL_Import_Run();
    TQVL_Import_Run(const TQVL_Import_Run&) = delete;
    TQVL_Import_Run& operator=(const TQVL_Import_Run&) = delete;

    void Start();
    // Asks the worker to stop; the outcomes still arrive, naming what was cancelled.
    void Cancel();
    bool IsRunning() const;

    // Runs on the worker at each report of the reader, once the progress is
    // on its way and before the cancel flag is looked at; tests hold the
    // import at a known place with it.
    using WorkerReport = std::function<void(const std::atomic<bool>& cancelled)>;
    WorkerReport OnWorkerReport;

private:
    struct TState;
    std::shared_ptr<TState> state;
    QPointer<QThread> worker;
};
