#include "StreamSource.h"

#include "MusicCatalog.h"
#include "music/LibraryStore.h"

#include <QFileInfo>
#include <QPointer>

namespace {

constexpr double streamLifetime = 7200;

// What the audio back end plays straight from disk; other downloads are streamed instead.
bool isPlayableDownload(const QString &path)
{
    static const QStringList extensions{QStringLiteral("mp3"), QStringLiteral("m4a"), QStringLiteral("aac")};
    return extensions.contains(QFileInfo(path).suffix().toLower());
}

} // namespace

StreamSource::StreamSource(LibraryStore *library, MusicCatalog *catalog, std::function<double()> clock, QObject *parent)
    : QObject(parent)
    , m_library(library)
    , m_catalog(catalog)
    , m_clock(std::move(clock))
{}

StreamSource::~StreamSource()
{
    m_prefetchCancel.cancel();
}

QCoro::Task<MusicResult<StreamSource::Found>> StreamSource::find(Track track, int attempt, CancelToken cancel)
{
    if (attempt == 0) {
        const std::optional<QString> path = m_library->downloadedPath(track.id);
        if (path && isPlayableDownload(*path))
            co_return Found{QUrl::fromLocalFile(*path), {}, std::nullopt};
        const auto kept = m_cache.constFind(track.id);
        if (kept != m_cache.constEnd() && m_clock() - kept->keptAt < streamLifetime)
            co_return Found{kept->stream.url, kept->stream.headers, kept->stream};
    }
    const QPointer<StreamSource> self(this);
    const MusicResult<StreamInfo> resolved = co_await m_catalog->resolve(track, attempt, cancel);
    if (!resolved.ok())
        co_return resolved.error();
    if (self)
        m_cache.insert(track.id, Kept{resolved.value(), m_clock()});
    co_return Found{resolved.value().url, resolved.value().headers, resolved.value()};
}

void StreamSource::prefetch(const Track &track)
{
    if (m_cache.contains(track.id) || m_prefetching.contains(track.id) || m_library->downloadedPath(track.id))
        return;
    m_prefetching.insert(track.id);
    runPrefetch(track);
}

QCoro::Task<> StreamSource::runPrefetch(Track track)
{
    const QPointer<StreamSource> self(this);
    const MusicResult<StreamInfo> resolved = co_await m_catalog->resolve(track, 0, m_prefetchCancel);
    if (!self)
        co_return;
    if (resolved.ok())
        m_cache.insert(track.id, Kept{resolved.value(), m_clock()});
    m_prefetching.remove(track.id);
}
