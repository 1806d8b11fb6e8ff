#include "PlayerBarModel.h"

#include "SeekModel.h"
#include "TransportModel.h"
#include "VolumeModel.h"
#include "coordinator/AppState.h"

PlayerBarModel::PlayerBarModel(AppState &state, QObject *parent)
    : CurrentTrackModel(state, parent)
    , m_transport(new TransportModel(m_player, this))
    , m_seek(new SeekModel(m_player, this))
    , m_volume(new VolumeModel(m_player, this))
{
    connect(this, &CurrentTrackModel::currentChanged, this, &PlayerBarModel::statusChanged);
    connect(&m_player, &PlayerManager::playingChanged, this, &PlayerBarModel::statusChanged);
    connect(&m_state, &AppState::showQueueChanged, this, &PlayerBarModel::showQueueChanged);
}

QString PlayerBarModel::statusText() const
{
    if (m_player.isLoading())
        return QStringLiteral("Loading…");
    if (m_player.isBuffering())
        return QStringLiteral("Buffering…");
    return artist();
}

bool PlayerBarModel::showQueue() const
{
    return m_state.showQueue();
}

void PlayerBarModel::open()
{
    if (hasCurrent())
        m_state.setShowNowPlaying(!m_state.showNowPlaying());
}

void PlayerBarModel::toggleQueue()
{
    m_state.setShowQueue(!m_state.showQueue());
}
