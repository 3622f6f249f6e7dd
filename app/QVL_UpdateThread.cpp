#include "app/QVL_UpdateThread.h"

TQVL_UpdateThread::TQVL_UpdateThread(SearchFunction searchFunction, DoneFunction onDone, QObject* context,
                                     QString programVersion, QString dataFolder)
    : OnDone(std::move(onDone)), ProgramVersion(std::move(programVersion)), DataFolder(std::move(dataFolder)),
      search(std::move(searchFunction))
{
    connect(this, &TQVL_UpdateThread::Done, context,
            [done = OnDone](bool found, bool failed) {
                if (done)
                    done(found, failed);
            },
            Qt::QueuedConnection);
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void TQVL_UpdateThread::run()
{
    UpdatesFound = false;
    SearchFailed = false;
    try {
        UpdatesFound = search ? search(ProgramVersion, DataFolder) : false;
    } catch (...) {
        // A failed search never reaches the learner as an exception.
        UpdatesFound = false;
        SearchFailed = true;
    }
    emit Done(UpdatesFound, SearchFailed);
}
