#pragma once

#include "ExploreModel.h"
#include "HomeModel.h"
#include "PlaylistsModel.h"
#include "music/Route.h"

#include <QObject>
#include <QStringList>

class AppState;

// Which screen fills the music window's content area. The screen changes only when the kind of
// route does: from one playlist to another the screen stays and only its playlist id changes.
class RouteViewModel final : public QObject
{
    Q_OBJECT
    // The route's key: "playlist", "home", "search", ... (MusicRoutes::key).
    Q_PROPERTY(QString screen READ screen NOTIFY screenChanged)
    Q_PROPERTY(QString playlistId READ playlistId NOTIFY playlistIdChanged)
    // How a screen that is not there yet names its route.
    Q_PROPERTY(QString title READ title NOTIFY screenChanged)
    Q_PROPERTY(QString symbol READ symbol NOTIFY screenChanged)
    // The moods the Explore screen offers, in order.
    Q_PROPERTY(QStringList moods READ moods CONSTANT)
    // The view model of the screen shown, made anew for each kind of route (so a screen shows
    // the library as it is when it opens); null for a screen that needs none of its own.
    Q_PROPERTY(QObject *screenModel READ screenModel NOTIFY screenChanged)
    // The screens' own view models; they live as long as the window, so a screen shown again
    // finds what it showed before.
    Q_PROPERTY(HomeModel *home READ home CONSTANT)
    Q_PROPERTY(ExploreModel *explore READ explore CONSTANT)
    Q_PROPERTY(PlaylistsModel *playlists READ playlists CONSTANT)

public:
    explicit RouteViewModel(AppState *state, QObject *parent = nullptr);

    [[nodiscard]] QString screen() const;
    [[nodiscard]] QString playlistId() const;
    [[nodiscard]] QString title() const;
    [[nodiscard]] QString symbol() const;
    [[nodiscard]] static const QStringList &moods();
    [[nodiscard]] QObject *screenModel() const { return m_screenModel; }
    [[nodiscard]] HomeModel *home() { return &m_home; }
    [[nodiscard]] ExploreModel *explore() { return &m_explore; }
    [[nodiscard]] PlaylistsModel *playlists() { return &m_playlists; }

Q_SIGNALS:
    void screenChanged();
    void playlistIdChanged();

private:
    void makeScreenModel();

    AppState *m_state;
    Route m_route;
    QObject *m_screenModel = nullptr; // a child
    HomeModel m_home;
    ExploreModel m_explore;
    PlaylistsModel m_playlists;
};
