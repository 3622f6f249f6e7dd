#include "app/QVL_DesktopNotification.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

namespace TQVL_DesktopNotification {

bool Send(const QString& summary, const QString& body, QString& error)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        error = QStringLiteral("Keine Verbindung zum Sitzungsbus; es antwortet kein Benachrichtigungsdienst.");
        return false;
    }
    // A plain method call: a proxy object would first ask the service to describe itself.
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QStringLiteral("Vokabeltrainer Quorvel") << uint(0) << QStringLiteral("org.quorvel.Quorvel") << summary
         << body << QStringList() << QVariantMap() << int(-1);
    const QDBusMessage reply = bus.call(call, QDBus::Block, 10000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        error = QStringLiteral("Es antwortet kein Benachrichtigungsdienst (%1).").arg(reply.errorName());
        return false;
    }
    return true;
}

} // namespace TQVL_DesktopNotification
