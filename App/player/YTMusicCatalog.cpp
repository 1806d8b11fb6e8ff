#include "YTMusicCatalog.h"

namespace {

QString keyOf(const char *kind, int number, const QString &text)
{
    return QString::fromLatin1(kind) + QLatin1Char(' ') + QString::number(number) + QLatin1Char(' ') + text;
}

} // namespace

QCoro::Task<MusicResult<StreamInfo>> YTMusicCatalog::resolve(Track track, int attempt, CancelToken cancel)
{
    const QString key = keyOf("resolve", attempt, track.id);
    return m_streams.join(key, std::move(cancel), [track = std::move(track), attempt](CancelToken work) {
        return YTMusic::resolve(track, attempt, std::move(work));
    });
}

QCoro::Task<MusicResult<QList<Track>>> YTMusicCatalog::search(QString query, int count, CancelToken cancel)
{
    const QString key = keyOf("search", count, query);
    return m_listings.join(key, std::move(cancel), [query = std::move(query), count](CancelToken work) {
        return YTMusic::search(query, count, std::move(work));
    });
}

QCoro::Task<MusicResult<QList<Track>>> YTMusicCatalog::radio(QString seed, int limit, CancelToken cancel)
{
    const QString key = keyOf("radio", limit, seed);
    return m_listings.join(key, std::move(cancel), [seed = std::move(seed), limit](CancelToken work) {
        return YTMusic::radio(seed, limit, std::move(work));
    });
}

QCoro::Task<MusicResult<QList<Track>>> YTMusicCatalog::searchNewest(QString artist, int count, CancelToken cancel)
{
    const QString key = keyOf("newest", count, artist);
    return m_listings.join(key, std::move(cancel), [artist = std::move(artist), count](CancelToken work) {
        return YTMusic::searchNewest(artist, count, std::move(work));
    });
}

QCoro::Task<QList<PlaylistRef>> YTMusicCatalog::searchPlaylists(QString query, CancelToken cancel)
{
    const QString key = keyOf("playlists", 0, query);
    return m_playlists.join(key, std::move(cancel), [query = std::move(query)](CancelToken work) {
        return YTMusic::searchPlaylists(query, std::move(work));
    });
}

QCoro::Task<MusicResult<YTMusic::Expansion>> YTMusicCatalog::expand(QString url, int limit, CancelToken cancel)
{
    const QString key = keyOf("expand", limit, url);
    return m_expansions.join(key, std::move(cancel), [url = std::move(url), limit](CancelToken work) {
        return YTMusic::expand(url, limit, std::move(work));
    });
}
