#pragma once

#include <QString>

// Desktop notifications through org.freedesktop.Notifications on the session bus.
namespace DesktopNotifications {

// Sends one Notify call and returns at once: the reply is never waited for. When there is
// no session bus, or the bus answers with an error (no notification server, a server that
// rejects the call), the reason goes to "app.log" and nothing else happens.
void post(const QString &title, const QString &body);

// `&`, `<` and `>` as entities: servers that support body markup would otherwise read
// text taken from the web as tags.
[[nodiscard]] QString escapeMarkup(const QString &text);

} // namespace DesktopNotifications
