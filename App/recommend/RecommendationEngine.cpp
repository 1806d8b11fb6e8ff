#include "RecommendationEngine.h"

#include "RecommendText.h"
#include "SectionBuilders.h"
#include "core/TextHelpers.h"
#include "core/Tool.h"
#include "music/LibraryStore.h"
#include "player/MusicCatalog.h"

#include <QFileInfo>
#include <QPointer>
#include <QRandomGenerator>

#include <algorithm>
#include <limits>

namespace {

constexpr int historyDebounceMs = 2000;
constexpr double longestCandidate = 1200;
constexpr double sameArtistBonus = 1.0;
constexpr double sameGenreBonus = 0.7;
constexpr qsizetype resumeLimit = 6;
constexpr qsizetype likedSeeds = 3;

constexpr int discoverySeeds = 4;
constexpr int radioDiscoveriesPerRun = 2;
constexpr int radioDiscoveryLength = 30;
constexpr qint64 radioFreshSeconds = 72000;
constexpr double topArtistWeight = 0.5;
constexpr qsizetype topArtists = 3;
constexpr int newestUploads = 8;
constexpr qint64 newestFreshSeconds = 86400;

// Plain substring tests both ways on the artist, one way on the title: a featured credit and a
// shorter spelling of the name both count. An empty key never matches.
bool byArtist(const Track &track, const QString &artist)
{
    const QString key = RecommendText::artistKey(track.artist);
    const auto within = [](const QString &needle, const QString &haystack) {
        return !needle.isEmpty() && haystack.contains(needle);
    };
    return within(artist, key) || within(key, artist) || within(artist, track.title.toLower());
}

// The tracks of the shelves picked for this listener, in shelf order: only these wear off with
// each showing, so the same picks do not greet the listener every time.
QStringList personalTrackIDs(const QList<HomeSection> &sections)
{
    QStringList ids;
    for (const HomeSection &section : sections) {
        const bool personal = section.id == QLatin1String("quick") || section.id == QLatin1String("madeforyou") ||
                              section.id == QLatin1String("newfav") || section.id.startsWith(QLatin1String("because-"));
        if (!personal)
            continue;
        for (const Track &track : section.content.tracks)
            ids.append(track.id);
    }
    return ids;
}

} // namespace

RecommendationEngine::RecommendationEngine(LibraryStore *library, MusicCatalog *catalog, Clock clock,
                                           QRandomGenerator *random, QObject *parent)
    : QObject(parent)
    , m_library(library)
    , m_catalog(catalog)
    , m_clock(std::move(clock))
    , m_random(random)
    , m_seed(drawSeed())
    , m_historyTimer(this)
{
    m_historyTimer.setSingleShot(true);
    m_historyTimer.setInterval(historyDebounceMs);
    connect(&m_historyTimer, &QTimer::timeout, this, &RecommendationEngine::historySettled);
    connect(m_library, &LibraryStore::historyVersionChanged, &m_historyTimer, qOverload<>(&QTimer::start));
    // The stored history arriving is no new listening: no new picks, no discovery. Home ranks it
    // once the window has drawn.
    connect(m_library, &LibraryStore::loaded, &m_historyTimer, &QTimer::stop);
    refresh(false);
}

void RecommendationEngine::setHistoryDebounceInterval(int milliseconds)
{
    m_historyTimer.setInterval(milliseconds);
}

quint64 RecommendationEngine::drawSeed() const
{
    // Uniform over 1 … 2^64 − 1: a seed of 0 would leave the hash basis unchanged.
    quint64 value = 0;
    do {
        value = m_random->generate64();
    } while (value == std::numeric_limits<quint64>::max());
    return value + 1;
}

void RecommendationEngine::historySettled()
{
    m_seed = drawSeed();
    refresh(true);
    discover();
}

void RecommendationEngine::discover()
{
    if (m_discoverRunning)
        return;
    m_discoverRunning = true;
    runDiscovery();
}

void RecommendationEngine::setDiscovering(bool discovering)
{
    if (m_isDiscovering == discovering)
        return;
    m_isDiscovering = discovering;
    Q_EMIT isDiscoveringChanged();
}

bool RecommendationEngine::isFresh(Discovery::Kind kind, const QString &key, const QDateTime &now,
                                   qint64 lifetime) const
{
    for (const Discovery &discovery : m_library->discoveries()) {
        if (discovery.kind == kind && discovery.key == key)
            return discovery.date.secsTo(now) < lifetime;
    }
    return false;
}

QCoro::Task<> RecommendationEngine::runDiscovery()
{
    const QPointer<RecommendationEngine> self(this);
    if (!QFileInfo(Tools::path(Tool::Ytdlp)).isExecutable()) {
        m_discoverRunning = false;
        co_return;
    }
    setDiscovering(true);
    const QDateTime now = m_clock();

    int stored = 0;
    for (const Track &seed : seedTracks(discoverySeeds)) {
        if (stored >= radioDiscoveriesPerRun)
            break;
        if (isFresh(Discovery::Kind::Radio, seed.id, now, radioFreshSeconds))
            continue;
        const bool found = co_await discoverRadio(seed, now);
        if (!self)
            co_return;
        if (found)
            ++stored;
    }

    QStringList artists = ListeningProfile::heaviest(profile().artists, topArtistWeight);
    if (artists.size() > topArtists)
        artists.resize(topArtists);
    for (const QString &artist : std::as_const(artists)) {
        if (isFresh(Discovery::Kind::NewFrom, artist, now, newestFreshSeconds))
            continue;
        const bool found = co_await discoverNewest(artist, now);
        if (!self)
            co_return;
        // One artist's uploads per run: the others wait for a later one.
        if (found)
            break;
    }

    setDiscovering(false);
    m_discoverRunning = false;
}

QCoro::Task<bool> RecommendationEngine::discoverRadio(Track seed, QDateTime now)
{
    const QPointer<RecommendationEngine> self(this);
    const MusicResult<QList<Track>> mix = co_await m_catalog->radio(seed.id, radioDiscoveryLength, CancelToken());
    if (!self || !mix.ok() || mix.value().isEmpty())
        co_return false;
    m_library->registerTracks(mix.value());
    Discovery discovery{Discovery::Kind::Radio, seed.id, seed.title, {}, now};
    for (const Track &track : mix.value()) {
        if (track.id != seed.id)
            discovery.ids.append(track.id);
    }
    m_library->setDiscovery(discovery);
    refresh(false);
    co_return true;
}

QCoro::Task<bool> RecommendationEngine::discoverNewest(QString artist, QDateTime now)
{
    const QPointer<RecommendationEngine> self(this);
    const MusicResult<QList<Track>> uploads = co_await m_catalog->searchNewest(artist, newestUploads, CancelToken());
    if (!self || !uploads.ok() || uploads.value().isEmpty())
        co_return false;
    QList<Track> kept = uploads.value();
    kept.removeIf([&artist](const Track &track) { return !byArtist(track, artist); });
    m_library->registerTracks(kept);
    // Stored even when nothing passed, so the artist rests for a day rather than being asked again.
    Discovery discovery{Discovery::Kind::NewFrom, artist, artist, {}, now};
    for (const Track &track : std::as_const(kept))
        discovery.ids.append(track.id);
    m_library->setDiscovery(discovery);
    refresh(false);
    co_return true;
}

ListeningProfile RecommendationEngine::profile() const
{
    return ListeningProfile::build(*m_library, m_clock());
}

TrackScorer RecommendationEngine::scorer(const ListeningProfile &profile, const QDateTime &now) const
{
    const QStringList likes = m_library->likes();
    return TrackScorer(profile, QSet<QString>(likes.cbegin(), likes.cend()), m_library->stats(), m_library->shown(),
                       m_seed, now);
}

QList<Track> RecommendationEngine::pool() const
{
    const QHash<QString, TrackStat> stats = m_library->stats();
    QSet<QString> ids(stats.keyBegin(), stats.keyEnd());
    for (const QString &id : m_library->likes())
        ids.insert(id);
    for (const Discovery &discovery : m_library->discoveries()) {
        for (const QString &id : discovery.ids)
            ids.insert(id);
    }
    for (const Playlist &playlist : m_library->playlists()) {
        for (const Track &track : playlist.tracks)
            ids.insert(track.id);
    }
    // Sorted, so equal scores rank alike in every process whatever the hash order.
    QStringList ordered(ids.cbegin(), ids.cend());
    std::sort(ordered.begin(), ordered.end(), codePointLess);
    return m_library->tracks(ordered);
}

QList<Track> RecommendationEngine::nextCandidates(const QSet<QString> &avoid, const std::optional<Track> &near,
                                                  int count) const
{
    const QDateTime now = m_clock();
    QList<Track> candidates = pool();
    candidates.removeIf([&avoid](const Track &track) {
        return avoid.contains(track.id) || (track.duration && *track.duration >= longestCandidate);
    });
    const QString nearArtist = near ? RecommendText::artistKey(near->artist) : QString();
    std::function<double(const Track &)> resemblance;
    if (near) {
        resemblance = [&near, &nearArtist](const Track &track) {
            double bonus = RecommendText::artistKey(track.artist) == nearArtist ? sameArtistBonus : 0.0;
            if (track.genre && near->genre && *track.genre == *near->genre)
                bonus += sameGenreBonus;
            return bonus;
        };
    }
    const QList<Track> ranked = scorer(ListeningProfile::build(*m_library, now), now).ranked(candidates, resemblance);
    return diversified(ranked, count, 2);
}

QList<Track> RecommendationEngine::seedTracks(int limit) const
{
    const QHash<QString, Track> catalog = m_library->catalog();
    const QList<PlayEvent> plays = m_library->plays();
    QList<Track> candidates;
    // Once the plays walked so far hold `limit` artists, older plays can no longer be taken.
    QSet<QString> artists;
    for (auto event = plays.crbegin(); event != plays.crend() && artists.size() < limit; ++event) {
        if (event->skipped || !event->isCounted())
            continue;
        const auto track = catalog.constFind(event->trackID);
        if (track != catalog.cend()) {
            candidates.append(*track);
            artists.insert(RecommendText::artistKey(track->artist));
        }
    }
    QList<Track> liked = m_library->tracks(m_library->likes());
    if (liked.size() > likedSeeds)
        liked.resize(likedSeeds);
    // Liked songs come right after the two latest plays.
    const qsizetype at = std::min<qsizetype>(candidates.size(), 2);
    for (qsizetype i = 0; i < liked.size(); ++i)
        candidates.insert(at + i, liked.at(i));
    return diversified(candidates, limit, 1);
}

QList<Track> RecommendationEngine::resumeCandidates() const
{
    const QHash<QString, Track> catalog = m_library->catalog();
    const QList<PlayEvent> plays = m_library->plays();
    QSet<QString> seen;
    QList<Track> result;
    for (auto event = plays.crbegin(); event != plays.crend() && result.size() < resumeLimit; ++event) {
        if (seen.contains(event->trackID))
            continue;
        seen.insert(event->trackID);
        if (event->completed || event->skipped || !event->isCounted())
            continue;
        const auto track = catalog.constFind(event->trackID);
        if (track != catalog.cend())
            result.append(*track);
    }
    return result;
}

QList<Track> RecommendationEngine::diversified(const QList<Track> &tracks, qsizetype limit, int perArtist)
{
    QList<Track> result;
    QHash<QString, int> taken;
    for (const Track &track : tracks) {
        if (result.size() >= limit)
            break;
        int &count = taken[RecommendText::artistKey(track.artist)];
        if (count < perArtist) {
            ++count;
            result.append(track);
        }
    }
    return result;
}

void RecommendationEngine::refresh(bool countShown)
{
    const QDateTime now = m_clock();
    const TrackScorer scorer = this->scorer(ListeningProfile::build(*m_library, now), now);
    const QList<Track> pool = this->pool();
    SectionBuilders build(*m_library, scorer, pool, scorer.ranked(pool), resumeCandidates());
    const QList<Track> seeds = seedTracks(3);
    const double f = build.openness();
    const double g = scorer.profile().repeatFactor;

    struct Builder
    {
        double priority;
        std::function<std::optional<HomeSection>()> make;
    };
    QList<Builder> builders{
        {100, [&] { return build.resume(); }},
        {90, [&] { return build.quickPicks(); }},
    };
    if (seeds.size() > 0)
        builders.append({82, [&] { return build.because(seeds.at(0)); }});
    if (seeds.size() > 1)
        builders.append({72, [&] { return build.because(seeds.at(1)); }});
    builders.append({
        {70 + 15 * f, [&] { return build.madeForYou(); }},
        {66 + 15 * f, [&] { return build.newFromFavorites(); }},
        {64 + 10 * f, [&] { return build.mixes(); }},
        {55, [&] { return build.radio(); }},
        {60, [&] { return build.playlists(); }},
        {50 + 20 * g, [&] { return build.recent(); }},
        {45 + 15 * g, [&] { return build.forgotten(); }},
        {40, [&] { return build.liked(); }},
        {35, [&] { return build.downloads(); }},
        {30, [&] { return build.genres(); }},
    });
    // Equal priorities keep the order above, which also decides which shelf keeps a shared track.
    std::stable_sort(builders.begin(), builders.end(),
                     [](const Builder &a, const Builder &b) { return a.priority > b.priority; });

    QList<HomeSection> sections;
    for (const Builder &builder : std::as_const(builders)) {
        if (std::optional<HomeSection> section = builder.make())
            sections.append(std::move(*section));
    }

    if (countShown)
        m_library->markShown(personalTrackIDs(sections));
    m_sections = std::move(sections);
    Q_EMIT sectionsChanged();
}
