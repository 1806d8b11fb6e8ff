#include "MprisClient.h"

#include "platform/MprisService.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QTest>

namespace {

const QString connectionName = QStringLiteral("mpris-client");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

QVariant plain(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<QDBusVariant>())
        return plain(value.value<QDBusVariant>().variant());
    if (value.metaType() == QMetaType::fromType<QDBusArgument>()) {
        QVariantMap map = qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
        for (QVariant &entry : map)
            entry = plain(entry);
        return map;
    }
    return value;
}

} // namespace

MprisClient::MprisClient()
    : bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName))
{
    bus.connect(MprisService::serviceName(), MprisService::objectPath(), propertiesInterface,
                QStringLiteral("PropertiesChanged"), this, SLOT(received(QDBusMessage)));
    bus.connect(MprisService::serviceName(), MprisService::objectPath(), playerInterface, QStringLiteral("Seeked"),
                this, SLOT(received(QDBusMessage)));
}

MprisClient::~MprisClient()
{
    QDBusConnection::disconnectFromBus(connectionName);
}

QDBusMessage MprisClient::call(const QString &interface, const QString &method, const QVariantList &arguments)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(MprisService::serviceName(), MprisService::objectPath(), interface, method);
    message.setArguments(arguments);
    return bus.call(message, QDBus::BlockWithGui, 5000);
}

void MprisClient::command(const QString &method, const QVariantList &arguments)
{
    QCOMPARE(call(playerInterface, method, arguments).type(), QDBusMessage::ReplyMessage);
    settle();
}

QVariant MprisClient::get(const QString &name, const QString &interface)
{
    const QDBusMessage reply = call(propertiesInterface, QStringLiteral("Get"), {interface, name});
    return reply.type() == QDBusMessage::ReplyMessage ? plain(reply.arguments().value(0)) : QVariant();
}

QVariantMap MprisClient::getAll(const QString &interface)
{
    return plain(call(propertiesInterface, QStringLiteral("GetAll"), {interface}).arguments().value(0)).toMap();
}

QDBusMessage MprisClient::set(const QString &name, const QVariant &value)
{
    const QDBusMessage reply = call(propertiesInterface, QStringLiteral("Set"),
                                    {playerInterface, name, QVariant::fromValue(QDBusVariant(value))});
    settle();
    return reply;
}

void MprisClient::settle()
{
    for (int i = 0; i < 3; ++i) {
        get(QStringLiteral("CanControl"));
        QCoreApplication::processEvents();
    }
}

void MprisClient::forget()
{
    settle();
    changes.clear();
    seeks.clear();
}

void MprisClient::received(const QDBusMessage &message)
{
    const QVariantList arguments = message.arguments();
    if (message.member() == QLatin1String("Seeked"))
        seeks.append(arguments.value(0).toLongLong());
    else
        changes.append(Change{arguments.value(0).toString(), plain(arguments.value(1)).toMap(),
                              arguments.value(2).toStringList()});
}
