#include "MprisRootAdaptor.h"

#include "platform/MprisService.h"

MprisRootAdaptor::MprisRootAdaptor(MprisService *service)
    : QDBusAbstractAdaptor(service)
    , m_service(service)
{}

QStringList MprisRootAdaptor::supportedUriSchemes() const
{
    return {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("morvane")};
}

void MprisRootAdaptor::Raise()
{
    m_service->requestRaise();
}

void MprisRootAdaptor::Quit()
{
    m_service->requestQuit();
}
