#pragma once

#include "music/Route.h"

#include <QAbstractListModel>
#include <QList>
#include <QUuid>

class AppState;

// The rows of the music window's sidebar: section headers and destinations, the user's playlists
// among them, each destination selected while it is the current route. Only what a row shows is
// announced: a like or a play changes the library but no row, and a new badge count touches one
// row.
class SidebarModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Roles {
        HeaderRole = Qt::UserRole + 1, // a section header (only its title shows), else a destination
        SymbolRole,
        TitleRole,
        BadgeRole, // the count as text, empty when there is none to show
        SelectedRole,
        KeyRole,  // the destination's key ("home", "playlist:<id>"); "header" for a header
        NameRole, // "spokenName": what a screen reader reads; an entry of a section names it too,
                  // so the two "Downloads" read apart ("Downloads, Library", "Downloads, Manage")
    };

    explicit SidebarModel(AppState *state, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    // A click on the row: its destination becomes the route, and Now Playing closes.
    Q_INVOKABLE void activate(int row);
    // The destination `by` entries away from `row` (headers skipped), or `row` itself at either
    // end: where the arrow keys move. From -1 down, the first destination.
    Q_INVOKABLE int step(int row, int by) const;
    // The row of the current route's entry, where the keyboard enters the sidebar; the first
    // destination when the route has no entry.
    Q_INVOKABLE int selectedRow() const;

private:
    struct Row
    {
        bool header = false;
        QString title; // a header's as written: it shows upper-cased
        Route route;
    };
    struct PlaylistName
    {
        QUuid id;
        QString name;
        bool operator==(const PlaylistName &) const = default;
    };

    void updatePlaylists();
    void updateSelection(const Route &previous);
    void updateBadge();
    // The playlists' header and entries, empty without playlists.
    [[nodiscard]] QList<Row> playlistRows() const;
    [[nodiscard]] int badgeCount(const Row &row) const;
    void announce(int row, const QList<int> &roles);

    AppState *m_state;
    QList<Row> m_rows;
    QList<PlaylistName> m_playlists;
    Route m_route;
    int m_pending = 0;
};
