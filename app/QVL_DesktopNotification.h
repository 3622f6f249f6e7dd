#pragma once

#include <QString>

// One notification on the desktop through the freedesktop notification
// service on the session bus (org.freedesktop.Notifications).
namespace TQVL_DesktopNotification {

// Sends it and waits for the service's answer. False, with a German `error`,
// when there is no session bus or no service answers.
bool Send(const QString& summary, const QString& body, QString& error);

} // namespace TQVL_DesktopNotification
