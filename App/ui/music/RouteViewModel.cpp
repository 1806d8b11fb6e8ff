#include "RouteViewModel.h"

#include "MusicRoutes.h"
#include "coordinator/AppState.h"
#include "core/Json.h"

RouteViewModel::RouteViewModel(AppState *state, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_route(state->route())
    , m_home(*state)
    , m_explore(*state, moods())
    , m_playlists(*state)
{
    connect(state, &AppState::routeChanged, this, [this] {
        const Route previous = std::exchange(m_route, m_state->route());
        if (previous.kind != m_route.kind)
            Q_EMIT screenChanged();
        if (previous.playlistID != m_route.playlistID)
            Q_EMIT playlistIdChanged();
    });
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

const QStringList &RouteViewModel::moods()
{
    static const QStringList list{QStringLiteral("Chill"),      QStringLiteral("Workout"),
                                  QStringLiteral("Focus"),      QStringLiteral("Party"),
                                  QStringLiteral("Sleep"),      QStringLiteral("Road Trip"),
                                  QStringLiteral("Throwbacks"), QStringLiteral("Feel Good"),
                                  QStringLiteral("Romance"),    QStringLiteral("Study")};
    return list;
}
