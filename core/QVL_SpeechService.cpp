#include "core/QVL_SpeechService.h"

#include "core/QVL_Error.h"
#include "core/QVL_Notices.h"
#include "core/QVL_System_Speech.h"

TQVL_SpeechService::TQVL_SpeechService() : speech(std::make_shared<TQVL_System_Speech>()) {}

TQVL_SpeechService::~TQVL_SpeechService()
{
    // None may still be inside the synthesiser, or deliver, once the service is gone.
    for (const TWorker& worker : std::as_const(workers))
        worker.Cancel->store(true);
    for (const TWorker& worker : std::as_const(workers))
        if (worker.Thread) {
            worker.Thread->wait();
            delete worker.Thread.data();
        }
}

std::shared_ptr<std::atomic<bool>> TQVL_SpeechService::Run(Job job, QObject* context, Done done)
{
    CancelLatest();
    workers.removeIf([](const TWorker& worker) { return worker.Thread.isNull(); });
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    auto file = std::make_shared<QString>();
    auto error = std::make_shared<QString>();
    QThread* thread = QThread::create([engine = speech, job = std::move(job), cancel, file, error] {
        try {
            *file = job(*engine, *cancel);
        } catch (const TQVL_Error& failure) {
            *error = failure.Message();
        } catch (const std::exception& failure) {
            qWarning("Unexpected exception: %s", failure.what());
            *error = QStringLiteral("Der Text kann nicht vorgelesen werden.");
        }
    });
    // Queued to the context's thread, and dropped when the context is gone by then.
    QObject::connect(thread, &QThread::finished, context, [cancel, file, error, done = std::move(done)] {
        if (!cancel->load() && done)
            done(*file, *error);
    });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    workers.append({thread, cancel});
    thread->start();
    return cancel;
}

void TQVL_SpeechService::CancelLatest()
{
    if (!workers.isEmpty())
        workers.constLast().Cancel->store(true);
}

bool TQVL_SpeechService::Busy() const
{
    for (const TWorker& worker : workers)
        if (worker.Thread && !worker.Thread->isFinished())
            return true;
    return false;
}

void TQVL_SpeechService::TellOnce(const QString& text)
{
    if (told.contains(text))
        return;
    told.insert(text);
    TQVL_Notices::Show(text);
}

void TQVL_SpeechService::StartSession()
{
    told.clear();
}
