#include "TestNotificationServer.h"

#include <QDBusMessage>

namespace {
const QString serviceName = QStringLiteral("org.freedesktop.Notifications");
const QString objectPath = QStringLiteral("/org/freedesktop/Notifications");
const QString connectionName = QStringLiteral("test-notification-server");
} // namespace

TestNotificationServer::TestNotificationServer()
    : m_bus(
          std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName)))
{
    m_registered =
        m_bus->isConnected() && m_bus->registerVirtualObject(objectPath, this) && m_bus->registerService(serviceName);
}

TestNotificationServer::~TestNotificationServer()
{
    m_bus->unregisterService(serviceName);
    m_bus->unregisterObject(objectPath);
    m_bus.reset();
    QDBusConnection::disconnectFromBus(connectionName);
}

QStringList TestNotificationServer::summaries() const
{
    QStringList summaries;
    for (const Call &call : m_calls)
        summaries.append(call.summary);
    return summaries;
}

QString TestNotificationServer::introspect(const QString &) const
{
    return QStringLiteral(R"(<interface name="org.freedesktop.Notifications">
  <method name="Notify">
    <arg name="app_name" type="s" direction="in"/><arg name="replaces_id" type="u" direction="in"/>
    <arg name="app_icon" type="s" direction="in"/><arg name="summary" type="s" direction="in"/>
    <arg name="body" type="s" direction="in"/><arg name="actions" type="as" direction="in"/>
    <arg name="hints" type="a{sv}" direction="in"/><arg name="expire_timeout" type="i" direction="in"/>
    <arg name="id" type="u" direction="out"/>
  </method>
</interface>
)");
}

bool TestNotificationServer::handleMessage(const QDBusMessage &message, const QDBusConnection &connection)
{
    const QList<QVariant> arguments = message.arguments();
    if (message.interface() != serviceName || message.member() != QLatin1String("Notify") || arguments.size() != 8)
        return false;
    m_calls.append({arguments[0].toString(), arguments[3].toString(), arguments[4].toString()});
    connection.send(message.createReply(QVariant::fromValue(uint(m_calls.size()))));
    return true;
}
