#include "NotificationManager.h"

#include "SettingsStore.h"
#include "platform/DesktopNotifications.h"

namespace NotificationManager {

void requestAuth() {}

void notify(const QString &title, const QString &body)
{
    if (!SettingsStore::boolean(QStringLiteral("notifications")))
        return;
    DesktopNotifications::post(title, body);
}

} // namespace NotificationManager
