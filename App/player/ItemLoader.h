#pragma once

#include "StreamSource.h"
#include "core/CancelToken.h"

#include <QCoroTask>
#include <QMap>
#include <QObject>
#include <QUrl>

#include <optional>

class AudioBackend;
class LibraryStore;
class MusicCatalog;
class PlayerManager;
struct Track;

// The loading half of the player: it turns the current queue item into a playing item of the
// audio back end, and recovers when that fails. It publishes through the player's own state.
// Main thread only.
//
// One load is live at a time. A newer load cancels the older one's token, which stops its
// resolution; whatever the cancelled one still brings back is dropped before it can change
// anything. A failing song is tried three times with other stream formats, resuming where the
// sound broke off; then it is given up and the next one starts, until five in a row fail.
class ItemLoader final : public QObject
{
    Q_OBJECT

public:
    ItemLoader(PlayerManager &player, LibraryStore *library, AudioBackend *audio, MusicCatalog *catalog);
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

private:
    QCoro::Task<> runLoad(Track track, int attempt, CancelToken cancel);
    void applyMetadata(const Track &resolved);
    void start(const QUrl &url, const QMap<QString, QString> &headers);
    void itemReady(double duration);
    void itemEnded();
    void handleFailure(const QString &message);

    PlayerManager &m_player;
    LibraryStore *m_library;
    AudioBackend *m_audio;
    StreamSource m_streams;
    CancelToken m_cancel;
    std::optional<double> m_pendingSeek;
    int m_consecutiveFailures = 0;
    int m_attempt = 0;
};
