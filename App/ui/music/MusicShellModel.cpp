#include "MusicShellModel.h"

#include "coordinator/AppState.h"

MusicShellModel::MusicShellModel(AppState *state, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_sidebar(state, this)
    , m_topBar(state, this)
    , m_routes(state, this)
    , m_namePrompt(state, this)
    , m_playerBar(*state, this)
    , m_queuePanel(*state, this)
    , m_nowPlaying(*state, this)
    , m_outputs(state->audio(), this)
{
    connect(state, &AppState::showNowPlayingChanged, this, &MusicShellModel::showNowPlayingChanged);
    connect(state, &AppState::showQueueChanged, this, &MusicShellModel::showQueueChanged);
    connect(&state->player(), &PlayerManager::errorMessageChanged, this, &MusicShellModel::errorMessageChanged);
}

bool MusicShellModel::showNowPlaying() const
{
    return m_state->showNowPlaying();
}

bool MusicShellModel::showQueue() const
{
    return m_state->showQueue();
}

QString MusicShellModel::errorMessage() const
{
    return m_state->player().errorMessage();
}
