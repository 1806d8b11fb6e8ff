#include "TransportModel.h"

#include "player/PlayerManager.h"

TransportModel::TransportModel(PlayerManager &player, QObject *parent)
    : QObject(parent)
    , m_player(player)
{
    for (const auto signal : {&PlayerManager::indexChanged, &PlayerManager::playingChanged,
                              &PlayerManager::shuffleChanged, &PlayerManager::repeatModeChanged})
        connect(&m_player, signal, this, &TransportModel::changed);
    // The current song also goes when the queue is emptied under an unchanged index.
    connect(m_player.queueModel(), &QAbstractItemModel::rowsRemoved, this, &TransportModel::changed);
    connect(m_player.queueModel(), &QAbstractItemModel::rowsInserted, this, &TransportModel::changed);
}

bool TransportModel::hasCurrent() const
{
    return m_player.current().has_value();
}

bool TransportModel::busy() const
{
    return m_player.isLoading() || (m_player.isBuffering() && m_player.isPlaying());
}

QString TransportModel::playSymbol() const
{
    return m_player.isPlaying() ? QStringLiteral("pause.fill") : QStringLiteral("play.fill");
}

bool TransportModel::shuffle() const
{
    return m_player.shuffle();
}

QString TransportModel::repeatSymbol() const
{
    return m_player.repeatMode() == RepeatMode::One ? QStringLiteral("repeat.1") : QStringLiteral("repeat");
}

bool TransportModel::repeatOn() const
{
    return m_player.repeatMode() != RepeatMode::Off;
}

void TransportModel::togglePlay()
{
    if (hasCurrent())
        m_player.togglePlay();
}

void TransportModel::previous()
{
    if (hasCurrent())
        m_player.previous();
}

void TransportModel::next()
{
    if (hasCurrent())
        m_player.advance(true);
}

void TransportModel::toggleShuffle()
{
    m_player.setShuffle(!m_player.shuffle());
}

void TransportModel::stepRepeat()
{
    switch (m_player.repeatMode()) {
    case RepeatMode::Off: m_player.setRepeatMode(RepeatMode::All); break;
    case RepeatMode::All: m_player.setRepeatMode(RepeatMode::One); break;
    case RepeatMode::One: m_player.setRepeatMode(RepeatMode::Off); break;
    }
    m_player.persistSoon();
}
