#include "YTMusicCatalog.h"

QCoro::Task<MusicResult<StreamInfo>> YTMusicCatalog::resolve(Track track, int attempt, CancelToken cancel)
{
    return YTMusic::resolve(std::move(track), attempt, std::move(cancel));
}

QCoro::Task<MusicResult<QList<Track>>> YTMusicCatalog::search(QString query, int count, CancelToken cancel)
{
    return YTMusic::search(std::move(query), count, std::move(cancel));
}

QCoro::Task<MusicResult<QList<Track>>> YTMusicCatalog::radio(QString seed, int limit, CancelToken cancel)
{
    return YTMusic::radio(std::move(seed), limit, std::move(cancel));
}

QCoro::Task<MusicResult<QList<Track>>> YTMusicCatalog::searchNewest(QString artist, int count, CancelToken cancel)
{
    return YTMusic::searchNewest(std::move(artist), count, std::move(cancel));
}

QCoro::Task<QList<PlaylistRef>> YTMusicCatalog::searchPlaylists(QString query, CancelToken cancel)
{
    return YTMusic::searchPlaylists(std::move(query), std::move(cancel));
}

QCoro::Task<MusicResult<YTMusic::Expansion>> YTMusicCatalog::expand(QString url, int limit, CancelToken cancel)
{
    return YTMusic::expand(std::move(url), limit, std::move(cancel));
}
