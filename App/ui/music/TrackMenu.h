#pragma once

#include "music/Track.h"

#include <QList>
#include <QObject>
#include <QUuid>
#include <QVariantList>

#include <optional>

class AppState;

// The actions on one song, made with the song's value when its menu opens: a row index read at
// the click could name another song if the list changed while the menu was open. The entries,
// the like wording and the playlists are read once, at that moment.
//
// Each entry is a map: "key" (what choose() takes; "divider" for a divider), "text" and
// "symbol". The texts of the playlist entries are the user's names, shown verbatim.
class TrackMenu final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariantList entries READ entries CONSTANT)
    Q_PROPERTY(QVariantList playlistEntries READ playlistEntries CONSTANT)

public:
    TrackMenu(AppState *state, Track track, std::optional<QList<Track>> context = std::nullopt,
              std::optional<QUuid> playlistID = std::nullopt, QObject *parent = nullptr);

    [[nodiscard]] QVariantList entries() const { return m_entries; }
    [[nodiscard]] QVariantList playlistEntries() const { return m_playlistEntries; }

    // Runs the entry of that key, of either list; a playlist entry's key is "playlist:<n>", n
    // counting the playlists as they stood when the menu was made.
    Q_INVOKABLE void choose(const QString &key);

private:
    void addToPlaylist(const QUuid &id, const QString &name);
    void promptNewPlaylist();

    AppState *m_state;
    Track m_track;
    std::optional<QList<Track>> m_context;
    std::optional<QUuid> m_playlistID;
    QList<QUuid> m_playlistIDs;
    QStringList m_playlistNames;
    QVariantList m_entries;
    QVariantList m_playlistEntries;
};
