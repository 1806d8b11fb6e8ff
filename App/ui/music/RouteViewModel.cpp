#include "RouteViewModel.h"

#include "LibrarySongsModel.h"
#include "MusicRoutes.h"
#include "PlaylistDetailModel.h"
#include "SearchScreenModel.h"
#include "coordinator/AppState.h"
#include "core/Json.h"

RouteViewModel::RouteViewModel(AppState *state, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_route(state->route())
{
    connect(state, &AppState::routeChanged, this, [this] {
        const Route previous = std::exchange(m_route, m_state->route());
        if (previous.kind != m_route.kind) {
            makeScreenModel();
            Q_EMIT screenChanged();
        }
        if (previous.playlistID != m_route.playlistID) {
            if (auto *playlist = qobject_cast<PlaylistDetailModel *>(m_screenModel))
                playlist->setPlaylistID(m_route.playlistID);
            Q_EMIT playlistIdChanged();
        }
    });
    makeScreenModel();
    connect(state, &AppState::selectionChanged, this, &RouteViewModel::downloadsTabChanged);
}

QString RouteViewModel::screen() const
{
    return MusicRoutes::key(m_route.kind);
}

QString RouteViewModel::playlistId() const
{
    return m_route.kind == Route::Kind::Playlist ? Json::uuidText(m_route.playlistID) : QString();
}

QString RouteViewModel::title() const
{
    return MusicRoutes::title(m_route.kind);
}

QString RouteViewModel::symbol() const
{
    return MusicRoutes::symbol(m_route.kind);
}

QString RouteViewModel::downloadsTab() const
{
    switch (m_state->selection()) {
    case SidebarItem::Download: return QStringLiteral("download");
    case SidebarItem::History: return QStringLiteral("history");
    case SidebarItem::Queue:
    case SidebarItem::Diagnostics: break;
    }
    return QStringLiteral("queue");
}

void RouteViewModel::makeScreenModel()
{
    // The screen that shows the old model is gone before the event loop deletes it.
    if (m_screenModel)
        m_screenModel->deleteLater();
    m_screenModel = nullptr;
    switch (m_route.kind) {
    case Route::Kind::Playlist: m_screenModel = new PlaylistDetailModel(m_state, m_route.playlistID, this); break;
    case Route::Kind::Search: m_screenModel = new SearchScreenModel(m_state, this); break;
    case Route::Kind::Liked:
        m_screenModel = new LibrarySongsModel(m_state, LibrarySongsModel::Source::Liked, this);
        break;
    case Route::Kind::Recent:
        m_screenModel = new LibrarySongsModel(m_state, LibrarySongsModel::Source::Recent, this);
        break;
    case Route::Kind::LibraryDownloads:
        m_screenModel = new LibrarySongsModel(m_state, LibrarySongsModel::Source::Downloaded, this);
        break;
    case Route::Kind::Home:
    case Route::Kind::Explore:
    case Route::Kind::Playlists:
    case Route::Kind::Downloads:
    case Route::Kind::Settings: break;
    }
}

const QStringList &RouteViewModel::moods()
{
    static const QStringList list{QStringLiteral("Chill"),      QStringLiteral("Workout"),
                                  QStringLiteral("Focus"),      QStringLiteral("Party"),
                                  QStringLiteral("Sleep"),      QStringLiteral("Road Trip"),
                                  QStringLiteral("Throwbacks"), QStringLiteral("Feel Good"),
                                  QStringLiteral("Romance"),    QStringLiteral("Study")};
    return list;
}
