#include "TestFileManager.h"

#include <QDBusMessage>

namespace {
const QString serviceName = QStringLiteral("org.freedesktop.FileManager1");
const QString objectPath = QStringLiteral("/org/freedesktop/FileManager1");
const QString connectionName = QStringLiteral("test-file-manager");
} // namespace

TestFileManager::TestFileManager()
    : m_bus(
          std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName)))
{
    m_registered =
        m_bus->isConnected() && m_bus->registerVirtualObject(objectPath, this) && m_bus->registerService(serviceName);
}

TestFileManager::~TestFileManager()
{
    m_bus->unregisterService(serviceName);
    m_bus->unregisterObject(objectPath);
    m_bus.reset();
    QDBusConnection::disconnectFromBus(connectionName);
}

QString TestFileManager::introspect(const QString &) const
{
    return QStringLiteral(R"(<interface name="org.freedesktop.FileManager1">
  <method name="ShowItems">
    <arg name="URIs" type="as" direction="in"/><arg name="StartupId" type="s" direction="in"/>
  </method>
  <method name="ShowFolders">
    <arg name="URIs" type="as" direction="in"/><arg name="StartupId" type="s" direction="in"/>
  </method>
</interface>
)");
}

bool TestFileManager::handleMessage(const QDBusMessage &message, const QDBusConnection &connection)
{
    const QList<QVariant> arguments = message.arguments();
    if (message.interface() != serviceName || arguments.size() != 2)
        return false;
    if (message.member() == QLatin1String("ShowItems"))
        m_shown.append(arguments[0].toStringList());
    else if (message.member() == QLatin1String("ShowFolders"))
        m_shownFolders.append(arguments[0].toStringList());
    else
        return false;
    connection.send(message.createReply());
    return true;
}
