#include "MprisService.h"

#include "core/LogManager.h"
#include "platform/MprisPlayerAdaptor.h"
#include "platform/MprisRootAdaptor.h"
#include "player/PlayerManager.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QMetaProperty>

MprisService::MprisService(PlayerManager *player, QObject *parent)
    : QObject(parent)
    , m_player(player)
    , m_playerAdaptor(new MprisPlayerAdaptor(this))
{
    new MprisRootAdaptor(this);
    m_announce.setSingleShot(true);
    m_announce.setInterval(0);
    connect(&m_announce, &QTimer::timeout, this, &MprisService::announceChanges);

    QDBusConnection bus = QDBusConnection::sessionBus();
    // Exported before the name is owned, so a client that sees the name finds the object.
    if (!bus.registerObject(objectPath(), this, QDBusConnection::ExportAdaptors)) {
        LogManager::appLog(
            QStringLiteral("Media controls off: could not export %1: %2").arg(objectPath(), bus.lastError().message()));
        return;
    }
    if (!bus.registerService(serviceName())) {
        LogManager::appLog(QStringLiteral("Media controls off: the name %1 is taken").arg(serviceName()));
        bus.unregisterObject(objectPath());
        return;
    }
    m_exported = true;
    m_announced = playerProperties();

    // The position moves on its own while playing and is read on demand: only jumps are told,
    // and the start of a loaded song, as clients count on through the load. A length the back end
    // corrects changes the length.
    for (const auto signal :
         {&PlayerManager::nowPlayingChanged, &PlayerManager::hasNextChanged, &PlayerManager::shuffleChanged,
          &PlayerManager::repeatModeChanged, &PlayerManager::volumeChanged, &PlayerManager::durationChanged,
          &PlayerManager::playingChanged})
        connect(player, signal, &m_announce, qOverload<>(&QTimer::start));
    connect(player, &PlayerManager::positionJumped, m_playerAdaptor,
            [this](double seconds) { Q_EMIT m_playerAdaptor->Seeked(MprisPlayerAdaptor::microseconds(seconds)); });
}

MprisService::~MprisService()
{
    if (!m_exported)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(serviceName());
    bus.unregisterObject(objectPath());
}

PlayerManager *MprisService::player() const
{
    return m_player;
}

void MprisService::setArtworkLink(ArtworkLink link)
{
    m_artworkLink = std::move(link);
    if (m_exported)
        m_announce.start();
}

void MprisService::later(std::function<void(PlayerManager &)> work)
{
    QTimer::singleShot(0, this, [player = m_player, work = std::move(work)] {
        if (player)
            work(*player);
    });
}

// Queued like the commands: quitting may ask the user first, which must not hold up the reply.
void MprisService::requestRaise()
{
    QTimer::singleShot(0, this, &MprisService::raiseRequested);
}

void MprisService::requestQuit()
{
    QTimer::singleShot(0, this, &MprisService::quitRequested);
}

void MprisService::requestOpen(const QString &uri)
{
    QTimer::singleShot(0, this, [this, uri] { Q_EMIT openUriRequested(uri); });
}

// Every property of the player interface but the position, as a client would read it now.
QVariantMap MprisService::playerProperties() const
{
    QVariantMap properties;
    const QMetaObject *meta = m_playerAdaptor->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (qstrcmp(property.name(), "Position") != 0)
            properties.insert(QString::fromLatin1(property.name()), property.read(m_playerAdaptor));
    }
    return properties;
}

// One PropertiesChanged with the values that differ from the last ones announced.
void MprisService::announceChanges()
{
    if (!m_player)
        return;
    const QVariantMap now = playerProperties();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (m_announced.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    }
    m_announced = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(objectPath(), QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << QStringLiteral("org.mpris.MediaPlayer2.Player") << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}
