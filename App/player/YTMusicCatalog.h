#pragma once

#include "MusicCatalog.h"
#include "core/JoinedCalls.h"

// The music catalogue of the running application: the video site through yt-dlp. The same call
// made again while it runs (a song resolved ahead and then played, a station started by two
// requests at once) joins the running one rather than starting a second child.
class YTMusicCatalog final : public MusicCatalog
{
public:
    QCoro::Task<MusicResult<StreamInfo>> resolve(Track track, int attempt, CancelToken cancel) override;
    QCoro::Task<MusicResult<QList<Track>>> search(QString query, int count, CancelToken cancel) override;
    QCoro::Task<MusicResult<QList<Track>>> radio(QString seed, int limit, CancelToken cancel) override;
    QCoro::Task<MusicResult<QList<Track>>> searchNewest(QString artist, int count, CancelToken cancel) override;
    QCoro::Task<QList<PlaylistRef>> searchPlaylists(QString query, CancelToken cancel) override;
    QCoro::Task<MusicResult<YTMusic::Expansion>> expand(QString url, int limit, CancelToken cancel) override;

private:
    // Keyed by the call's kind and arguments, the free text last.
    JoinedCalls<MusicResult<StreamInfo>> m_streams;
    JoinedCalls<MusicResult<QList<Track>>> m_listings;
    JoinedCalls<QList<PlaylistRef>> m_playlists;
    JoinedCalls<MusicResult<YTMusic::Expansion>> m_expansions;
};
