#include "ItemLoader.h"

#include "AudioBackend.h"
#include "PlayerManager.h"
#include "core/LogManager.h"
#include "music/ArtworkManager.h"
#include "music/LibraryStore.h"

#include <QPointer>

#include <cmath>

namespace {

// A retry resumes where the failed attempt broke off only past the first seconds.
constexpr double resumeThreshold = 3.0;
// Attempts 0, 1 and 2 each ask for another stream format; then the song is given up.
constexpr int lastAttempt = 2;
// Given-up songs in a row after which playback stops instead of skipping on.
constexpr int maxSkippedFailures = 4;
// An end this far short of the known length is a broken stream, not the song's end.
constexpr double interruptedMargin = 5.0;
// A seek this short is not worth starting mid-song for.
constexpr double smallestSeek = 1.0;

} // namespace

ItemLoader::ItemLoader(PlayerManager &player, LibraryStore *library, AudioBackend *audio, MusicCatalog *catalog,
                       ArtworkManager *artwork, std::function<double()> clock)
    : m_player(player)
    , m_library(library)
    , m_audio(audio)
    , m_artwork(artwork)
    , m_streams(library, catalog, std::move(clock))
{
    connect(m_audio, &AudioBackend::ready, this, &ItemLoader::itemReady);
    connect(m_audio, &AudioBackend::ended, this, &ItemLoader::itemEnded);
    connect(m_audio, &AudioBackend::failed, this, &ItemLoader::handleFailure);
}

ItemLoader::~ItemLoader()
{
    m_cancel.cancel();
}

void ItemLoader::loadNew(const QString &shown)
{
    m_pendingSeek.reset();
    m_attempt = 0;
    loadCurrent(shown);
}

void ItemLoader::loadCurrent(const QString &shown)
{
    const std::optional<Track> track = m_player.current();
    if (!track)
        return;
    m_cancel.cancel();
    m_cancel = CancelToken();
    m_audio->pause();
    m_audio->stop();
    // What the image cache holds already shows at once; the large picture follows.
    const QList<QUrl> large = track->artwork(true);
    const QList<QUrl> small = track->artwork(false);
    const QUrl quick = !large.isEmpty() ? large.last() : small.value(0);
    m_player.loadStarted(shown, track->duration.value_or(0), m_artwork->cached(quick));
    loadArtwork(*track);
    runLoad(*track, m_attempt, m_cancel);
}

void ItemLoader::loadArtwork(const Track &track)
{
    runArtwork(track);
}

QCoro::Task<> ItemLoader::runArtwork(Track track)
{
    const QPointer<ItemLoader> self(this);
    const QImage image = co_await m_artwork->image(track.artwork(true));
    if (self)
        m_player.artworkLoaded(track.id, image);
}

void ItemLoader::prefetchNext()
{
    const std::optional<int> index = m_player.index();
    if (!index || *index + 1 >= m_player.queue().size())
        return;
    m_streams.prefetch(m_player.queue().at(*index + 1).track);
}

QCoro::Task<> ItemLoader::runLoad(Track track, int attempt, CancelToken cancel)
{
    const QPointer<ItemLoader> self(this);
    const MusicResult<StreamSource::Found> found = co_await m_streams.find(track, attempt, cancel);
    // A newer load, or another song, makes this result stale.
    if (!self || cancel.isCancelled() || !m_player.current() || m_player.current()->id != track.id)
        co_return;
    if (!found.ok()) {
        handleFailure(found.error().message);
        co_return;
    }
    if (found.value().stream)
        applyMetadata(found.value().stream->track);
    start(found.value().url, found.value().headers);
}

void ItemLoader::applyMetadata(const Track &resolved)
{
    const std::optional<Track> track = m_player.current();
    if (!track || track->id != resolved.id)
        return;
    Track merged = resolved;
    if (!merged.genre)
        merged.genre = track->genre;
    m_player.detailsResolved(merged);
    m_library->update(merged);
}

void ItemLoader::start(const QUrl &url, const QMap<QString, QString> &headers)
{
    const double startAt = m_pendingSeek.value_or(0) > smallestSeek ? *m_pendingSeek : 0;
    m_pendingSeek.reset();
    if (startAt > 0)
        m_player.startsAt(startAt);
    m_audio->load(url, headers, startAt, m_player.isPlaying());
    prefetchNext();
}

void ItemLoader::itemReady(double duration)
{
    m_consecutiveFailures = 0;
    m_player.loaded(duration);
}

// mpv reports a network stream cut short as a normal end; only the position tells them apart.
void ItemLoader::itemEnded()
{
    const double at = m_audio->position();
    if (std::isfinite(at))
        m_player.stoppedAt(at);
    if (m_player.duration() > 0 && m_player.position() < m_player.duration() - interruptedMargin)
        handleFailure(QStringLiteral("Playback was interrupted."));
    else
        m_player.advance(false);
}

void ItemLoader::handleFailure(const QString &message)
{
    const std::optional<Track> track = m_player.current();
    if (!track)
        return;
    LogManager::appLog(QStringLiteral("playback failure %1 attempt %2: %3").arg(track->id).arg(m_attempt).arg(message));
    m_streams.forget(track->id);
    if (m_attempt < lastAttempt) {
        ++m_attempt;
        // Otherwise a seek still pending from a restore survives the retry.
        if (m_player.position() > resumeThreshold)
            m_pendingSeek = m_player.position();
        loadCurrent();
        return;
    }
    ++m_consecutiveFailures;
    m_player.givenUp(QStringLiteral("Couldn\u2019t play \u201c%1\u201d: %2").arg(track->title, message),
                     m_consecutiveFailures > maxSkippedFailures);
}
