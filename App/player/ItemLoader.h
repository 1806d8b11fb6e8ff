#pragma once

#include "StreamSource.h"
#include "core/CancelToken.h"

#include <QCoroTask>
#include <QImage>
#include <QMap>
#include <QObject>
#include <QUrl>

#include <optional>

class ArtworkManager;
class AudioBackend;
class LibraryStore;
class MusicCatalog;
class PlayerManager;
struct Track;

// The loading half of the player: it turns the current queue item into a playing item of the
// audio back end, and recovers when that fails. It reports to the player through the player's
// own operations, which keep its state whole. Main thread only.
//
// One load is live at a time. A newer load cancels the older one's token, which stops its
// resolution; whatever the cancelled one still brings back is dropped before it can change
// anything. A failing song is tried three times with other stream formats, resuming where the
// sound broke off; then it is given up and the next one starts, until five in a row fail.
// While a song plays, the next one's stream is resolved ahead, so it starts without yt-dlp.
class ItemLoader final : public QObject
{
    Q_OBJECT

public:
    ItemLoader(PlayerManager &player, LibraryStore *library, AudioBackend *audio, MusicCatalog *catalog,
               ArtworkManager *artwork, std::function<double()> clock);
    ~ItemLoader() override;

    // The current item afresh, from its start with the first stream format. `shown` is an error
    // message kept on screen while it loads.
    void loadNew(const QString &shown = QString());
    // The current item again, keeping the attempt and any seek still pending.
    void loadCurrent(const QString &shown = QString());
    // Where the next item starts when nothing is loaded to seek in.
    void setPendingSeek(double seconds) { m_pendingSeek = seconds; }
    // The user chose an item: earlier give-ups no longer count.
    void resetFailures() { m_consecutiveFailures = 0; }
    [[nodiscard]] int consecutiveFailures() const { return m_consecutiveFailures; }
    // The song's large picture, published when it arrives while the song is still current; no
    // picture at all clears the one shown.
    void loadArtwork(const Track &track);
    // Resolves the stream of the item after the current one ahead of its turn.
    void prefetchNext();

private:
    QCoro::Task<> runLoad(Track track, int attempt, CancelToken cancel);
    void applyMetadata(const Track &resolved);
    void start(const QUrl &url, const QMap<QString, QString> &headers);
    void itemReady(double duration);
    void itemEnded();
    void handleFailure(const QString &message);
    QCoro::Task<> runArtwork(Track track);

    PlayerManager &m_player;
    LibraryStore *m_library;
    AudioBackend *m_audio;
    ArtworkManager *m_artwork;
    StreamSource m_streams;
    CancelToken m_cancel;
    std::optional<double> m_pendingSeek;
    int m_consecutiveFailures = 0;
    int m_attempt = 0;
};
