#pragma once

#include <QList>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>

class QObject;
class TQVL_System_Speech;

// The program's one reader-aloud, owned by the system object: the
// synthesiser with its cache of spoken files, the workers that synthesise
// away from the window's thread, and which failures the learner has been told
// of in this session. Its end cancels the workers and waits for them.
class TQVL_SpeechService
{
public:
    using Job = std::function<QString(TQVL_System_Speech& speech, const std::atomic<bool>& cancel)>;
    using Done = std::function<void(const QString& file, const QString& error)>;

    TQVL_SpeechService();
    ~TQVL_SpeechService();
    TQVL_SpeechService(const TQVL_SpeechService&) = delete;
    TQVL_SpeechService& operator=(const TQVL_SpeechService&) = delete;

    // Runs `job` on a worker thread with the synthesiser and the request's
    // cancel flag. `done` gets the job's file name, or the German error text,
    // on `context`'s thread, but only while `context` exists and the request
    // is not cancelled. Starting a request cancels the one before it: the
    // learner has moved on. Returns the new request's cancel flag.
    std::shared_ptr<std::atomic<bool>> Run(Job job, QObject* context, Done done);
    // Cancels the latest request (a recording played replaces what was being read).
    void CancelLatest();
    // Whether a worker still runs (its result may still be on its way).
    bool Busy() const;

    // Shows `text` in the message list unless this session has shown it: a
    // timed run would otherwise repeat it with every card.
    void TellOnce(const QString& text);
    // A new session (a login) hears every message again.
    void StartSession();

    TQVL_System_Speech& Speech() const { return *speech; }

private:
    struct TWorker
    {
        QPointer<QThread> Thread;
        std::shared_ptr<std::atomic<bool>> Cancel;
    };

    std::shared_ptr<TQVL_System_Speech> speech;
    QList<TWorker> workers;
    QSet<QString> told;
};
