#include "ui/shell/SyncStatusLine.h"

#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "query/QVL_ReviewLog.h"
#include "sync/QVL_Sync_Folder.h"
#include "ui/shell/SyncDriver.h"
#include "users/QVL_User.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLabel>

TSyncStatusLine::TSyncStatusLine(TQVL& owner, TSyncDriver& sync, QLabel* shown)
    : QObject(shown), core(owner), driver(&sync), label(shown)
{
    label->hide();
    timer.setInterval(IntervalMs);
    connect(&timer, &QTimer::timeout, this, &TSyncStatusLine::Refresh);
    timer.start();
    sync.OnStatusChanged = [this] { Refresh(); };
}

void TSyncStatusLine::Refresh()
{
    if (!driver || !driver->Active()) {
        label->hide();
        return;
    }
    TQVL_Sync_Status& status = driver->Status;
    const QString profile = core.Users->GetActiveUser().FileName;
    const QString device = core.Query->DeviceId ? core.Query->DeviceId() : QString();
    const qint64 size = QFileInfo(TQVL_ReviewLog::FileName(profile, device)).size();
    const qint64 published = status.LastSyncMs;
    // Counted again when the log grew or a run published it.
    if (!device.isEmpty() && (size != countedSize || published != countedPublished)) {
        try {
            status.WaitingAnswers = TQVL_Sync_Folder::WaitingAnswers(profile, device);
        } catch (const TQVL_Error&) {
            status.WaitingAnswers = 0;
        }
        countedSize = size;
        countedPublished = published;
    }
    QString text = status.Text(QDateTime::currentMSecsSinceEpoch());
    if (status.Running && driver->Progress() > 0)
        text += QStringLiteral(" %1 %").arg(driver->Progress());
    label->setText(text);
    label->setToolTip(QStringLiteral("Synchronisation über den Ordner \"%1\"").arg(core.Options->SharedSyncFolder()));
    label->show();
}
