#include "sync/QVL_Sync_Status.h"

#include <algorithm>

namespace {

QString waiting(int count)
{
    return count == 1 ? QStringLiteral("1 Antwort wartet") : QStringLiteral("%1 Antworten warten").arg(count);
}

QString counted(qint64 count, const char* one, const char* many)
{
    return count == 1 ? QStringLiteral("vor 1 %1").arg(QLatin1String(one))
                      : QStringLiteral("vor %1 %2").arg(count).arg(QLatin1String(many));
}

} // namespace

QString TQVL_Sync_Status::Ago(qint64 ms)
{
    const qint64 minutes = std::max<qint64>(ms, 0) / 60000;
    if (minutes < 1)
        return QStringLiteral("vor wenigen Sekunden");
    if (minutes < 60)
        return counted(minutes, "Minute", "Minuten");
    if (minutes < 24 * 60)
        return counted(minutes / 60, "Stunde", "Stunden");
    return counted(minutes / (24 * 60), "Tag", "Tagen");
}

QString TQVL_Sync_Status::Text(qint64 nowMs) const
{
    if (Running)
        return QStringLiteral("Synchronisiere …");
    if (Offline)
        return WaitingAnswers > 0 ? QStringLiteral("Offline – ") + waiting(WaitingAnswers) : QStringLiteral("Offline");
    if (LastSyncMs <= 0)
        return QStringLiteral("Noch nicht synchronisiert");
    QString text = QStringLiteral("Synchronisiert ") + Ago(nowMs - LastSyncMs);
    if (WaitingAnswers > 0)
        text += QStringLiteral(" – ") + waiting(WaitingAnswers);
    return text;
}
