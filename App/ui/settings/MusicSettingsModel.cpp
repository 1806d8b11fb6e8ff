#include "MusicSettingsModel.h"

#include "music/LibraryStore.h"
#include "player/PlayerManager.h"

MusicSettingsModel::MusicSettingsModel(PlayerManager &player, LibraryStore &library, QObject *parent)
    : QObject(parent)
    , m_player(player)
    , m_library(library)
    // Fewer than the Formats tab offers: the formats a song download can tag and play back.
    , m_audioFormat(QStringLiteral("audioFormat"), QStringLiteral("mp3"),
                    SettingPicker::upperCased({QStringLiteral("mp3"), QStringLiteral("m4a"), QStringLiteral("opus")}))
{
    connect(&m_player, &PlayerManager::nonStopChanged, this, &MusicSettingsModel::nonStopChanged);
}

bool MusicSettingsModel::nonStop() const
{
    return m_player.nonStop();
}

void MusicSettingsModel::setNonStop(bool nonStop)
{
    m_player.setNonStop(nonStop);
}

void MusicSettingsModel::clearHistory()
{
    m_library.clearHistory();
}
