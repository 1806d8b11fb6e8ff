#include "StreamSource.h"

#include "MusicCatalog.h"
#include "music/LibraryStore.h"

#include <QFileInfo>
#include <QPointer>

namespace {

constexpr qint64 streamLifetimeMs = 7200 * 1000;

// What the audio back end plays straight from disk; other downloads are streamed instead.
bool isPlayableDownload(const QString &path)
{
    static const QStringList extensions{QStringLiteral("mp3"), QStringLiteral("m4a"), QStringLiteral("aac")};
    return extensions.contains(QFileInfo(path).suffix().toLower());
}

} // namespace

StreamSource::StreamSource(LibraryStore *library, MusicCatalog *catalog, QObject *parent)
    : QObject(parent)
    , m_library(library)
    , m_catalog(catalog)
{}

QCoro::Task<MusicResult<StreamSource::Found>> StreamSource::find(Track track, int attempt, CancelToken cancel)
{
    if (attempt == 0) {
        const std::optional<QString> path = m_library->downloadedPath(track.id);
        if (path && isPlayableDownload(*path))
            co_return Found{QUrl::fromLocalFile(*path), {}, std::nullopt};
        const auto kept = m_cache.constFind(track.id);
        if (kept != m_cache.constEnd() && kept->resolved.msecsTo(QDateTime::currentDateTimeUtc()) < streamLifetimeMs)
            co_return Found{kept->url, kept->headers, *kept};
    }
    const QPointer<StreamSource> self(this);
    const MusicResult<StreamInfo> resolved = co_await m_catalog->resolve(track, attempt, cancel);
    if (!resolved.ok())
        co_return resolved.error();
    if (self)
        m_cache.insert(track.id, resolved.value());
    co_return Found{resolved.value().url, resolved.value().headers, resolved.value()};
}
