#pragma once

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
    // The downloader's tab on the Downloads screen: "download", "history" or "queue" (also for
    // the diagnostics selection, which has no tab there).
    Q_PROPERTY(QString downloadsTab READ downloadsTab NOTIFY downloadsTabChanged)
    // The moods the Explore screen offers, in order.
    Q_PROPERTY(QStringList moods READ moods CONSTANT)
    // The view model of the screen shown, made anew for each kind of route (so a screen shows
    // the library as it is when it opens); null for a screen that needs none of its own.
    Q_PROPERTY(QObject *screenModel READ screenModel NOTIFY screenChanged)

public:
    explicit RouteViewModel(AppState *state, QObject *parent = nullptr);

    [[nodiscard]] QString screen() const;
    [[nodiscard]] QString playlistId() const;
    [[nodiscard]] QString title() const;
    [[nodiscard]] QString symbol() const;
    [[nodiscard]] QString downloadsTab() const;
    [[nodiscard]] static const QStringList &moods();
    [[nodiscard]] QObject *screenModel() const { return m_screenModel; }

Q_SIGNALS:
    void screenChanged();
    void playlistIdChanged();
    void downloadsTabChanged();

private:
    void makeScreenModel();

    AppState *m_state;
    Route m_route;
    QObject *m_screenModel = nullptr; // a child
};
