// A stand-in for the desktop's StatusNotifier watcher, for the tray tests: on the session bus it
// owns "org.kde.StatusNotifierWatcher", says a host is registered (so Qt puts its tray icon up
// over D-Bus) and prints "ready", then "item SERVICE" for each item that registers.
// It runs as a process of its own: Qt asks the watcher with blocking calls.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>

#include <cstdio>

class StatusNotifierWatcher final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    [[nodiscard]] bool isHostRegistered() const { return true; }
    [[nodiscard]] int protocolVersion() const { return 0; }
    [[nodiscard]] QStringList items() const { return m_items; }

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString &service, const QDBusMessage &message)
    {
        // An item may name itself by its object path alone: then its connection is the service.
        const QString name = service.startsWith(QLatin1Char('/')) ? message.service() : service;
        m_items.append(name);
        std::printf("item %s\n", qPrintable(name));
        std::fflush(stdout);
        Q_EMIT StatusNotifierItemRegistered(name);
    }
    void RegisterStatusNotifierHost(const QString &) {}

Q_SIGNALS:
    void StatusNotifierItemRegistered(const QString &service);
    void StatusNotifierItemUnregistered(const QString &service);
    void StatusNotifierHostRegistered();

private:
    QStringList m_items;
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    StatusNotifierWatcher watcher;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                QDBusConnection::ExportAllProperties) ||
        !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
        std::fprintf(stderr, "watcher: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

#include "StatusNotifierWatcherStandIn.moc"
