#pragma once

#include "core/CancelToken.h"
#include "music/MusicError.h"
#include "music/PlaylistRef.h"
#include "music/StreamInfo.h"
#include "music/Track.h"
#include "music/YTMusic.h"

#include <QCoroTask>

// What the player, the recommender and the music search ask of the music catalogue. The
// application answers through yt-dlp (YTMusicCatalog); tests answer without it.
class MusicCatalog
{
public:
    virtual ~MusicCatalog() = default;

    // A playable stream for the song; `attempt` counts the tries of one song from 0.
    virtual QCoro::Task<MusicResult<StreamInfo>> resolve(Track track, int attempt, CancelToken cancel) = 0;
    virtual QCoro::Task<MusicResult<QList<Track>>> search(QString query, int count, CancelToken cancel) = 0;
    virtual QCoro::Task<MusicResult<QList<Track>>> radio(QString seed, int limit, CancelToken cancel) = 0;
    virtual QCoro::Task<MusicResult<QList<Track>>> searchNewest(QString artist, int count, CancelToken cancel) = 0;
    // Never fails: any failure gives an empty list.
    virtual QCoro::Task<QList<PlaylistRef>> searchPlaylists(QString query, CancelToken cancel) = 0;
    virtual QCoro::Task<MusicResult<YTMusic::Expansion>> expand(QString url, int limit, CancelToken cancel) = 0;
};
