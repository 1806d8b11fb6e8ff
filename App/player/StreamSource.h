#pragma once

#include "core/CancelToken.h"
#include "music/MusicError.h"
#include "music/StreamInfo.h"

#include <QCoroTask>
#include <QHash>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QUrl>

#include <functional>
#include <optional>

class LibraryStore;
class MusicCatalog;

// Where a song's sound comes from: a downloaded mp3, m4a or aac file, a stream resolved less
// than two hours ago, or a new resolution by the catalogue, kept for next time. Kept streams
// age on the player's clock. Main thread only.
class StreamSource final : public QObject
{
    Q_OBJECT

public:
    struct Found
    {
        QUrl url;
        QMap<QString, QString> headers;
        std::optional<StreamInfo> stream; // none for a downloaded file
    };

    // `clock` gives seconds on a clock that never jumps.
    StreamSource(LibraryStore *library, MusicCatalog *catalog, std::function<double()> clock,
                 QObject *parent = nullptr);
    ~StreamSource() override;

    // Only the first attempt may take a download or a kept stream; retries resolve anew.
    QCoro::Task<MusicResult<Found>> find(Track track, int attempt, CancelToken cancel);
    // Resolves the song's stream ahead of its turn, unless it has a download of any kind, a
    // kept stream of any age, or is being resolved ahead already. A failure leaves no trace.
    // Loads never call this off: its result serves the next start.
    void prefetch(const Track &track);
    // The song's kept stream failed: it is not used again.
    void forget(const QString &trackID) { m_cache.remove(trackID); }

private:
    struct Kept
    {
        StreamInfo stream;
        double keptAt = 0; // on the clock
    };

    QCoro::Task<> runPrefetch(Track track);

    LibraryStore *m_library;
    MusicCatalog *m_catalog;
    std::function<double()> m_clock;
    QHash<QString, Kept> m_cache;
    QSet<QString> m_prefetching;
    CancelToken m_prefetchCancel; // only for the end of the player
};
