#include "DesktopServices.h"

#include "core/LogManager.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>

namespace {
// Long enough for a file manager that is being started by bus activation; the caller never waits.
constexpr int replyTimeoutMs = 25000;
} // namespace

DesktopServices::DesktopServices(QObject *parent)
    : QObject(parent)
{}

void DesktopServices::reveal(const QString &path)
{
    askFileManager(QStringLiteral("ShowItems"), path, QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

void DesktopServices::revealFolder(const QString &path)
{
    askFileManager(QStringLiteral("ShowFolders"), path, QUrl::fromLocalFile(path));
}

void DesktopServices::askFileManager(const QString &method, const QString &path, const QUrl &fallback)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openUrl(fallback);
        return;
    }

    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.FileManager1"),
                                                       QStringLiteral("/org/freedesktop/FileManager1"),
                                                       QStringLiteral("org.freedesktop.FileManager1"), method);
    call << QStringList{QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)}
         << QString(); // startup id: none, we are not launching a window of our own
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, replyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, fallback](QDBusPendingCallWatcher *finished) {
        const QDBusPendingReply<> reply = *finished;
        if (reply.isError()) {
            LogManager::appLog(QStringLiteral("No file manager to show ") + fallback.toLocalFile() +
                               QStringLiteral(" (") + reply.error().name() + QStringLiteral("); opening it"));
            openUrl(fallback);
        }
        finished->deleteLater();
    });
}

void DesktopServices::openUrl(const QUrl &url)
{
    if (!QDesktopServices::openUrl(url))
        LogManager::appLog(QStringLiteral("Could not open ") + url.toString());
}

void DesktopServices::openPath(const QString &path)
{
    openUrl(QUrl::fromLocalFile(path));
}
