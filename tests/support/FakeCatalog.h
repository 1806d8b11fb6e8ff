#pragma once

#include "player/MusicCatalog.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <chrono>
#include <coroutine>
#include <map>

// A music catalogue without the video site. Every song resolves to "http://127.0.0.1:9/<id>"
// unless the test set another answer, after `delay` when one is set; a resolution whose token
// was cancelled meanwhile fails, as killing yt-dlp makes it fail. Listing calls answer from
// the tables below and can be held back until the test releases them.
class FakeCatalog final : public MusicCatalog
{
public:
    QCoro::Task<MusicResult<StreamInfo>> resolve(Track track, int attempt, CancelToken cancel) override;
    QCoro::Task<MusicResult<QList<Track>>> search(QString query, int count, CancelToken cancel) override;
    QCoro::Task<MusicResult<QList<Track>>> radio(QString seed, int limit, CancelToken cancel) override;
    QCoro::Task<MusicResult<QList<Track>>> searchNewest(QString artist, int count, CancelToken cancel) override;
    QCoro::Task<QList<PlaylistRef>> searchPlaylists(QString query, CancelToken cancel) override;
    QCoro::Task<MusicResult<YTMusic::Expansion>> expand(QString url, int limit, CancelToken cancel) override;

    // Resumes every held call (on the next turn of the event loop).
    void release();
    // Resumes only the call held last, so answers can arrive in the reverse order of the calls.
    void releaseNewest();
    [[nodiscard]] qsizetype heldCount() const { return m_held.size(); }

    QHash<QString, MusicResult<StreamInfo>> answers; // by "<id>#<attempt>", else by "<id>"
    std::chrono::milliseconds delay{0};
    QStringList resolved; // "<id>#<attempt>" per call, in order

    // Answers of "search <query>", "radio <seed>" and "newest <artist>": each call takes the
    // first queued answer while more than one is left; without any the answer is an empty list.
    QHash<QString, QList<MusicResult<QList<Track>>>> listings;
    QHash<QString, QList<PlaylistRef>> playlists;               // by query
    QHash<QString, MusicResult<YTMusic::Expansion>> expansions; // by link; none fails
    QStringList calls;                                          // "<call> <text> <count>" per listing call, in order
    QStringList cancelled; // the held calls and resolutions that ended because their token was cancelled
    // While set, listing calls wait for release(); cancelling a held call's token ends it as a
    // failure, as killing the real child does.
    bool holding = false;

private:
    struct HeldCall
    {
        FakeCatalog *fake;
        int id;
        bool await_ready() const { return false; }
        void await_suspend(std::coroutine_handle<> handle) { fake->m_held.emplace(id, handle); }
        void await_resume() const {}
    };

    // Records the call and waits while holding; false when the token was cancelled meanwhile.
    QCoro::Task<bool> enter(QString call, CancelToken cancel);
    // One listing call: recorded as "<key> <count>", held while holding, answered from listings[key].
    QCoro::Task<MusicResult<QList<Track>>> listing(QString key, int count, CancelToken cancel);
    void wake(int id);
    MusicResult<QList<Track>> take(const QString &key);

    std::map<int, std::coroutine_handle<>> m_held;
    // Released calls resume a turn later, and never once the catalogue is gone.
    QObject m_alive;
    int m_nextHeld = 0;
};
