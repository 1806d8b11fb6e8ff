#include "VolumeModel.h"

#include "player/PlayerManager.h"

namespace {
constexpr double unmutedVolume = 0.8;
constexpr double twoWaves = 0.4;
} // namespace

VolumeModel::VolumeModel(PlayerManager &player, QObject *parent)
    : QObject(parent)
    , m_player(player)
{
    connect(&m_player, &PlayerManager::volumeChanged, this, &VolumeModel::changed);
}

double VolumeModel::volume() const
{
    return m_player.volume();
}

QString VolumeModel::symbol() const
{
    const double volume = m_player.volume();
    if (volume == 0)
        return QStringLiteral("speaker.slash.fill");
    return volume < twoWaves ? QStringLiteral("speaker.wave.1.fill") : QStringLiteral("speaker.wave.2.fill");
}

void VolumeModel::setVolume(double volume)
{
    m_player.setVolume(volume);
}

void VolumeModel::toggleMute()
{
    m_player.setVolume(m_player.volume() == 0 ? unmutedVolume : 0);
}
