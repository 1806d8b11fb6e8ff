#include "SingleInstance.h"

#include "platform/ApplicationAdaptor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStandardPaths>

#include <utility>

namespace {
const int ForwardTimeoutMs = 10000;

QDBusMessage forwardCall(const LaunchRequest &request)
{
    const auto call = [](const QString &method) {
        return QDBusMessage::createMethodCall(SingleInstance::serviceName(), SingleInstance::objectPath(),
                                              QStringLiteral("org.freedesktop.Application"), method);
    };
    const QVariantMap platformData;
    switch (request.kind) {
    case LaunchRequest::Kind::Activate: return call(QStringLiteral("Activate")) << platformData;
    case LaunchRequest::Kind::Open: return call(QStringLiteral("Open")) << request.uris << platformData;
    case LaunchRequest::Kind::Action: {
        QVariantList parameter;
        if (request.action == QLatin1String("receive-text"))
            parameter.append(request.text);
        return call(QStringLiteral("ActivateAction")) << request.action << parameter << platformData;
    }
    }
    Q_UNREACHABLE();
}
} // namespace

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent)
{
    new ApplicationAdaptor(this);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/morvane.lock");
}

SingleInstance::Role SingleInstance::claim(const LaunchRequest &ownRequest)
{
    return QDBusConnection::sessionBus().isConnected() ? claimOnBus(ownRequest) : claimLockFile(ownRequest);
}

SingleInstance::Role SingleInstance::claimOnBus(const LaunchRequest &ownRequest)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    // Exported before the name is owned, so a call that arrives the moment it is owned finds the
    // object; it waits in the queue until the application is ready for it.
    if (!bus.registerObject(objectPath(), this, QDBusConnection::ExportAdaptors)) {
        m_error =
            QStringLiteral("Could not export %1 on the session bus: %2").arg(objectPath(), bus.lastError().message());
        return Role::Failed;
    }
    if (bus.registerService(serviceName())) {
        deliver(ownRequest);
        return Role::Primary;
    }
    bus.unregisterObject(objectPath());
    const QDBusMessage reply = bus.call(forwardCall(ownRequest), QDBus::Block, ForwardTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        m_error =
            QStringLiteral("Morvane is already running but did not take the request: %1").arg(reply.errorMessage());
        return Role::Failed;
    }
    return Role::Forwarded;
}

SingleInstance::Role SingleInstance::claimLockFile(const LaunchRequest &ownRequest)
{
    m_lock = std::make_unique<QLockFile>(lockFilePath());
    if (m_lock->tryLock(0)) {
        deliver(ownRequest);
        return Role::Primary;
    }
    m_lock.reset();
    m_error = QStringLiteral("Morvane is already running, and without a session bus this launch cannot reach it.");
    return Role::Failed;
}

void SingleInstance::setHandler(std::function<void(const LaunchRequest &)> handler)
{
    m_handler = std::move(handler);
    const QList<LaunchRequest> pending = std::exchange(m_pending, {});
    for (const LaunchRequest &request : pending)
        m_handler(request);
}

void SingleInstance::deliver(const LaunchRequest &request)
{
    if (m_handler)
        m_handler(request);
    else
        m_pending.append(request);
}
