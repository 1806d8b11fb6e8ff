#include "SidebarModel.h"

#include "MusicRoutes.h"
#include "coordinator/AppState.h"
#include "core/Json.h"

#include <cstdlib>

namespace {
using Kind = Route::Kind;

// The rows above the playlists: the playlists' section follows them.
constexpr int playlistsAt = 8;

Route to(Kind kind)
{
    return Route{kind, {}};
}
} // namespace

SidebarModel::SidebarModel(AppState *state, QObject *parent)
    : QAbstractListModel(parent)
    , m_state(state)
    , m_route(state->route())
    , m_pending(state->downloads().pendingCount())
{
    const auto entry = [](Kind kind) { return Row{false, MusicRoutes::title(kind), to(kind)}; };
    const auto header = [](const char *title) { return Row{true, QString::fromLatin1(title), {}}; };
    m_rows = {entry(Kind::Home),  entry(Kind::Search),    entry(Kind::Explore),   header("Library"),
              entry(Kind::Liked), entry(Kind::Recent),    entry(Kind::Playlists), entry(Kind::LibraryDownloads),
              header("Manage"),   entry(Kind::Downloads), entry(Kind::Settings)};
    for (const Playlist &playlist : state->library().playlists())
        m_playlists.append({playlist.id, playlist.name});
    const QList<Row> playlists = playlistRows();
    for (qsizetype i = 0; i < playlists.size(); ++i)
        m_rows.insert(playlistsAt + i, playlists[i]);

    connect(&state->library(), &LibraryStore::libraryChanged, this, &SidebarModel::updatePlaylists);
    connect(state, &AppState::routeChanged, this,
            [this] { updateSelection(std::exchange(m_route, m_state->route())); });
    connect(&state->downloads(), &DownloadManager::countsChanged, this, &SidebarModel::updateBadge);
}

int SidebarModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant SidebarModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row &row = m_rows[index.row()];
    switch (role) {
    case HeaderRole: return row.header;
    case SymbolRole: return row.header ? QString() : MusicRoutes::symbol(row.route.kind);
    case TitleRole: return row.header ? row.title.toUpper() : row.title;
    case NameRole:
        for (int above = index.row() - 1; above >= 0 && !row.header; --above) {
            if (m_rows[above].header)
                return tr("%1, %2").arg(row.title, m_rows[above].title);
        }
        return row.title;
    case BadgeRole: {
        const int count = badgeCount(row);
        return count > 0 ? QString::number(count) : QString();
    }
    case SelectedRole: return !row.header && row.route == m_route;
    case KeyRole:
        if (row.header)
            return QStringLiteral("header");
        if (row.route.kind == Kind::Playlist)
            return MusicRoutes::key(Kind::Playlist) + QLatin1Char(':') + Json::uuidText(row.route.playlistID);
        return MusicRoutes::key(row.route.kind);
    }
    return {};
}

QHash<int, QByteArray> SidebarModel::roleNames() const
{
    return {{HeaderRole, "isHeader"},   {SymbolRole, "symbol"}, {TitleRole, "title"},    {BadgeRole, "badge"},
            {SelectedRole, "selected"}, {KeyRole, "key"},       {NameRole, "spokenName"}};
}

void SidebarModel::activate(int row)
{
    if (row < 0 || row >= m_rows.size() || m_rows[row].header)
        return;
    m_state->setRoute(m_rows[row].route);
    // The queue panel stays as it is.
    m_state->setShowNowPlaying(false);
}

int SidebarModel::step(int row, int by) const
{
    const int direction = by < 0 ? -1 : 1;
    int found = row;
    for (int next = row + direction, left = std::abs(by); left > 0 && next >= 0 && next < m_rows.size();
         next += direction) {
        if (!m_rows[next].header) {
            found = next;
            --left;
        }
    }
    return found;
}

int SidebarModel::selectedRow() const
{
    for (int row = 0; row < m_rows.size(); ++row) {
        if (!m_rows[row].header && m_rows[row].route == m_route)
            return row;
    }
    return step(-1, 1);
}

QList<SidebarModel::Row> SidebarModel::playlistRows() const
{
    if (m_playlists.isEmpty())
        return {};
    QList<Row> rows{{true, QStringLiteral("Your Playlists"), {}}};
    for (const PlaylistName &playlist : m_playlists)
        rows.append({false, playlist.name, Route::playlist(playlist.id)});
    return rows;
}

void SidebarModel::updatePlaylists()
{
    QList<PlaylistName> now;
    for (const Playlist &playlist : m_state->library().playlists())
        now.append({playlist.id, playlist.name});
    if (now == m_playlists)
        return;

    const bool sameIds = std::equal(now.cbegin(), now.cend(), m_playlists.cbegin(), m_playlists.cend(),
                                    [](const PlaylistName &a, const PlaylistName &b) { return a.id == b.id; });
    if (sameIds) {
        // Renamed in place: only those rows change.
        for (qsizetype i = 0; i < now.size(); ++i) {
            if (now[i].name == m_playlists[i].name)
                continue;
            const int row = playlistsAt + 1 + int(i);
            m_rows[row].title = now[i].name;
            announce(row, {TitleRole, NameRole});
        }
        m_playlists = now;
        return;
    }

    const qsizetype oldCount = playlistRows().size();
    if (oldCount > 0) {
        beginRemoveRows({}, playlistsAt, playlistsAt + int(oldCount) - 1);
        m_rows.remove(playlistsAt, oldCount);
        endRemoveRows();
    }
    m_playlists = now;
    const QList<Row> rows = playlistRows();
    if (!rows.isEmpty()) {
        beginInsertRows({}, playlistsAt, playlistsAt + int(rows.size()) - 1);
        for (qsizetype i = 0; i < rows.size(); ++i)
            m_rows.insert(playlistsAt + i, rows[i]);
        endInsertRows();
    }
}

void SidebarModel::updateSelection(const Route &previous)
{
    for (int row = 0; row < m_rows.size(); ++row) {
        if (!m_rows[row].header && (m_rows[row].route == previous || m_rows[row].route == m_route))
            announce(row, {SelectedRole});
    }
}

void SidebarModel::updateBadge()
{
    const int pending = m_state->downloads().pendingCount();
    if (std::exchange(m_pending, pending) == pending)
        return;
    for (int row = 0; row < m_rows.size(); ++row) {
        if (!m_rows[row].header && m_rows[row].route.kind == Kind::Downloads)
            announce(row, {BadgeRole});
    }
}

int SidebarModel::badgeCount(const Row &row) const
{
    return !row.header && row.route.kind == Kind::Downloads ? m_pending : 0;
}

void SidebarModel::announce(int row, const QList<int> &roles)
{
    const QModelIndex at = index(row);
    Q_EMIT dataChanged(at, at, roles);
}
