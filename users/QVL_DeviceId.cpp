#include "users/QVL_DeviceId.h"

#include "core/QVL_Error.h"
#include "query/QVL_ReviewLog.h"
#include "users/QVL_Options.h"

#include <QRandomGenerator>

QString TQVL_DeviceId::Ensure(TQVL_Options& options, const RandomSource& random)
{
    if (TQVL_ReviewLog::IsDeviceId(options.device_id))
        return options.device_id;
    QString id;
    for (int i = 0; i < 4; ++i) {
        const quint32 part = random ? random() : QRandomGenerator::system()->generate();
        id += QStringLiteral("%1").arg(part, 8, 16, QLatin1Char('0'));
    }
    options.device_id = id;
    if (!options.IsOpen)
        return id;
    // The options dialog of this instance may hold the access already; then it stays held.
    const bool held = options.WriteAccess;
    try {
        if (held || options.RequestWriteAccess())
            options.Save();
    } catch (const TQVL_Error&) {
        // Kept in memory: this run's answers still go to one log, and the next save of the settings keeps the id.
    }
    try {
        if (!held && options.WriteAccess)
            options.ReleaseWriteAccess();
    } catch (const TQVL_Error&) {
    }
    return id;
}
