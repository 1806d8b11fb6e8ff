#include "TrackListModel.h"

#include "TrackMenu.h"
#include "coordinator/AppState.h"
#include "core/TextHelpers.h"
#include "music/LibraryStore.h"
#include "player/PlayerManager.h"

#include <QUrl>

TrackListModel::TrackListModel(AppState *state, QObject *parent)
    : QAbstractListModel(parent)
    , m_state(state)
    , m_library(&state->library())
    , m_player(&state->player())
{
    const QStringList likes = m_library->likes();
    m_liked = QSet<QString>(likes.cbegin(), likes.cend());
    if (const auto current = m_player->current())
        m_current = current->id;
    connect(m_player, &PlayerManager::indexChanged, this, &TrackListModel::updateCurrent);
    connect(m_player, &PlayerManager::nowPlayingChanged, this, &TrackListModel::updateCurrent);
    connect(m_library, &LibraryStore::historyVersionChanged, this, &TrackListModel::updateLikes);
    connect(m_library, &LibraryStore::downloadsChanged, this, &TrackListModel::refreshDownloads);
}

int TrackListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_tracks.size());
}

QVariant TrackListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Track &track = m_tracks.at(index.row());
    switch (role) {
    case TitleRole: return track.title;
    case ArtistRole: return track.artist;
    case DurationRole: return track.duration ? formatClock(*track.duration) : QString();
    case NumberRole: return index.row() + 1;
    case CurrentRole: return !m_current.isEmpty() && track.id == m_current;
    case LikedRole: return m_liked.contains(track.id);
    case DownloadedRole: return m_downloaded.contains(track.id);
    case ArtworkRole: {
        QVariantList urls;
        for (const QUrl &url : track.artwork(false))
            urls.append(url);
        return urls;
    }
    default: return {};
    }
}

QHash<int, QByteArray> TrackListModel::roleNames() const
{
    return {{TitleRole, "title"},     {ArtistRole, "artist"}, {DurationRole, "durationText"}, {NumberRole, "number"},
            {CurrentRole, "current"}, {LikedRole, "liked"},   {DownloadedRole, "downloaded"}, {ArtworkRole, "artwork"}};
}

void TrackListModel::setTracks(const QList<Track> &tracks)
{
    beginResetModel();
    m_tracks = tracks;
    m_rows.clear();
    for (int row = 0; row < m_tracks.size(); ++row)
        m_rows[m_tracks.at(row).id].append(row);
    m_downloaded.clear();
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it) {
        if (m_library->downloadedPath(it.key()))
            m_downloaded.insert(it.key());
    }
    endResetModel();
}

void TrackListModel::play(int row)
{
    if (row < 0 || row >= m_tracks.size())
        return;
    m_player->play(m_tracks.at(row), m_tracks);
}

void TrackListModel::toggleLike(int row)
{
    if (row >= 0 && row < m_tracks.size())
        m_library->toggleLike(m_tracks.at(row));
}

TrackMenu *TrackListModel::menu(int row)
{
    if (row < 0 || row >= m_tracks.size())
        return nullptr;
    return new TrackMenu(m_state, m_tracks.at(row), m_tracks, m_playlistID);
}

void TrackListModel::refreshDownloads()
{
    QSet<QString> changed;
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it) {
        const bool exists = m_library->downloadedPath(it.key()).has_value();
        if (exists == m_downloaded.contains(it.key()))
            continue;
        if (exists)
            m_downloaded.insert(it.key());
        else
            m_downloaded.remove(it.key());
        changed.insert(it.key());
    }
    announce(changed, DownloadedRole);
}

void TrackListModel::updateCurrent()
{
    const auto current = m_player->current();
    const QString id = current ? current->id : QString();
    if (id == m_current)
        return;
    const QSet<QString> changed{m_current, id};
    m_current = id;
    announce(changed, CurrentRole);
}

void TrackListModel::updateLikes()
{
    const QStringList likes = m_library->likes();
    QSet<QString> liked(likes.cbegin(), likes.cend());
    if (liked == m_liked)
        return;
    // Only the ids on one side but not the other changed: the symmetric difference.
    QSet<QString> changed = liked;
    changed.subtract(m_liked);
    QSet<QString> unliked = m_liked;
    unliked.subtract(liked);
    changed.unite(unliked);
    m_liked = std::move(liked);
    announce(changed, LikedRole);
}

void TrackListModel::announce(const QSet<QString> &ids, int role)
{
    for (const QString &id : ids) {
        for (const int row : m_rows.value(id)) {
            const QModelIndex at = index(row);
            Q_EMIT dataChanged(at, at, {role});
        }
    }
}
