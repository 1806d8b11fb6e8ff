#pragma once

#include "platform/LaunchRequest.h"

#include <QList>
#include <QLockFile>
#include <QObject>

#include <functional>
#include <memory>

// One running Morvane per session. The first launch owns the bus name "org.morvane.Morvane" and
// receives org.freedesktop.Application calls at "/org/morvane/Morvane"; a later launch hands its
// request over and ends. Without a session bus a lock file in the runtime folder stands in for the
// name, and nothing can be handed over.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    enum class Role {
        Primary,   // this process is the instance; its own request is the first one delivered
        Forwarded, // the running instance took the request
        Failed,    // another instance runs but did not take the request: error() says why
    };

    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // Touches no file of the support folder or the settings: a forwarding launch leaves them alone.
    Role claim(const LaunchRequest &ownRequest);
    [[nodiscard]] QString error() const { return m_error; }

    // Requests are kept until a handler exists, then delivered in arrival order.
    void setHandler(std::function<void(const LaunchRequest &)> handler);
    void deliver(const LaunchRequest &request);

    static QString serviceName() { return QStringLiteral("org.morvane.Morvane"); }
    static QString objectPath() { return QStringLiteral("/org/morvane/Morvane"); }
    [[nodiscard]] static QString lockFilePath();

private:
    Role claimOnBus(const LaunchRequest &ownRequest);
    Role claimLockFile(const LaunchRequest &ownRequest);

    QString m_error;
    std::unique_ptr<QLockFile> m_lock;
    std::function<void(const LaunchRequest &)> m_handler;
    QList<LaunchRequest> m_pending;
};
