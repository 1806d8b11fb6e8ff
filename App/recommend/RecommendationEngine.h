#pragma once

#include "HomeSection.h"
#include "ListeningProfile.h"
#include "TrackScorer.h"
#include "music/Discovery.h"

#include <QCoroTask>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <functional>
#include <optional>

class LibraryStore;
class MusicCatalog;
class QRandomGenerator;

// Ranks the tracks of the local library from the play log and the likes alone, and builds the Home
// sections from them.
//
// Nothing is cached between calls: each ranking pass builds the profile and the pool afresh, reads
// the clock once, and scores against the jitter seed. The seed is drawn at construction and again
// whenever the listening history has settled after a change, just before the sections are rebuilt,
// so rankings hold still between history changes and are reshuffled a little after each one.
//
// In the background it also widens the library: discovery asks the catalogue for the mixes of
// recent favourites and the newest uploads of top artists, and remembers what it found.
class RecommendationEngine final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isDiscovering READ isDiscovering NOTIFY isDiscoveringChanged)

public:
    using Clock = std::function<QDateTime()>;

    // Builds the first sections at once; shown counts are only recorded by rebuilds that follow a
    // history change.
    RecommendationEngine(LibraryStore *library, MusicCatalog *catalog, Clock clock, QRandomGenerator *random,
                         QObject *parent = nullptr);

    // The Home screen in display order.
    [[nodiscard]] QList<HomeSection> sections() const { return m_sections; }
    [[nodiscard]] quint64 seed() const { return m_seed; }

    [[nodiscard]] ListeningProfile profile() const;
    // A scorer for one ranking pass with the given profile and time.
    [[nodiscard]] TrackScorer scorer(const ListeningProfile &profile, const QDateTime &now) const;
    // Every catalog track worth ranking: played, liked, discovered or in a playlist, in id order.
    [[nodiscard]] QList<Track> pool() const;

    // Up to `count` tracks to play next, best first, at most two per artist: none from `avoid`,
    // none of 20 minutes or longer, with a bonus for the artist and genre of `near`.
    [[nodiscard]] QList<Track> nextCandidates(const QSet<QString> &avoid, const std::optional<Track> &near,
                                              int count) const;
    // Recent favourites, one per artist, newest first, with up to three liked tracks near the front.
    [[nodiscard]] QList<Track> seedTracks(int limit) const;

    // Rebuilds the sections; with `countShown`, first records the tracks of the personalised
    // shelves as shown.
    void refresh(bool countShown);

    // The tracks in order, at most `perArtist` of one artist, until `limit` are taken.
    [[nodiscard]] static QList<Track> diversified(const QList<Track> &tracks, qsizetype limit, int perArtist);

    // Starts a discovery run unless one is running. Runs never fail: whatever the catalogue cannot
    // answer is simply tried again by a later run.
    void discover();
    // True while a run that found yt-dlp is in progress.
    [[nodiscard]] bool isDiscovering() const { return m_isDiscovering; }

    // How long the history must stay unchanged before the sections are rebuilt (2 s).
    void setHistoryDebounceInterval(int milliseconds);

Q_SIGNALS:
    void sectionsChanged();
    void isDiscoveringChanged();

private:
    void historySettled();
    [[nodiscard]] quint64 drawSeed() const;
    QCoro::Task<> runDiscovery();
    // Each returns whether it stored a discovery.
    QCoro::Task<bool> discoverRadio(Track seed, QDateTime now);
    QCoro::Task<bool> discoverNewest(QString artist, QDateTime now);
    [[nodiscard]] bool isFresh(Discovery::Kind kind, const QString &key, const QDateTime &now, qint64 lifetime) const;
    void setDiscovering(bool discovering);
    // The newest unfinished plays that were listened to for a while, one per track, newest first.
    [[nodiscard]] QList<Track> resumeCandidates() const;

    LibraryStore *m_library;
    MusicCatalog *m_catalog;
    Clock m_clock;
    QRandomGenerator *m_random;
    QList<HomeSection> m_sections;
    quint64 m_seed;
    QTimer m_historyTimer;
    bool m_discoverRunning = false;
    bool m_isDiscovering = false;
};
