#pragma once

#include "LibraryData.h"
#include "TrackStat.h"

#include <QFutureWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <QUuid>

#include <optional>

// The user's music library: likes, the play log, recent searches, playlists, the catalog of
// known tracks, downloaded songs, discovery results and Home shown counts, kept in
// "library.json" in the support folder.
//
// Every edit ends with a change mark that restarts a 600 ms single-shot timer, so a burst of
// edits is written once. Writes replace the file atomically and run on a worker thread with a
// snapshot of the library, one at a time and in order; once the application is quitting they
// run synchronously. A pending save is flushed when the application is about to quit and when
// the store is destroyed.
//
// The application reads the file on a worker while its window comes up: until it is in, the
// collections read as empty, and an edit first waits for the file, so no edit is lost to it and
// nothing is saved before it.
class LibraryStore final : public QObject
{
    Q_OBJECT
    // Raised by one after every change of the listening history (likes or play log).
    Q_PROPERTY(int historyVersion READ historyVersion NOTIFY historyVersionChanged)

public:
    enum class Load { Now, Later };

    // Loads "library.json", at once or on a worker; a file that is present but unreadable is
    // moved aside as "library.json.bad" and the library starts empty.
    explicit LibraryStore(Load load = Load::Now, QObject *parent = nullptr);
    ~LibraryStore() override;

    [[nodiscard]] bool isLoaded() const { return m_loaded; }
    [[nodiscard]] int historyVersion() const { return m_historyVersion; }
    // Per-track statistics of the play log, with an entry for every track id it holds.
    [[nodiscard]] QHash<QString, TrackStat> stats() const { return m_stats; }

    // Read-only copies of the library's collections.
    [[nodiscard]] QStringList likes() const { return m_data.likes; }
    [[nodiscard]] QList<PlayEvent> plays() const { return m_data.plays; }
    [[nodiscard]] QStringList searches() const { return m_data.searches; }
    [[nodiscard]] QList<Playlist> playlists() const { return m_data.playlists; }
    [[nodiscard]] QList<Discovery> discoveries() const { return m_data.discoveries; }
    [[nodiscard]] QHash<QString, qint64> shown() const { return m_data.shown; }
    [[nodiscard]] QHash<QString, Track> catalog() const { return m_data.catalog; }

    // Writes the whole library now; a delayed save still pending runs as well.
    void saveNow();

    // Adds unknown tracks to the catalog and fills what known entries lack (genre, duration,
    // album); never stores the "Loading…" placeholder.
    void registerTracks(const QList<Track> &tracks);
    void toggleLike(const Track &track);
    void record(PlayEvent event);
    void clearHistory();
    void recordSearch(const QString &text);
    void clearSearches();
    // Replaces the catalog entry and every playlist copy of the track with fuller details.
    void update(const Track &track);

    Playlist createPlaylist(const QString &name, const QList<Track> &tracks,
                            const std::optional<QString> &sourceURL = std::nullopt);
    void renamePlaylist(const QUuid &id, const QString &name);
    // Appends the tracks that the playlist does not hold yet.
    void add(const QList<Track> &tracks, const QUuid &playlistID);
    void remove(const QString &trackID, const QUuid &playlistID);
    // Moves the tracks at `sources` so they land, in their order, before the track that stood
    // at `destination`; a destination equal to the track count moves them to the end.
    void move(const QUuid &playlistID, const QList<int> &sources, int destination);
    void deletePlaylist(const QUuid &id);
    [[nodiscard]] std::optional<Playlist> playlist(const QUuid &id) const;

    void recordDownload(const QString &trackID, const QString &path);
    // The recorded file, only while something exists at its path.
    [[nodiscard]] std::optional<QString> downloadedPath(const QString &trackID) const;
    // Catalog tracks with an existing downloaded file, by title in code point order; equal titles
    // by id, so the order does not follow the hash order of the downloads.
    [[nodiscard]] QList<Track> downloadedTracks() const;

    // The catalog tracks of the ids, in their order; unknown ids are skipped.
    [[nodiscard]] QList<Track> tracks(const QStringList &ids) const;
    // Distinct tracks of the counted plays, newest first, at most `limit`.
    [[nodiscard]] QList<Track> recentTracks(int limit) const;
    // The track ids of the last `count` play events, counted or not.
    [[nodiscard]] QSet<QString> recentIDs(int count) const;

    // Replaces the discovery of the same kind and key.
    void setDiscovery(const Discovery &discovery);
    void markShown(const QStringList &ids);

Q_SIGNALS:
    // The stored library is in; every change signal has been sent for it.
    void loaded();
    void historyVersionChanged();
    void statsChanged();
    // Every change mark: something in the library was edited.
    void libraryChanged();
    // A downloaded file was recorded; lists showing the downloaded mark look again.
    void downloadsChanged();
    // A write of "library.json" completed.
    void saved();

private:
    [[nodiscard]] static LibraryData read(const QString &path);
    [[nodiscard]] static QHash<QString, TrackStat> statsOf(const QList<PlayEvent> &plays);
    void adopt(LibraryData data);
    // Waits for a file still being read, so an edit applies to the stored library.
    void settle();
    void changed(bool history);
    void rebuildStats();
    void prune(const QList<Track> &registering);
    Playlist *findPlaylist(const QUuid &id);
    void writeFinished();
    // Waits for the write in progress, then writes at once whatever is still pending.
    void flush();

    LibraryData m_data;
    QFutureWatcher<LibraryData> m_reader;
    bool m_loaded = false;
    QHash<QString, TrackStat> m_stats;
    int m_historyVersion = 0;
    QString m_path;
    QTimer m_saveTimer;
    QFutureWatcher<bool> m_writer;
    bool m_writing = false;
    bool m_writeAgain = false;
    bool m_quitting = false;
};
