#pragma once

#include "HomeSection.h"
#include "TrackScorer.h"

#include <QList>
#include <QSet>

#include <optional>

class LibraryStore;

// The builders of one Home refresh. They share the inputs gathered once for the refresh and the
// set of track ids already placed on a shelf, so a track that an earlier builder showed is kept
// off the later de-duplicating shelves. Each builder returns its section, or none when it has too
// little to show. Build a new instance for every refresh.
class SectionBuilders
{
public:
    // `pool` is every track worth ranking, `ranked` the same tracks best first, and `resume` the
    // tracks last left unfinished, newest first.
    SectionBuilders(const LibraryStore &library, const TrackScorer &scorer, QList<Track> pool, QList<Track> ranked,
                    QList<Track> resume);

    [[nodiscard]] std::optional<HomeSection> resume();
    [[nodiscard]] std::optional<HomeSection> quickPicks();
    [[nodiscard]] std::optional<HomeSection> because(const Track &seed);
    [[nodiscard]] std::optional<HomeSection> madeForYou();
    [[nodiscard]] std::optional<HomeSection> newFromFavorites();
    [[nodiscard]] std::optional<HomeSection> mixes() const;
    [[nodiscard]] std::optional<HomeSection> radio() const;
    [[nodiscard]] std::optional<HomeSection> playlists() const;
    [[nodiscard]] std::optional<HomeSection> recent();
    [[nodiscard]] std::optional<HomeSection> forgotten();
    [[nodiscard]] std::optional<HomeSection> liked();
    [[nodiscard]] std::optional<HomeSection> downloads();
    [[nodiscard]] std::optional<HomeSection> genres() const;

    // How willing the listener is to try new songs: 1 for one who never skips, 0 from a skip rate of
    // one half upwards.
    [[nodiscard]] double openness() const;

    // The fourteen genres offered when the profile knows none, in display order.
    [[nodiscard]] static QStringList defaultGenres();

private:
    // With `dedupe`, tracks already on a shelf are dropped; the first `max` of the rest are placed,
    // unless fewer than `min` remain.
    [[nodiscard]] std::optional<QList<Track>> take(QList<Track> tracks, qsizetype min, qsizetype max, bool dedupe);
    [[nodiscard]] bool isPlayed(const QString &id) const;
    [[nodiscard]] QList<Track> unplayed(const QList<Track> &tracks) const;
    [[nodiscard]] std::optional<Station> genreMix() const;

    const LibraryStore &m_library;
    const TrackScorer &m_scorer;
    QHash<QString, TrackStat> m_stats;
    QList<Track> m_pool;
    QList<Track> m_ranked;
    QList<Track> m_resume;
    QSet<QString> m_taken;
};
