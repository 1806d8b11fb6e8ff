#include "DesktopNotifications.h"

#include "core/LogManager.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace DesktopNotifications {

namespace {
// Long enough for a server that is being started by bus activation; the caller never waits.
constexpr int replyTimeoutMs = 25000;
// The desktop entry's name, which is also the name its Icon= gives the installed icon.
const QString appId = QStringLiteral("org.morvane.Morvane");
} // namespace

QString escapeMarkup(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('&'))
            escaped += QLatin1String("&amp;");
        else if (c == QLatin1Char('<'))
            escaped += QLatin1String("&lt;");
        else if (c == QLatin1Char('>'))
            escaped += QLatin1String("&gt;");
        else
            escaped += c;
    }
    return escaped;
}

void post(const QString &title, const QString &body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        LogManager::appLog(QStringLiteral("Notification not shown: no session bus (") + bus.lastError().message() +
                           QLatin1Char(')'));
        return;
    }

    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // The desktop entry tells the server whose notification it is: its name and icon, its group. Servers
    // that ignore the hint show app_icon beside the text.
    const QVariantMap hints{{QStringLiteral("sound-name"), QStringLiteral("message-new-instant")},
                            {QStringLiteral("desktop-entry"), appId}};
    call << QStringLiteral("Morvane")                                  // app_name
         << uint(0)                                                    // replaces_id: always a new notification
         << appId                                                      // app_icon
         << escapeMarkup(title) << escapeMarkup(body) << QStringList() // actions
         << hints << int(-1);                                          // expire_timeout: the server's default

    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, replyTimeoutMs));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [](QDBusPendingCallWatcher *finished) {
        const QDBusPendingReply<uint> reply = *finished;
        if (reply.isError())
            LogManager::appLog(QStringLiteral("Notification not shown: ") + reply.error().name() +
                               QStringLiteral(": ") + reply.error().message());
        finished->deleteLater();
    });
}

} // namespace DesktopNotifications
