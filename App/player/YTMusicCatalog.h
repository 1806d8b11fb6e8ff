#pragma once

#include "MusicCatalog.h"

// The music catalogue of the running application: the video site through yt-dlp.
class YTMusicCatalog final : public MusicCatalog
{
public:
    QCoro::Task<MusicResult<StreamInfo>> resolve(Track track, int attempt, CancelToken cancel) override;
    QCoro::Task<MusicResult<QList<Track>>> search(QString query, int count, CancelToken cancel) override;
    QCoro::Task<MusicResult<QList<Track>>> radio(QString seed, int limit, CancelToken cancel) override;
    QCoro::Task<MusicResult<QList<Track>>> searchNewest(QString artist, int count, CancelToken cancel) override;
    QCoro::Task<QList<PlaylistRef>> searchPlaylists(QString query, CancelToken cancel) override;
    QCoro::Task<MusicResult<YTMusic::Expansion>> expand(QString url, int limit, CancelToken cancel) override;
};
