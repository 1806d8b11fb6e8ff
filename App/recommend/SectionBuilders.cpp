#include "SectionBuilders.h"

#include "RecommendText.h"
#include "RecommendationEngine.h"
#include "music/LibraryStore.h"

#include <algorithm>

namespace {

constexpr qsizetype shelfMax = 14;
constexpr int perArtist = 2;
constexpr qsizetype forgottenAfterSeconds = 7 * 86400;

HomeSection section(const QString &id, const QString &title, const std::optional<QString> &subtitle,
                    const SectionContent &content)
{
    return HomeSection{id, title, subtitle, content};
}

HomeSection trackShelf(const QString &id, const QString &title, const std::optional<QString> &subtitle,
                       const QList<Track> &tracks)
{
    return section(id, title, subtitle, SectionContent::ofTracks(SectionContent::Kind::Tracks, tracks));
}

} // namespace

SectionBuilders::SectionBuilders(const LibraryStore &library, const TrackScorer &scorer, QList<Track> pool,
                                 QList<Track> ranked, QList<Track> resume)
    : m_library(library)
    , m_scorer(scorer)
    , m_stats(library.stats())
    , m_pool(std::move(pool))
    , m_ranked(std::move(ranked))
    , m_resume(std::move(resume))
{}

double SectionBuilders::openness() const
{
    return std::max(0.0, 1 - 2 * m_scorer.profile().skipRate);
}

QStringList SectionBuilders::defaultGenres()
{
    return {QStringLiteral("Pop"),        QStringLiteral("Hip-Hop"),   QStringLiteral("Rock"),
            QStringLiteral("Electronic"), QStringLiteral("Lofi"),      QStringLiteral("Jazz"),
            QStringLiteral("R&B"),        QStringLiteral("Latin"),     QStringLiteral("Country"),
            QStringLiteral("Indie"),      QStringLiteral("Classical"), QStringLiteral("K-Pop"),
            QStringLiteral("Metal"),      QStringLiteral("Chill")};
}

std::optional<QList<Track>> SectionBuilders::take(QList<Track> tracks, qsizetype min, qsizetype max, bool dedupe)
{
    if (dedupe)
        tracks.removeIf([this](const Track &track) { return m_taken.contains(track.id); });
    if (tracks.size() > max)
        tracks.resize(max);
    if (tracks.size() < min)
        return std::nullopt;
    for (const Track &track : std::as_const(tracks))
        m_taken.insert(track.id);
    return tracks;
}

bool SectionBuilders::isPlayed(const QString &id) const
{
    const auto stat = m_stats.constFind(id);
    return stat != m_stats.cend() && stat->plays > 0;
}

QList<Track> SectionBuilders::unplayed(const QList<Track> &tracks) const
{
    QList<Track> result;
    for (const Track &track : tracks) {
        if (!isPlayed(track.id))
            result.append(track);
    }
    return result;
}

std::optional<HomeSection> SectionBuilders::resume()
{
    const auto tracks = take(m_resume, 1, 6, true);
    if (!tracks)
        return std::nullopt;
    return section(QStringLiteral("resume"), QStringLiteral("Continue Listening"),
                   QStringLiteral("Pick up where you left off"),
                   SectionContent::ofTracks(SectionContent::Kind::Resume, *tracks));
}

std::optional<HomeSection> SectionBuilders::quickPicks()
{
    QList<Track> familiar;
    QList<Track> fresh;
    for (const Track &track : std::as_const(m_ranked)) {
        if (!m_taken.contains(track.id))
            (isPlayed(track.id) ? familiar : fresh).append(track);
    }
    // A listener who rarely skips is offered something new first.
    const bool freshFirst = openness() > 0.6;
    const QList<Track> &first = freshFirst ? fresh : familiar;
    const QList<Track> &second = freshFirst ? familiar : fresh;
    QList<Track> mixed;
    for (qsizetype i = 0; (i < first.size() || i < second.size()) && mixed.size() < 30; ++i) {
        if (i < first.size())
            mixed.append(first.at(i));
        if (i < second.size())
            mixed.append(second.at(i));
    }
    const auto tracks = take(RecommendationEngine::diversified(mixed, 12, perArtist), 5, 12, true);
    if (!tracks)
        return std::nullopt;
    return trackShelf(QStringLiteral("quick"), QStringLiteral("Quick Picks"), QStringLiteral("Start radio from a song"),
                      *tracks);
}

std::optional<HomeSection> SectionBuilders::because(const Track &seed)
{
    const QList<Discovery> discoveries = m_library.discoveries();
    const auto mix = std::find_if(discoveries.cbegin(), discoveries.cend(), [&seed](const Discovery &discovery) {
        return discovery.kind == Discovery::Kind::Radio && discovery.key == seed.id;
    });
    if (mix == discoveries.cend())
        return std::nullopt;
    QList<Track> candidates = unplayed(m_library.tracks(mix->ids));
    candidates.removeIf([&seed](const Track &track) { return track.id == seed.id; });
    const auto tracks = take(candidates, 5, shelfMax, true);
    if (!tracks)
        return std::nullopt;
    return trackShelf(QStringLiteral("because-") + seed.id, QStringLiteral("Because You Played ") + seed.title,
                      seed.artist, *tracks);
}

std::optional<HomeSection> SectionBuilders::madeForYou()
{
    QSet<QString> discovered;
    for (const Discovery &discovery : m_library.discoveries()) {
        for (const QString &id : discovery.ids)
            discovered.insert(id);
    }
    // Every discovered track in the catalog is in the pool, so the ranked pool already holds them
    // by score, with equal scores in id order.
    QList<Track> candidates;
    for (const Track &track : std::as_const(m_ranked)) {
        if (discovered.contains(track.id) && !isPlayed(track.id))
            candidates.append(track);
    }
    const auto tracks = take(RecommendationEngine::diversified(candidates, shelfMax, perArtist), 6, shelfMax, true);
    if (!tracks)
        return std::nullopt;
    return trackShelf(QStringLiteral("madeforyou"), QStringLiteral("Made For You"),
                      QStringLiteral("Fresh music based on what you play"), *tracks);
}

std::optional<HomeSection> SectionBuilders::newFromFavorites()
{
    QList<Discovery> newest = m_library.discoveries();
    newest.removeIf([](const Discovery &discovery) { return discovery.kind != Discovery::Kind::NewFrom; });
    std::stable_sort(newest.begin(), newest.end(),
                     [](const Discovery &a, const Discovery &b) { return a.date > b.date; });
    QList<Track> candidates;
    for (const Discovery &discovery : std::as_const(newest))
        candidates.append(unplayed(m_library.tracks(discovery.ids)));
    const auto tracks = take(candidates, 3, shelfMax, true);
    if (!tracks)
        return std::nullopt;
    return trackShelf(QStringLiteral("newfav"), QStringLiteral("New From Your Favorites"),
                      QStringLiteral("Latest uploads from artists you play"), *tracks);
}

std::optional<HomeSection> SectionBuilders::mixes() const
{
    QStringList artists = ListeningProfile::heaviest(m_scorer.profile().artists, 0.3);
    if (artists.size() > 6)
        artists.resize(6);
    // Each artist's most played track in the pool seeds its mix; the first in pool order wins a tie.
    QHash<QString, Track> seeds;
    for (const Track &track : std::as_const(m_pool)) {
        const QString key = RecommendText::artistKey(track.artist);
        if (!artists.contains(key))
            continue;
        const auto seed = seeds.constFind(key);
        if (seed == seeds.cend() || m_stats.value(track.id).plays > m_stats.value(seed->id).plays)
            seeds.insert(key, track);
    }
    QList<Station> stations;
    for (const QString &key : std::as_const(artists)) {
        const auto seed = seeds.constFind(key);
        if (seed != seeds.cend()) {
            stations.append(Station{QStringLiteral("mix-") + key, seed->artist + QStringLiteral(" Mix"),
                                    QStringLiteral("Based on ") + seed->artist, *seed, std::nullopt});
        }
    }
    if (const std::optional<Station> genre = genreMix())
        stations.insert(std::min<qsizetype>(stations.size(), 1), *genre);
    if (stations.size() < 2)
        return std::nullopt;
    if (stations.size() > 8)
        stations.resize(8);
    return section(QStringLiteral("mixes"), QStringLiteral("Your Mixes"),
                   QStringLiteral("Endless mixes built around your favorites"), SectionContent::ofStations(stations));
}

std::optional<Station> SectionBuilders::genreMix() const
{
    const QStringList genres = ListeningProfile::heaviest(m_scorer.profile().genres, 0.5);
    if (genres.isEmpty())
        return std::nullopt;
    const QString &genre = genres.first();
    const auto seed =
        std::find_if(m_pool.cbegin(), m_pool.cend(), [&genre](const Track &track) { return track.genre == genre; });
    if (seed == m_pool.cend())
        return std::nullopt;
    return Station{QStringLiteral("mix-genre-") + genre, RecommendText::capitalized(genre) + QStringLiteral(" Mix"),
                   QStringLiteral("Your top genre"), *seed, genre + QStringLiteral(" music mix")};
}

std::optional<HomeSection> SectionBuilders::radio() const
{
    QList<Station> stations;
    QSet<QString> artists;
    for (const Track &track : m_library.recentTracks(30)) {
        if (stations.size() == 8)
            break;
        const QString key = RecommendText::artistKey(track.artist);
        if (artists.contains(key))
            continue;
        artists.insert(key);
        stations.append(Station{QStringLiteral("radio-") + track.id, track.title + QStringLiteral(" Radio"),
                                track.artist, track, std::nullopt});
    }
    if (stations.size() < 3)
        return std::nullopt;
    return section(QStringLiteral("radio"), QStringLiteral("Radio"),
                   QStringLiteral("Never-ending stations from songs you played"), SectionContent::ofStations(stations));
}

std::optional<HomeSection> SectionBuilders::playlists() const
{
    QList<QUuid> ids;
    for (const Playlist &playlist : m_library.playlists()) {
        if (!playlist.tracks.isEmpty())
            ids.append(playlist.id);
    }
    if (ids.isEmpty())
        return std::nullopt;
    return section(QStringLiteral("playlists"), QStringLiteral("Your Playlists"), std::nullopt,
                   SectionContent::ofPlaylists(ids));
}

std::optional<HomeSection> SectionBuilders::recent()
{
    const auto tracks = take(m_library.recentTracks(20), 4, shelfMax, false);
    if (!tracks)
        return std::nullopt;
    return trackShelf(QStringLiteral("recent"), QStringLiteral("Recently Played"), std::nullopt, *tracks);
}

std::optional<HomeSection> SectionBuilders::forgotten()
{
    const QDateTime before = m_scorer.now().addSecs(-forgottenAfterSeconds);
    QList<std::pair<QDateTime, Track>> loved;
    for (const Track &track : std::as_const(m_pool)) {
        const auto stat = m_stats.constFind(track.id);
        if (stat != m_stats.cend() && stat->plays >= 2 && stat->last < before && stat->skips < 2)
            loved.append({stat->last, track});
    }
    std::stable_sort(loved.begin(), loved.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<Track> candidates;
    for (const auto &entry : std::as_const(loved))
        candidates.append(entry.second);
    const auto tracks = take(candidates, 4, shelfMax, true);
    if (!tracks)
        return std::nullopt;
    return trackShelf(QStringLiteral("forgotten"), QStringLiteral("Forgotten Favorites"),
                      QStringLiteral("Songs you loved a while ago"), *tracks);
}

std::optional<HomeSection> SectionBuilders::liked()
{
    const auto tracks = take(m_library.tracks(m_library.likes()), 4, shelfMax, false);
    if (!tracks)
        return std::nullopt;
    return trackShelf(QStringLiteral("liked"), QStringLiteral("Liked Songs"), std::nullopt, *tracks);
}

std::optional<HomeSection> SectionBuilders::downloads()
{
    const auto tracks = take(m_library.downloadedTracks(), 3, shelfMax, false);
    if (!tracks)
        return std::nullopt;
    return trackShelf(QStringLiteral("downloads"), QStringLiteral("Downloads"), QStringLiteral("Available offline"),
                      *tracks);
}

std::optional<HomeSection> SectionBuilders::genres() const
{
    QStringList names;
    for (const QString &genre : ListeningProfile::heaviest(m_scorer.profile().genres, 0))
        names.append(RecommendText::capitalized(genre));
    for (const QString &genre : defaultGenres()) {
        const bool listed = std::any_of(names.cbegin(), names.cend(), [&genre](const QString &name) {
            return name.compare(genre, Qt::CaseInsensitive) == 0;
        });
        if (!listed)
            names.append(genre);
    }
    return section(QStringLiteral("genres"), QStringLiteral("Explore by Genre"), std::nullopt,
                   SectionContent::ofGenres(names));
}
