#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QStringList>

#include <memory>

// Stands in for the desktop's file manager (org.freedesktop.FileManager1) on the session bus of
// a test process, over a connection of its own so every call really goes through the bus
// daemon. Records the URIs of each ShowItems and ShowFolders call.
class TestFileManager final : public QDBusVirtualObject
{
public:
    TestFileManager();
    ~TestFileManager() override;

    [[nodiscard]] bool isRegistered() const { return m_registered; }
    // The URIs of every ShowItems call, in order.
    [[nodiscard]] const QStringList &shown() const { return m_shown; }
    // The URIs of every ShowFolders call, in order.
    [[nodiscard]] const QStringList &shownFolders() const { return m_shownFolders; }

    QString introspect(const QString &path) const override;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

private:
    std::unique_ptr<QDBusConnection> m_bus;
    bool m_registered = false;
    QStringList m_shown;
    QStringList m_shownFolders;
};
