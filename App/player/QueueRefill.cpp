#include "QueueRefill.h"

#include "MusicCatalog.h"
#include "PlayerManager.h"
#include "music/LibraryStore.h"
#include "recommend/RecommendationEngine.h"

#include <QPointer>

namespace {

constexpr qsizetype normalThreshold = 4;
constexpr qsizetype forcedThreshold = 3;
constexpr int recentlyPlayedAvoided = 40;
constexpr int recentPlaysAvoided = 30;
// A long queue cleared at once stays avoided as a whole.
constexpr qsizetype setAsideKept = 200;
constexpr int radioLength = 40;
constexpr qsizetype radioKept = 8;
constexpr int candidateCount = 4;
// Candidate i lands at 2 + 3i among the picks: one recommendation after every few radio songs.
constexpr qsizetype firstCandidateAt = 2;
constexpr qsizetype candidateSpacing = 3;
// More picks than this are enough; otherwise the fallbacks run.
constexpr qsizetype enoughPicks = 2;
constexpr int fallbackRadioLength = 30;
constexpr qsizetype fallbackRadioKept = 6;
constexpr int artistSearchCount = 15;
constexpr qsizetype artistSearchKept = 6;

// Appends the first `limit` tracks not in `avoid` (nor, with `unlessPicked`, already among the
// picks).
void takeInto(QList<Track> &picks, const QList<Track> &found, const QSet<QString> &avoid, qsizetype limit,
              bool unlessPicked)
{
    qsizetype taken = 0;
    for (const Track &track : found) {
        if (taken == limit)
            break;
        if (avoid.contains(track.id) || (unlessPicked && picks.contains(track)))
            continue;
        picks.append(track);
        ++taken;
    }
}

} // namespace

QueueRefill::QueueRefill(PlayerManager *player, LibraryStore *library, RecommendationEngine *engine,
                         MusicCatalog *catalog)
    : m_player(player)
    , m_library(library)
    , m_engine(engine)
    , m_catalog(catalog)
{}

QueueRefill::~QueueRefill()
{
    m_cancel.cancel();
    // Requests still waiting end rather than wait forever.
    if (m_running)
        m_running->finish();
}

bool QueueRefill::needed(bool force) const
{
    return m_player->nonStop() && m_player->upcoming().size() < (force ? forcedThreshold : normalThreshold);
}

QCoro::Task<> QueueRefill::request(bool force)
{
    const QPointer<QueueRefill> self(this);
    if (!needed(force))
        co_return;
    // A coroutine task can be awaited only once: requests made meanwhile share its end instead.
    // One running for the queue before a new station is only waited out.
    while (m_running) {
        const bool forThisStation = m_runningFor == m_station;
        co_await *m_running;
        if (!self || forThisStation || !needed(force))
            co_return;
    }
    SharedResult<> running;
    m_running = running;
    m_runningFor = m_station;
    Q_EMIT fillingChanged();
    co_await refill();
    if (!self)
        co_return;
    m_running.reset();
    Q_EMIT fillingChanged();
    running.finish();
}

void QueueRefill::setAside(const QList<QueueItem> &items)
{
    for (const QueueItem &item : items)
        m_setAside.append(item.track.id);
    if (m_setAside.size() > setAsideKept)
        m_setAside.remove(0, m_setAside.size() - setAsideKept);
}

void QueueRefill::requestFromTimer()
{
    const std::optional<int> index = m_player->index();
    if (index && m_emptyFor == m_player->queue().at(*index).uid())
        return;
    request(false);
}

QCoro::Task<bool> QueueRefill::refill()
{
    const std::optional<Track> seed = m_player->current();
    if (!seed)
        co_return false;
    const QUuid seedItem = m_player->queue().at(*m_player->index()).uid();
    const QPointer<QueueRefill> self(this);
    const QList<Track> picks = co_await picksFor(*seed, avoided());
    if (!self || m_runningFor != m_station)
        co_return false;
    if (picks.isEmpty()) {
        m_emptyFor = seedItem;
        co_return false;
    }
    m_player->appendFromRefill(picks);
    co_return true;
}

// Taken once, before anything is awaited.
QSet<QString> QueueRefill::avoided() const
{
    QSet<QString> avoid = m_library->recentIDs(recentPlaysAvoided);
    for (const QueueItem &item : m_player->queue())
        avoid.insert(item.track.id);
    for (const QString &id : m_setAside)
        avoid.insert(id);
    const QStringList &played = m_player->recentlyPlayed();
    for (qsizetype i = std::max<qsizetype>(0, played.size() - recentlyPlayedAvoided); i < played.size(); ++i)
        avoid.insert(played.at(i));
    return avoid;
}

QCoro::Task<QList<Track>> QueueRefill::picksFor(Track seed, QSet<QString> avoid)
{
    const QPointer<QueueRefill> self(this);
    const QList<Track> radio = co_await radioOf(seed);
    if (!self)
        co_return QList<Track>();
    QList<Track> picks;
    takeInto(picks, radio, avoid, radioKept, false);

    QSet<QString> notAgain = avoid;
    for (const Track &track : std::as_const(picks))
        notAgain.insert(track.id);
    const QList<Track> candidates = m_engine->nextCandidates(notAgain, seed, candidateCount);
    for (qsizetype i = 0; i < candidates.size(); ++i)
        picks.insert(std::min(firstCandidateAt + candidateSpacing * i, picks.size()), candidates.at(i));

    if (picks.size() <= enoughPicks) {
        if (const std::optional<QString> earlier = fallbackSeed(seed.id)) {
            const MusicResult<QList<Track>> mix = co_await m_catalog->radio(*earlier, fallbackRadioLength, m_cancel);
            if (!self)
                co_return QList<Track>();
            if (mix.ok()) {
                m_library->registerTracks(mix.value());
                takeInto(picks, mix.value(), avoid, fallbackRadioKept, false);
            }
        }
    }
    if (picks.size() <= enoughPicks) {
        const QString text = seed.artist + QStringLiteral(" songs");
        const MusicResult<QList<Track>> found = co_await m_catalog->search(text, artistSearchCount, m_cancel);
        if (!self)
            co_return QList<Track>();
        if (found.ok()) {
            m_library->registerTracks(found.value());
            takeInto(picks, found.value(), avoid, artistSearchKept, true);
        }
    }

    QSet<QString> seen;
    picks.removeIf([&seen](const Track &track) {
        const bool repeated = seen.contains(track.id);
        seen.insert(track.id);
        return repeated;
    });
    co_return picks;
}

// The song's mix as first fetched; a failed fetch counts as an empty mix, so it is not retried.
QCoro::Task<QList<Track>> QueueRefill::radioOf(Track seed)
{
    const auto cached = m_radioCache.constFind(seed.id);
    if (cached != m_radioCache.cend())
        co_return *cached;
    const QPointer<QueueRefill> self(this);
    const MusicResult<QList<Track>> mix = co_await m_catalog->radio(seed.id, radioLength, m_cancel);
    if (!self)
        co_return QList<Track>();
    const QList<Track> tracks = mix.ok() ? mix.value() : QList<Track>();
    m_radioCache.insert(seed.id, tracks);
    m_library->registerTracks(tracks);
    co_return tracks;
}

// The last song before the queue's final one that is not the seed itself; read after the first
// mix came, so it is the queue of that moment.
std::optional<QString> QueueRefill::fallbackSeed(const QString &seedID) const
{
    const QList<QueueItem> &queue = m_player->queue();
    for (qsizetype i = queue.size() - 2; i >= 0; --i) {
        if (queue.at(i).track.id != seedID)
            return queue.at(i).track.id;
    }
    return std::nullopt;
}
