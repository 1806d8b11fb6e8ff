#pragma once

#include "HomeSection.h"
#include "ListeningProfile.h"
#include "TrackScorer.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <functional>
#include <optional>

class LibraryStore;
class QRandomGenerator;

// Ranks the tracks of the local library from the play log and the likes alone, and builds the Home
// sections from them.
//
// Nothing is cached between calls: each ranking pass builds the profile and the pool afresh, reads
// the clock once, and scores against the jitter seed. The seed is drawn at construction and again
// whenever the listening history has settled after a change, just before the sections are rebuilt,
// so rankings hold still between history changes and are reshuffled a little after each one.
class RecommendationEngine final : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    // Builds the first sections at once; shown counts are only recorded by rebuilds that follow a
    // history change.
    RecommendationEngine(LibraryStore *library, Clock clock, QRandomGenerator *random, QObject *parent = nullptr);

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

    // How long the history must stay unchanged before the sections are rebuilt (2 s).
    void setHistoryDebounceInterval(int milliseconds);

Q_SIGNALS:
    void sectionsChanged();

private:
    void historySettled();
    [[nodiscard]] quint64 drawSeed() const;
    // The newest unfinished plays that were listened to for a while, one per track, newest first.
    [[nodiscard]] QList<Track> resumeCandidates() const;

    LibraryStore *m_library;
    Clock m_clock;
    QRandomGenerator *m_random;
    QList<HomeSection> m_sections;
    quint64 m_seed;
    QTimer m_historyTimer;
};
