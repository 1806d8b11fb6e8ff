#include "PlayerManager.h"

#include "AudioBackend.h"
#include "MusicCatalog.h"
#include "core/SettingsStore.h"
#include "music/LibraryStore.h"

#include <QPointer>
#include <QRandomGenerator>

#include <chrono>
#include <cmath>

namespace {

constexpr int tickMs = 500;
constexpr int persistDelayMs = 800;
constexpr double restartThreshold = 3.0;

// Songs asked for when a station is made from a search.
constexpr int queryCount = 25;

const QString volumeKey = QStringLiteral("musicVolume");
const QString nonStopKey = QStringLiteral("nonStopPlayback");

template<typename T> void shuffleList(QList<T> &list, QRandomGenerator *random)
{
    for (qsizetype i = list.size() - 1; i > 0; --i)
        list.swapItemsAt(i, random->bounded(i + 1));
}

} // namespace

PlayerManager::Clock PlayerManager::steadyClock()
{
    return [] { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); };
}

PlayerManager::PlayerManager(LibraryStore *library, RecommendationEngine *engine, AudioBackend *audio,
                             MusicCatalog *catalog, ArtworkManager *artwork, Clock clock, QRandomGenerator *random,
                             QObject *parent)
    : QObject(parent)
    , m_library(library)
    , m_audio(audio)
    , m_clock(std::move(clock))
    , m_random(random)
    , m_nonStop(SettingsStore::boolean(nonStopKey))
    , m_volume(SettingsStore::isStored(volumeKey) ? std::clamp(SettingsStore::number(volumeKey), 0.0, 1.0) : 0.8)
    , m_store(this)
    , m_catalog(catalog)
    , m_refill(this, library, engine, catalog)
    , m_loader(*this, library, audio, catalog, artwork, m_clock)
{
    m_audio->setVolume(m_volume);
    m_ticker.setInterval(tickMs);
    connect(&m_ticker, &QTimer::timeout, this, &PlayerManager::tick);
    m_persistTimer.setSingleShot(true);
    m_persistTimer.setInterval(persistDelayMs);
    connect(&m_persistTimer, &QTimer::timeout, this, &PlayerManager::persistNow);

    connect(m_audio, &AudioBackend::stateChanged, this, &PlayerManager::audioStateChanged);

    connect(&m_refill, &QueueRefill::fillingChanged, this, &PlayerManager::fillingChanged);
    connect(&m_queue, &QAbstractItemModel::rowsInserted, this, &PlayerManager::updateHasNext);
    connect(&m_queue, &QAbstractItemModel::rowsRemoved, this, &PlayerManager::updateHasNext);
    m_hadNext = hasNext();
    restore();
}

PlayerManager::~PlayerManager() = default;

std::optional<Track> PlayerManager::current() const
{
    if (!m_index || *m_index < 0 || *m_index >= m_queue.count())
        return std::nullopt;
    return m_queue.at(*m_index).track;
}

QList<QueueItem> PlayerManager::upcoming() const
{
    return m_index ? m_queue.items().mid(*m_index + 1) : QList<QueueItem>();
}

bool PlayerManager::hasNext() const
{
    return m_index.value_or(-1) + 1 < m_queue.count() || m_repeatMode == RepeatMode::All || m_nonStop;
}

// Settings

void PlayerManager::setShuffle(bool shuffle)
{
    const bool was = std::exchange(m_shuffle, shuffle);
    if (was != shuffle)
        Q_EMIT shuffleChanged();
    if (shuffle && !was)
        shuffleUpcoming();
    persistSoon();
}

void PlayerManager::setRepeatMode(RepeatMode mode)
{
    if (std::exchange(m_repeatMode, mode) != mode) {
        Q_EMIT repeatModeChanged();
        updateHasNext();
    }
    persistSoon();
}

void PlayerManager::setRepeatModeText(const QString &text)
{
    if (const auto mode = RepeatModes::fromRawValue(text))
        setRepeatMode(*mode);
}

void PlayerManager::setNonStop(bool nonStop)
{
    if (std::exchange(m_nonStop, nonStop) != nonStop) {
        Q_EMIT nonStopChanged();
        updateHasNext();
    }
    SettingsStore::set(nonStopKey, nonStop);
    if (nonStop) {
        m_refill.forgetEmpty();
        refillIfNeeded(false);
    }
}

void PlayerManager::setVolume(double volume)
{
    volume = std::isnan(volume) ? 0.0 : std::clamp(volume, 0.0, 1.0);
    if (std::exchange(m_volume, volume) != volume)
        Q_EMIT volumeChanged();
    m_audio->setVolume(volume);
    SettingsStore::set(volumeKey, volume);
}

// Queue editing

void PlayerManager::play(const Track &track, const std::optional<QList<Track>> &list)
{
    if (list) {
        const auto found = std::find_if(list->begin(), list->end(),
                                        [&track](const Track &candidate) { return candidate.id == track.id; });
        if (found != list->end()) {
            play(*list, int(found - list->begin()), false);
            return;
        }
    }
    play(QList<Track>{track}, 0, false);
}

void PlayerManager::play(const QList<Track> &tracks, int startAt, bool shuffled)
{
    if (tracks.isEmpty())
        return;
    // A start outside the list would leave the old item playing under a queue it is no longer in.
    if (!shuffled && (startAt < 0 || startAt >= tracks.size()))
        return;
    m_library->registerTracks(tracks);
    QList<Track> order = tracks;
    if (shuffled) {
        const Track first = order.takeAt(std::clamp<qsizetype>(startAt, 0, order.size() - 1));
        shuffleList(order, m_random);
        order.prepend(first);
        setShuffle(true);
        startAt = 0;
    }
    m_queue.replace(itemsFor(order));
    playIndex(startAt, true);
}

void PlayerManager::playNext(const Track &track)
{
    m_library->registerTracks({track});
    if (m_index) {
        m_queue.insert(*m_index + 1, QueueItem(track));
    } else {
        m_queue.append({QueueItem(track)});
        playIndex(m_queue.count() - 1, true);
    }
    persistSoon();
}

void PlayerManager::enqueue(const QList<Track> &tracks)
{
    m_library->registerTracks(tracks);
    const bool wasEmpty = m_queue.count() == 0;
    m_queue.append(itemsFor(tracks));
    if (wasEmpty)
        playIndex(0, true);
    persistSoon();
}

void PlayerManager::clearUpcoming()
{
    const int kept = m_index ? *m_index + 1 : 0;
    m_refill.setAside(m_queue.items().mid(kept));
    m_queue.truncate(kept);
    // Saved in both cases: an emptied queue must not come back at the next start.
    persistSoon();
}

void PlayerManager::moveQueue(const QList<int> &from, int to)
{
    QList<int> rows;
    for (int row : from) {
        if (row >= 0 && row < m_queue.count() && !rows.contains(row))
            rows.append(row);
    }
    if (rows.isEmpty())
        return;
    const std::optional<QUuid> currentUid = m_index ? std::optional<QUuid>(m_queue.at(*m_index).uid()) : std::nullopt;
    m_queue.move(rows, std::clamp(to, 0, m_queue.count()));
    if (currentUid)
        setIndex(m_queue.rowOf(*currentUid));
    persistSoon();
}

void PlayerManager::removeFromQueue(const QueueItem &item)
{
    const int row = int(m_queue.items().indexOf(item));
    if (row < 0 || row == m_index)
        return;
    m_refill.setAside({item});
    m_queue.removeAt(row);
    if (m_index && row < *m_index)
        setIndex(*m_index - 1);
    persistSoon();
}

void PlayerManager::shuffleUpcoming()
{
    if (!m_index || *m_index + 1 >= m_queue.count())
        return;
    QList<QueueItem> rest = m_queue.items().mid(*m_index + 1);
    shuffleList(rest, m_random);
    m_queue.truncate(*m_index + 1);
    m_queue.append(rest);
}

QList<QueueItem> PlayerManager::itemsFor(const QList<Track> &tracks) const
{
    QList<QueueItem> items;
    items.reserve(tracks.size());
    for (const Track &track : tracks)
        items.append(QueueItem(track));
    return items;
}

// Stations

void PlayerManager::startRadio(const Track &track)
{
    // The new queue comes first: the requests below start at once and must seed from this song.
    // They join one refill.
    play(QList<Track>{track}, 0, false);
    m_refill.startOver();
    setNonStop(true);
    refillIfNeeded(true);
}

void PlayerManager::startQuery(const QString &text)
{
    setNonStop(true);
    setErrorMessage(QString());
    runQuery(text);
}

QCoro::Task<> PlayerManager::runQuery(QString text)
{
    const QPointer<PlayerManager> self(this);
    const MusicResult<QList<Track>> found = co_await m_catalog->search(text, queryCount, CancelToken());
    if (!self)
        co_return;
    if (!found.ok()) {
        setErrorMessage(found.error().errorDescription());
    } else if (found.value().isEmpty()) {
        setErrorMessage(QStringLiteral("No songs found for \u201c%1\u201d.").arg(text));
    } else {
        QList<Track> tracks = found.value();
        shuffleList(tracks, m_random);
        play(tracks, 0, false);
        m_refill.startOver();
    }
}

// Transport

void PlayerManager::playIndex(int index, bool finalize)
{
    if (index < 0 || index >= m_queue.count())
        return;
    if (finalize)
        finalizeCurrent(true, false);
    m_loader.resetFailures();
    stepTo(index);
}

// Unlike playIndex() this keeps the failure count, so failures add up across automatic skips.
void PlayerManager::stepTo(int index, const QString &shown, bool play)
{
    setIndex(index);
    setPlaying(play);
    ++m_transport;
    m_loader.loadNew(shown);
    persistSoon();
}

void PlayerManager::advance(bool userInitiated)
{
    finalizeCurrent(userInitiated, !userInitiated);
    if (!userInitiated && m_repeatMode == RepeatMode::One) {
        // The same item again: no reload and nothing to save.
        m_accounting.reopen();
        m_audio->seek(0);
        m_audio->play();
        Q_EMIT positionJumped(0);
        return;
    }
    if (!m_index)
        return;
    if (*m_index + 1 < m_queue.count() || m_nonStop)
        moveOn(QString());
    else if (m_repeatMode == RepeatMode::All)
        stepTo(0);
    else
        endOfQueue();
}

// To the next item, or at the end of the queue to whatever non-stop playback adds; non-stop
// playback never wraps around.
void PlayerManager::moveOn(const QString &shown)
{
    if (*m_index + 1 < m_queue.count()) {
        stepTo(*m_index + 1, shown);
    } else {
        // Meant to play on, as stepping to the next song would be.
        setPlaying(true);
        setLoading(true);
        advanceAfterRefill(shown);
    }
}

// While the refill ran the user may have started another song or queue; then that choice stands.
// A pause meanwhile holds too: the next song loads without playing.
QCoro::Task<> PlayerManager::advanceAfterRefill(QString shown)
{
    const QUuid uid = m_queue.at(*m_index).uid();
    const quint64 transport = m_transport;
    m_refillWait = transport;
    const int count = m_queue.count();
    const QPointer<PlayerManager> self(this);
    co_await refillIfNeeded(true);
    if (!self || m_transport != transport)
        co_return;
    m_refillWait.reset();
    if (!m_index || m_queue.at(*m_index).uid() != uid)
        co_return;
    if (*m_index + 1 < m_queue.count())
        stepTo(*m_index + 1, shown, m_isPlaying);
    else if (m_queue.count() <= count)
        endOfQueue();
}

void PlayerManager::endOfQueue()
{
    ++m_transport;
    setLoading(false);
    setPlaying(false);
    m_audio->pause();
    m_audio->seek(0);
    setPosition(0);
    Q_EMIT nowPlayingChanged();
    Q_EMIT positionJumped(0);
}

void PlayerManager::previous()
{
    if (m_position > restartThreshold || !m_index || *m_index == 0) {
        seek(0);
        return;
    }
    finalizeCurrent(true, false);
    playIndex(*m_index - 1, false);
}

void PlayerManager::togglePlay()
{
    if (m_isPlaying)
        pause();
    else
        resume();
}

void PlayerManager::pause()
{
    setPlaying(false);
    m_audio->pause();
    Q_EMIT nowPlayingChanged();
    persistSoon();
}

void PlayerManager::resume()
{
    if (!current())
        return;
    if (!m_audio->hasItem() && !m_isLoading) {
        // Set before the load: a source found without waiting starts the item at once.
        setPlaying(true);
        m_loader.loadCurrent();
        return;
    }
    setPlaying(true);
    m_audio->play();
    m_accounting.resumeAt(m_clock());
    Q_EMIT nowPlayingChanged();
}

void PlayerManager::seek(double seconds)
{
    double target = m_duration > 0 ? std::min(seconds, m_duration) : seconds;
    if (!(target >= 0)) // negative or not a number
        target = 0;
    setPosition(target);
    if (m_audio->hasItem()) {
        // A seek in the song at hand moves the transport: an advance still waiting for a refill
        // gives way, and the song that ended plays again from the new position.
        const bool waitingForRefill = m_refillWait == m_transport;
        ++m_transport;
        m_audio->seek(target);
        if (waitingForRefill) {
            setLoading(false);
            m_accounting.reopen();
            if (m_isPlaying)
                m_audio->play();
        }
        Q_EMIT nowPlayingChanged();
    } else {
        m_loader.setPendingSeek(target);
    }
    Q_EMIT positionJumped(target);
}

void PlayerManager::changeVolume(double step)
{
    setVolume(m_volume + step);
}

// Saving

void PlayerManager::persistSoon()
{
    m_persistTimer.start();
}

void PlayerManager::persistNow()
{
    m_persistTimer.stop();
    SavedPlayback state;
    state.queue.reserve(m_queue.count());
    for (const QueueItem &item : m_queue.items())
        state.queue.append(item.track);
    state.index = m_index;
    state.position = m_position;
    state.shuffle = m_shuffle;
    state.repeatMode = m_repeatMode;
    m_store.save(state);
    m_library->saveNow();
}

// Shown, not played: nothing is resolved until the user resumes, and then the song starts
// where it stood. The setters schedule a save, and a saved shuffle deals the songs after the
// current one anew.
void PlayerManager::restore()
{
    const std::optional<SavedPlayback> saved = m_store.load();
    if (!saved || saved->queue.isEmpty())
        return;
    m_queue.replace(itemsFor(saved->queue));
    setIndex(saved->index);
    setPosition(saved->position);
    m_loader.setPendingSeek(saved->position);
    const std::optional<Track> track = current();
    setDuration(track ? track->duration.value_or(0) : 0);
    setRepeatMode(saved->repeatMode);
    setShuffle(saved->shuffle);
    if (track)
        m_loader.loadArtwork(*track);
    Q_EMIT nowPlayingChanged();
}

// Play accounting

void PlayerManager::finalizeCurrent(bool userSkipped, bool ended)
{
    const std::optional<Track> track = current();
    if (!track)
        return;
    const std::optional<double> length = m_duration > 0 ? std::optional<double>(m_duration) : track->duration;
    if (const std::optional<PlayEvent> event = m_accounting.close(*track, length, userSkipped, ended))
        m_library->record(*event);
}

void PlayerManager::tick()
{
    const bool running = m_audio->isRunning();
    m_accounting.tick(m_clock(), running);
    if (running) {
        const double position = m_audio->position();
        if (std::isfinite(position))
            setPosition(position);
        const double length = m_audio->duration();
        if (std::isfinite(length) && length > 0 && std::abs(length - m_duration) > 1.0)
            setDuration(length);
    }
    if (m_nonStop && current() && upcoming().size() <= 2 && !isFillingQueue() && m_accounting.hasStarted())
        m_refill.requestFromTimer();
}

// The tick runs only while sound comes out; one more tick when it stops ends the counting.
void PlayerManager::audioStateChanged()
{
    setBuffering(m_audio->isWaiting() && m_isPlaying && m_audio->hasItem());
    if (m_audio->isRunning() == m_ticker.isActive())
        return;
    if (m_audio->isRunning()) {
        m_ticker.start();
    } else {
        m_ticker.stop();
        tick();
    }
}

// Loading and refilling

void PlayerManager::loadStarted(const QString &shown, double duration, const QImage &artwork)
{
    setLoading(true);
    setBuffering(false);
    setErrorMessage(shown);
    setPosition(0);
    setDuration(duration);
    m_accounting.open();
    setArtwork(artwork);
    Q_EMIT nowPlayingChanged();
}

void PlayerManager::artworkLoaded(const QString &id, const QImage &artwork)
{
    const std::optional<Track> track = current();
    if (!track || track->id != id)
        return;
    setArtwork(artwork);
    Q_EMIT nowPlayingChanged();
}

void PlayerManager::detailsResolved(const Track &track)
{
    const std::optional<Track> playing = current();
    if (!playing || playing->id != track.id)
        return;
    for (int row = 0; row < m_queue.count(); ++row) {
        if (m_queue.at(row).track.id == track.id)
            m_queue.setTrack(row, track);
    }
    if (m_duration == 0 && track.duration)
        setDuration(*track.duration);
    Q_EMIT nowPlayingChanged();
}

void PlayerManager::startsAt(double seconds)
{
    setPosition(seconds);
}

void PlayerManager::loaded(double duration)
{
    setLoading(false);
    m_accounting.markStarted();
    if (std::isfinite(duration) && duration > 0)
        setDuration(duration);
    Q_EMIT nowPlayingChanged();
    // Media controls counting the time themselves ran on through the load, from wherever they
    // last heard: the song starts here and now.
    Q_EMIT positionJumped(m_position);
}

void PlayerManager::stoppedAt(double seconds)
{
    setPosition(seconds);
}

void PlayerManager::givenUp(const QString &shown, bool stop)
{
    setErrorMessage(shown);
    setLoading(false);
    if (!stop && m_index && (*m_index + 1 < m_queue.count() || m_nonStop)) {
        // A broken song was not heard to its end, and repeat-one must not replay it. Moving on
        // keeps the failure count, and the message stays while the next song loads.
        finalizeCurrent(false, false);
        moveOn(shown);
        return;
    }
    setPlaying(false);
    m_audio->pause();
    Q_EMIT nowPlayingChanged();
}

void PlayerManager::appendFromRefill(const QList<Track> &tracks)
{
    m_queue.append(itemsFor(tracks));
    persistSoon();
    // At the end of the queue the first appended song is next now: it must start as quickly as
    // any next song.
    m_loader.prefetchNext();
}

// Published state

void PlayerManager::setIndex(std::optional<int> index)
{
    if (std::exchange(m_index, index) == index)
        return;
    Q_EMIT indexChanged();
    updateHasNext();
}

void PlayerManager::setPlaying(bool playing)
{
    if (std::exchange(m_isPlaying, playing) != playing)
        Q_EMIT playingChanged();
}

void PlayerManager::setLoading(bool loading)
{
    if (std::exchange(m_isLoading, loading) != loading)
        Q_EMIT playingChanged();
}

void PlayerManager::setBuffering(bool buffering)
{
    if (std::exchange(m_isBuffering, buffering) != buffering)
        Q_EMIT playingChanged();
}

void PlayerManager::setPosition(double position)
{
    if (std::exchange(m_position, position) != position)
        Q_EMIT positionChanged();
}

void PlayerManager::setDuration(double duration)
{
    if (std::exchange(m_duration, duration) != duration)
        Q_EMIT durationChanged();
}

void PlayerManager::setErrorMessage(const QString &message)
{
    if (std::exchange(m_errorMessage, message) != message)
        Q_EMIT errorMessageChanged();
}

void PlayerManager::setArtwork(const QImage &artwork)
{
    if (std::exchange(m_artwork, artwork) != artwork)
        Q_EMIT artworkChanged();
}

void PlayerManager::updateHasNext()
{
    const bool now = hasNext();
    if (now == m_hadNext)
        return;
    m_hadNext = now;
    Q_EMIT hasNextChanged();
}
