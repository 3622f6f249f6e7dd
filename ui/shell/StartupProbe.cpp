#include "ui/shell/StartupProbe.h"

#include "ui/shell/FormMeta.h"

#include <QApplication>
#include <QEvent>

#include <chrono>
#include <cstdio>

TStartupProbe::TStartupProbe(TReport onVisible, QObject* parent) : QObject(parent), report(std::move(onVisible)) {}

void TStartupProbe::InstallFromEnvironment(QApplication& application)
{
    if (!qEnvironmentVariableIsSet("QUORVEL_STARTUP_PROBE"))
        return;
    application.installEventFilter(new TStartupProbe(
        [](qint64 nanoseconds) {
            std::printf("visible %lld\n", static_cast<long long>(nanoseconds));
            std::fflush(stdout);
        },
        &application));
}

qint64 TStartupProbe::Now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool TStartupProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (!painted && event->type() == QEvent::Paint && qobject_cast<TFormMeta*>(watched)) {
        painted = true;
        // Queued: the painted frame is handed to the window system before the report.
        QMetaObject::invokeMethod(
            this,
            [this] {
                report(Now());
                QCoreApplication::instance()->removeEventFilter(this);
            },
            Qt::QueuedConnection);
    }
    return false;
}
