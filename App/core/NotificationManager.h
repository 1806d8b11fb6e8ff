#pragma once

#include <QString>

// User notifications for finished downloads.
namespace NotificationManager {

// Linux has no permission step for notifications; kept so start-up reads the same everywhere.
void requestAuth();

// Posts a notification when the "notifications" setting is on (read at each call). Returns
// at once; a missing notification server is logged, never waited for.
void notify(const QString &title, const QString &body);

} // namespace NotificationManager
