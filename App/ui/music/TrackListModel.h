#pragma once

#include "music/Track.h"

#include <QAbstractListModel>
#include <QHash>
#include <QSet>
#include <QUuid>

#include <optional>

class AppState;
class LibraryStore;
class PlayerManager;
class TrackMenu;

// The rows of a vertical song list: search results, library lists and playlists. Rows are
// positional, so a song may stand twice. Only what a row shows is announced: a new current song
// touches the rows of the old and the new id, a like the rows of its id, and a play, a search or
// a save touches none. Whether a song's file exists is cached, looked at again when a download is
// recorded and when the screen showing the list asks (refreshDownloads), never per repaint.
//
// A new list arrives as row edits (removals, insertions, moves), never as a reset, so an unlike
// removes one row and a replayed song moves one: the view keeps its place and its delegates.
class TrackListModel final : public QAbstractListModel
{
    Q_OBJECT
    // The player plays (not paused): the current rows' equalizer moves.
    Q_PROPERTY(bool playing READ playing NOTIFY playingChanged)

public:
    enum Roles {
        TitleRole = Qt::UserRole + 1,
        ArtistRole,
        DurationRole, // "m:ss", empty when the length is unknown
        NumberRole,   // the 1-based position
        CurrentRole,  // the player's current song has this id
        LikedRole,
        DownloadedRole,
        ArtworkRole,  // thumbnail links to try in turn
        MenuNameRole, // "menuName": what a screen reader calls the row's menu button ("More, <title>")
    };

    explicit TrackListModel(AppState *state, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] bool playing() const;
    [[nodiscard]] const QList<Track> &tracks() const { return m_tracks; }
    void setTracks(const QList<Track> &tracks);
    [[nodiscard]] Track track(int row) const { return m_tracks.value(row); }

    // A double click on the row: the list plays from that song's first occurrence.
    Q_INVOKABLE void play(int row);
    Q_INVOKABLE void toggleLike(int row);
    // The menu of the row's song as it stands now, owned by `owner` (the menu on screen).
    Q_INVOKABLE TrackMenu *menu(int row, QObject *owner);
    // The user playlist the list shows, if any: its rows' menus offer the removal.
    void setPlaylistID(std::optional<QUuid> id) { m_playlistID = id; }
    // Looks again whether each song's file exists; the screen calls it when shown.
    Q_INVOKABLE void refreshDownloads();

Q_SIGNALS:
    void playingChanged();

private:
    // Row edits that turn the list shown into `tracks`; returns the first and last row whose
    // position changed, or {-1, -1}.
    std::pair<int, int> edit(const QList<Track> &tracks);
    void reindex();
    void updateCurrent();
    void updateLikes();
    // Announces `role` for every row of each id.
    void announce(const QSet<QString> &ids, int role);

    AppState *m_state;
    LibraryStore *m_library;
    PlayerManager *m_player;
    std::optional<QUuid> m_playlistID;
    QList<Track> m_tracks;
    QHash<QString, QList<int>> m_rows; // track id → its rows
    QString m_current;
    QSet<QString> m_liked;
    QSet<QString> m_downloaded; // ids of this list whose file exists
};
