#include "ApplicationAdaptor.h"

#include "platform/SingleInstance.h"

#include <QDBusVariant>

ApplicationAdaptor::ApplicationAdaptor(SingleInstance *instance)
    : QDBusAbstractAdaptor(instance)
    , m_instance(instance)
{}

void ApplicationAdaptor::Activate(const QVariantMap &)
{
    m_instance->deliver({});
}

void ApplicationAdaptor::Open(const QStringList &uris, const QVariantMap &)
{
    LaunchRequest request;
    request.kind = LaunchRequest::Kind::Open;
    request.uris = uris;
    m_instance->deliver(request);
}

void ApplicationAdaptor::ActivateAction(const QString &actionName, const QVariantList &parameter, const QVariantMap &)
{
    LaunchRequest request;
    request.kind = LaunchRequest::Kind::Action;
    request.action = actionName;
    // The parameter is an array of variants ("av"): "receive-text" carries its text as the first one.
    if (!parameter.isEmpty()) {
        const QVariant first = parameter.constFirst();
        request.text =
            first.canConvert<QDBusVariant>() ? first.value<QDBusVariant>().variant().toString() : first.toString();
    }
    m_instance->deliver(request);
}
