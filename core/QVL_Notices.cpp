#include "core/QVL_Notices.h"

#include <QCoreApplication>
#include <QThread>
#include <QtDebug>

namespace {

TQVL_Notices::Receiver& installed()
{
    static TQVL_Notices::Receiver receiver;
    return receiver;
}

} // namespace

void TQVL_Notices::Show(const QString& text)
{
    // A file read on a worker thread (the sync) tells the window on its own thread.
    QCoreApplication* application = QCoreApplication::instance();
    if (application && QThread::currentThread() != application->thread()) {
        QMetaObject::invokeMethod(application, [text] { Show(text); }, Qt::QueuedConnection);
        return;
    }
    if (installed())
        installed()(text);
    else
        qInfo().noquote() << text;
}

TQVL_Notices::Receiver TQVL_Notices::Install(Receiver receiver)
{
    Receiver previous = std::move(installed());
    installed() = std::move(receiver);
    return previous;
}
