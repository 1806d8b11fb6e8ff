#pragma once

#include "ItemLoader.h"
#include "PlayAccounting.h"
#include "PlaybackStore.h"
#include "QueueModel.h"
#include "QueueRefill.h"
#include "core/CancelToken.h"
#include "music/MusicError.h"
#include "music/RepeatMode.h"

#include <QCoroTask>
#include <QImage>
#include <QMap>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class ArtworkManager;
class AudioBackend;
class LibraryStore;
class MusicCatalog;
class QRandomGenerator;
class RecommendationEngine;

// The music player: the play queue, the transport, and the accounting of what was heard.
// Main thread only.
//
// `isPlaying` is the user's intent: it stays set while an item loads. Heard time is counted on
// a half-second tick that runs only while sound comes out, on a monotonic clock, so pauses,
// stalls and seeks add nothing. Each play is closed once into the library's play log.
//
// The queue and its settings are saved to "playback.json" after each change and come back at
// the next start shown, not played: the first resume loads the current song where it stood.
class PlayerManager final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QueueModel *queue READ queueModel CONSTANT)
    Q_PROPERTY(int index READ indexOrNone NOTIFY indexChanged) // -1 when nothing is current
    Q_PROPERTY(bool isPlaying READ isPlaying NOTIFY playingChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY playingChanged)
    Q_PROPERTY(bool isBuffering READ isBuffering NOTIFY playingChanged)
    Q_PROPERTY(double position READ position NOTIFY positionChanged)
    Q_PROPERTY(double duration READ duration NOTIFY durationChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged) // empty when none
    Q_PROPERTY(QImage artwork READ artwork NOTIFY artworkChanged)                 // null when none
    Q_PROPERTY(bool shuffle READ shuffle WRITE setShuffle NOTIFY shuffleChanged)
    Q_PROPERTY(QString repeatMode READ repeatModeText WRITE setRepeatModeText NOTIFY repeatModeChanged)
    Q_PROPERTY(bool nonStop READ nonStop WRITE setNonStop NOTIFY nonStopChanged)
    Q_PROPERTY(double volume READ volume WRITE setVolume NOTIFY volumeChanged)
    Q_PROPERTY(bool isFillingQueue READ isFillingQueue NOTIFY fillingChanged)
    Q_PROPERTY(bool hasNext READ hasNext NOTIFY hasNextChanged)

public:
    // Seconds on a clock that never jumps (the time heard is measured on it).
    using Clock = std::function<double()>;
    [[nodiscard]] static Clock steadyClock();

    // Restores the saved queue.
    PlayerManager(LibraryStore *library, RecommendationEngine *engine, AudioBackend *audio, MusicCatalog *catalog,
                  ArtworkManager *artwork, Clock clock, QRandomGenerator *random, QObject *parent = nullptr);
    ~PlayerManager() override;

    [[nodiscard]] QueueModel *queueModel() { return &m_queue; }
    [[nodiscard]] const QList<QueueItem> &queue() const { return m_queue.items(); }
    [[nodiscard]] std::optional<int> index() const { return m_index; }
    [[nodiscard]] int indexOrNone() const { return m_index.value_or(-1); }
    [[nodiscard]] std::optional<Track> current() const;
    [[nodiscard]] QList<QueueItem> upcoming() const;
    [[nodiscard]] bool hasNext() const;
    [[nodiscard]] bool isPlaying() const { return m_isPlaying; }
    [[nodiscard]] bool isLoading() const { return m_isLoading; }
    [[nodiscard]] bool isBuffering() const { return m_isBuffering; }
    [[nodiscard]] double position() const { return m_position; }
    [[nodiscard]] double duration() const { return m_duration; }
    [[nodiscard]] QString errorMessage() const { return m_errorMessage; }
    [[nodiscard]] QImage artwork() const { return m_artwork; }
    [[nodiscard]] bool shuffle() const { return m_shuffle; }
    [[nodiscard]] RepeatMode repeatMode() const { return m_repeatMode; }
    [[nodiscard]] QString repeatModeText() const { return RepeatModes::rawValue(m_repeatMode); }
    [[nodiscard]] bool nonStop() const { return m_nonStop; }
    [[nodiscard]] double volume() const { return m_volume; }
    [[nodiscard]] bool isFillingQueue() const { return m_refill.isFilling(); }
    // Songs given up in a row; a song that becomes ready, or one the user picks, clears it.
    [[nodiscard]] int consecutiveFailures() const { return m_loader.consecutiveFailures(); }
    // Ids of the plays closed lately, oldest first.
    [[nodiscard]] const QStringList &recentlyPlayed() const { return m_accounting.recentlyPlayed(); }

    // Turning shuffle on reshuffles the songs after the current one; every call saves.
    void setShuffle(bool shuffle);
    void setRepeatMode(RepeatMode mode);
    void setRepeatModeText(const QString &text);
    // Stored as "nonStopPlayback"; switching it on may refill the queue.
    void setNonStop(bool nonStop);
    // Held inside 0…1 and stored as "musicVolume".
    void setVolume(double volume);

    // Queue editing.
    // Plays `track` within `list` when the list holds its id, else alone.
    void play(const Track &track, const std::optional<QList<Track>> &list = std::nullopt);
    // Replaces the queue. Shuffled, the song at `startAt` (held inside the list) comes first and
    // the rest follows in random order; unshuffled, a start outside the list is ignored.
    void play(const QList<Track> &tracks, int startAt, bool shuffled);
    void playNext(const Track &track);
    // Appends; starts playing only when the queue was empty.
    void enqueue(const QList<Track> &tracks);
    Q_INVOKABLE void clearUpcoming();
    // The items at `from` land, in their order, before the item at `to`; offsets outside the
    // queue are dropped and `to` is held inside 0…count. The current item stays current.
    Q_INVOKABLE void moveQueue(const QList<int> &from, int to);
    // The current item cannot be removed; an item whose details changed is not found.
    void removeFromQueue(const QueueItem &item);
    // A station that never runs dry: the song alone, then what non-stop playback adds.
    void startRadio(const Track &track);
    // A station of the songs found for `text`, in random order; when none are found the queue
    // stays and the reason shows in `errorMessage`.
    void startQuery(const QString &text);

    // Transport.
    // Starts the item at `index` from its beginning; `finalize` first closes the current play as
    // skipped.
    void playIndex(int index, bool finalize);
    Q_INVOKABLE void togglePlay();
    // Stops the sound and keeps the place; saves.
    Q_INVOKABLE void pause();
    Q_INVOKABLE void resume();
    // Back to the start of the song after 3 s of it, else to the previous song.
    Q_INVOKABLE void previous();
    // The next song. At the natural end of a song (`userInitiated` false) repeat-one replays
    // it; the user always moves on.
    Q_INVOKABLE void advance(bool userInitiated = true);
    // Held inside the song; remembered for the next load when nothing is loaded.
    Q_INVOKABLE void seek(double seconds);
    Q_INVOKABLE void changeVolume(double step);

    // Saving: a save runs this long after the last change (800 ms unless set).
    void persistSoon();
    // Saves at once, the library too. The state is taken here and written on a worker thread;
    // once the application is quitting, before this returns.
    void persistNow();
    void setPersistDelay(int milliseconds) { m_persistTimer.setInterval(milliseconds); }
    // How often heard time is counted while sound comes out (500 ms unless set).
    void setTickInterval(int milliseconds) { m_ticker.setInterval(milliseconds); }
    [[nodiscard]] bool persistPending() const { return m_persistTimer.isActive(); }

    // Where non-stop playback asks for more songs: when it is switched on, when few songs follow
    // the current one, and at the end of the queue (forced).
    QCoro::Task<> refillIfNeeded(bool force) { return m_refill.request(force); }

    // What loading and refilling report. Each keeps the player's state whole; nothing else writes
    // the index, the queue or the loading flags.
    // A load of the current item begins at its top: loading, with `shown` on screen (empty for
    // none), the length the catalogue knows (0 for none) and the picture already at hand.
    void loadStarted(const QString &shown, double duration, const QImage &artwork);
    // The large picture of song `id`: shown only while that song is current; a null one clears it.
    void artworkLoaded(const QString &id, const QImage &artwork);
    // Richer details of the current song: every queue item of its id takes them, and their length
    // shows while none is known.
    void detailsResolved(const Track &track);
    // The item starts part-way in.
    void startsAt(double seconds);
    // The item can play; `duration` is the back end's length, NaN when unknown.
    void loaded(double duration);
    // The sound stopped at `seconds`.
    void stoppedAt(double seconds);
    // The current song was given up with `shown` on screen: playback moves on to the next song,
    // unless `stop` is set or none follows, and then stops on it.
    void givenUp(const QString &shown, bool stop);
    // Songs found for a non-stop queue go to its end; the next song is resolved ahead.
    void appendFromRefill(const QList<Track> &tracks);

Q_SIGNALS:
    void indexChanged();
    void playingChanged();
    void positionChanged();
    void durationChanged();
    void errorMessageChanged();
    void artworkChanged();
    void shuffleChanged();
    void repeatModeChanged();
    void nonStopChanged();
    void volumeChanged();
    void fillingChanged();
    void hasNextChanged();
    // Whatever the system's media controls show may have changed.
    void nowPlayingChanged();
    // The position moved other than by playing on: a seek, a loaded song starting (wherever it
    // starts), a song repeated or stopped at its top. Media controls that count the time
    // themselves need it.
    void positionJumped(double seconds);

private:
    // `shown` is the error message kept on screen while the next song loads; `play` whether it
    // starts once loaded.
    void stepTo(int index, const QString &shown = QString(), bool play = true);
    void moveOn(const QString &shown);
    void endOfQueue();
    void shuffleUpcoming();
    void restore();
    QCoro::Task<> advanceAfterRefill(QString shown);
    QCoro::Task<> runQuery(QString text);

    void finalizeCurrent(bool userSkipped, bool ended);
    void tick();
    void audioStateChanged();

    void setIndex(std::optional<int> index);
    void setPlaying(bool playing);
    void setLoading(bool loading);
    void setBuffering(bool buffering);
    void setPosition(double position);
    void setDuration(double duration);
    void setErrorMessage(const QString &message);
    void setArtwork(const QImage &artwork);
    void updateHasNext();
    [[nodiscard]] QList<QueueItem> itemsFor(const QList<Track> &tracks) const;

    LibraryStore *m_library;
    AudioBackend *m_audio;
    Clock m_clock;
    QRandomGenerator *m_random;
    QueueModel m_queue;

    std::optional<int> m_index;
    bool m_isPlaying = false;
    bool m_isLoading = false;
    bool m_isBuffering = false;
    double m_position = 0;
    double m_duration = 0;
    QString m_errorMessage;
    QImage m_artwork;
    bool m_shuffle = false;
    RepeatMode m_repeatMode = RepeatMode::Off;
    bool m_nonStop = false;
    double m_volume = 0.8;
    bool m_hadNext = false;

    QTimer m_ticker;
    QTimer m_persistTimer;
    PlaybackStore m_store;
    // Bumped whenever the transport moves to an item, seeks or stops, so work that awaited can
    // tell whether the user has started something else meanwhile.
    quint64 m_transport = 0;
    // The transport an advance at the end of the queue waits on a refill from, while it waits.
    std::optional<quint64> m_refillWait;
    PlayAccounting m_accounting;
    MusicCatalog *m_catalog;
    QueueRefill m_refill;
    // Last: it reaches into the state above from its first signal on.
    ItemLoader m_loader;
};
