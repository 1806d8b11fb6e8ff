#include "CurrentTrackModel.h"

#include "coordinator/AppState.h"

CurrentTrackModel::CurrentTrackModel(AppState &state, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_player(state.player())
    , m_library(state.library())
{
    // The current song changes with the index, with a queue replaced under the same index, and
    // with details that stream resolution fills in.
    connect(&m_player, &PlayerManager::indexChanged, this, &CurrentTrackModel::currentChanged);
    QueueModel *queue = m_player.queueModel();
    connect(queue, &QAbstractItemModel::rowsInserted, this, &CurrentTrackModel::currentChanged);
    connect(queue, &QAbstractItemModel::rowsRemoved, this, &CurrentTrackModel::currentChanged);
    connect(queue, &QAbstractItemModel::modelReset, this, &CurrentTrackModel::currentChanged);
    connect(queue, &QAbstractItemModel::dataChanged, this, &CurrentTrackModel::currentChanged);
    connect(this, &CurrentTrackModel::currentChanged, this, &CurrentTrackModel::likedChanged);
    connect(&m_library, &LibraryStore::historyVersionChanged, this, &CurrentTrackModel::likedChanged);
    connect(&m_player, &PlayerManager::nonStopChanged, this, &CurrentTrackModel::nonStopChanged);
}

std::optional<Track> CurrentTrackModel::current() const
{
    return m_player.current();
}

bool CurrentTrackModel::hasCurrent() const
{
    return current().has_value();
}

QString CurrentTrackModel::title() const
{
    const std::optional<Track> track = current();
    return track ? track->title : QString();
}

QString CurrentTrackModel::artist() const
{
    const std::optional<Track> track = current();
    return track ? track->artist : QString();
}

QList<QUrl> CurrentTrackModel::artwork() const
{
    const std::optional<Track> track = current();
    return track ? track->artwork(false) : QList<QUrl>();
}

bool CurrentTrackModel::liked() const
{
    const std::optional<Track> track = current();
    return track && m_library.likes().contains(track->id);
}

QString CurrentTrackModel::likeSymbol() const
{
    return liked() ? QStringLiteral("heart.fill") : QStringLiteral("heart");
}

bool CurrentTrackModel::nonStop() const
{
    return m_player.nonStop();
}

QString CurrentTrackModel::nonStopHelp() const
{
    return nonStop() ? QStringLiteral("Non-Stop Playback is on") : QStringLiteral("Turn on Non-Stop Playback");
}

void CurrentTrackModel::toggleLike()
{
    if (const std::optional<Track> track = current())
        m_library.toggleLike(*track);
}

void CurrentTrackModel::toggleNonStop()
{
    m_player.setNonStop(!m_player.nonStop());
}

void CurrentTrackModel::download()
{
    if (const std::optional<Track> track = current())
        m_state.download(*track, std::nullopt, false);
}
