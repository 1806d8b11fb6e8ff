#include "TrackListModel.h"

#include "TrackMenu.h"
#include "coordinator/AppState.h"
#include "core/TextHelpers.h"
#include "music/LibraryStore.h"
#include "player/PlayerManager.h"

#include <QUrl>

#include <algorithm>
#include <utility>

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
    connect(m_player, &PlayerManager::playingChanged, this, &TrackListModel::playingChanged);
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
    case ArtworkRole: return QVariant::fromValue(track.artwork(false));
    case MenuNameRole: return tr("More, %1").arg(track.title);
    default: return {};
    }
}

QHash<int, QByteArray> TrackListModel::roleNames() const
{
    return {{TitleRole, "title"},           {ArtistRole, "artist"},   {DurationRole, "durationText"},
            {NumberRole, "number"},         {CurrentRole, "current"}, {LikedRole, "liked"},
            {DownloadedRole, "downloaded"}, {ArtworkRole, "artwork"}, {MenuNameRole, "menuName"}};
}

bool TrackListModel::playing() const
{
    return m_player->isPlaying();
}

void TrackListModel::setTracks(const QList<Track> &tracks)
{
    const auto [first, last] = edit(tracks);
    const QHash<QString, QList<int>> before = std::exchange(m_rows, {});
    reindex();
    // Only songs new to the list are looked at on disk; the others keep their cached mark.
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it) {
        if (!before.contains(it.key()) && m_library->downloadedPath(it.key()))
            m_downloaded.insert(it.key());
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!m_rows.contains(it.key()))
            m_downloaded.remove(it.key());
    }
    if (first >= 0)
        Q_EMIT dataChanged(index(first), index(last), {NumberRole});
}

std::pair<int, int> TrackListModel::edit(const QList<Track> &tracks)
{
    // How often each id still stands in the new list and in the shown one, from row `at` on.
    QHash<QString, int> wanted;
    QHash<QString, int> shown;
    for (const Track &track : tracks)
        ++wanted[track.id];
    for (const Track &track : std::as_const(m_tracks))
        ++shown[track.id];
    int first = -1;
    int last = -1;
    const auto moved = [&first, &last](int from, int to) {
        first = first < 0 ? from : std::min(first, from);
        last = std::max(last, to);
    };

    int at = 0;
    while (at < tracks.size()) {
        const Track &want = tracks.at(at);
        if (at < m_tracks.size() && m_tracks.at(at).id == want.id) {
            if (m_tracks.at(at) != want) { // fuller details of the same song
                m_tracks[at] = want;
                Q_EMIT dataChanged(index(at), index(at));
            }
            --wanted[want.id];
            --shown[want.id];
            ++at;
            continue;
        }
        // A run of shown songs the rest of the new list holds fewer times goes at once.
        int end = at;
        while (end < m_tracks.size() && shown.value(m_tracks.at(end).id) > wanted.value(m_tracks.at(end).id))
            --shown[m_tracks.at(end++).id];
        if (end > at) {
            beginRemoveRows({}, at, end - 1);
            m_tracks.remove(at, end - at);
            endRemoveRows();
            moved(at, int(m_tracks.size()) - 1);
            continue;
        }
        if (shown.value(want.id) > 0) { // shown further down: it moves up
            int from = at + 1;
            while (m_tracks.at(from).id != want.id)
                ++from;
            beginMoveRows({}, from, from, {}, at);
            m_tracks.move(from, at);
            endMoveRows();
            moved(at, from);
            continue; // now matches, and takes fuller details there
        }
        // A run of songs the shown list lacks comes in at once.
        end = at;
        while (end < tracks.size() && shown.value(tracks.at(end).id) == 0)
            --wanted[tracks.at(end++).id];
        beginInsertRows({}, at, end - 1);
        for (int row = at; row < end; ++row)
            m_tracks.insert(row, tracks.at(row));
        endInsertRows();
        moved(at, int(m_tracks.size()) - 1);
        at = end;
    }
    if (m_tracks.size() > tracks.size()) {
        beginRemoveRows({}, int(tracks.size()), int(m_tracks.size()) - 1);
        m_tracks.resize(tracks.size());
        endRemoveRows();
    }
    if (first >= 0)
        last = std::min(last, int(m_tracks.size()) - 1);
    return first <= last ? std::pair(first, last) : std::pair(-1, -1);
}

void TrackListModel::reindex()
{
    for (int row = 0; row < m_tracks.size(); ++row)
        m_rows[m_tracks.at(row).id].append(row);
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

TrackMenu *TrackListModel::menu(int row, QObject *owner)
{
    if (row < 0 || row >= m_tracks.size())
        return nullptr;
    return new TrackMenu(m_state, m_tracks.at(row), m_tracks, m_playlistID, owner);
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
