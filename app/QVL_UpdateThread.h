#pragma once

#include <QString>
#include <QThread>

#include <functional>

// The background update search. It works only on its own copies of the
// program version and data folder; its result reaches the main thread through
// a queued call bound to a context object, so nothing arrives once that
// object is gone. The thread deletes itself when its run has ended.
class TQVL_UpdateThread : public QThread
{
    Q_OBJECT
public:
    using SearchFunction = std::function<bool(const QString& programVersion, const QString& dataFolder)>;
    using DoneFunction = std::function<void(bool updatesFound, bool searchFailed)>;

    // `context` lives on the main thread; `onDone` runs there with it.
    TQVL_UpdateThread(SearchFunction search, DoneFunction onDone, QObject* context, QString programVersion,
                      QString dataFolder);

    DoneFunction OnDone;
    const QString ProgramVersion;
    const QString DataFolder;
    bool SearchFailed = false;
    bool UpdatesFound = false;

signals:
    void Done(bool updatesFound, bool searchFailed);

protected:
    void run() override;

private:
    SearchFunction search;
};
