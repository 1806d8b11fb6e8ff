#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

// The desktop's side of the media controls, on a connection of its own: on the service's
// connection QtDBus would answer without the bus. Its calls run the event loop meanwhile, so a
// service in this process can answer.
class MprisClient : public QObject
{
    Q_OBJECT

public:
    struct Change
    {
        QString interface;
        QVariantMap changed;
        QStringList invalidated;
    };

    static inline const QString rootInterface = QStringLiteral("org.mpris.MediaPlayer2");
    static inline const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

    MprisClient();
    ~MprisClient() override;

    QDBusMessage call(const QString &interface, const QString &method, const QVariantList &arguments = {});
    // A player method, with the work it queued done and whatever it changed announced.
    void command(const QString &method, const QVariantList &arguments = {});
    // A property as plain values (nested maps arrive as QDBusArgument); null when the call fails.
    QVariant get(const QString &name, const QString &interface = playerInterface);
    QVariantMap getAll(const QString &interface);
    QDBusMessage set(const QString &name, const QVariant &value);
    // Round trips until everything the service queued has run and its signals have arrived:
    // the bus keeps one sender's messages in order.
    void settle();
    // Settles, then drops what arrived.
    void forget();

    QDBusConnection bus;
    QList<Change> changes;
    QList<qlonglong> seeks;

public Q_SLOTS:
    void received(const QDBusMessage &message);
};
