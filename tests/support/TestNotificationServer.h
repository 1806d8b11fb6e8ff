#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// Stands in for the desktop's notification server on the session bus of a test process (every
// test runs with a bus of its own). It owns a connection of its own, so every call really goes
// through the bus daemon. Construct one per test case; it unregisters when destroyed.
class TestNotificationServer final : public QDBusVirtualObject
{
public:
    struct Call
    {
        QString appName;
        QString summary;
        QString body;
    };

    TestNotificationServer();
    ~TestNotificationServer() override;

    // False when the bus or the well-known name was not available.
    [[nodiscard]] bool isRegistered() const { return m_registered; }
    [[nodiscard]] const QList<Call> &calls() const { return m_calls; }
    // The summaries of every call, in order ("Download complete", "Download failed").
    [[nodiscard]] QStringList summaries() const;

    QString introspect(const QString &path) const override;
    // Answers Notify, the one method the application calls.
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

private:
    std::unique_ptr<QDBusConnection> m_bus;
    bool m_registered = false;
    QList<Call> m_calls;
};
