#pragma once

#include "core/CancelToken.h"
#include "music/MusicError.h"
#include "music/StreamInfo.h"
#include "music/Track.h"

#include <QCoroTask>

// What the player asks of the music catalogue. The application answers through yt-dlp
// (YTMusicCatalog); tests answer without it.
class MusicCatalog
{
public:
    virtual ~MusicCatalog() = default;

    // A playable stream for the song; `attempt` counts the tries of one song from 0.
    virtual QCoro::Task<MusicResult<StreamInfo>> resolve(Track track, int attempt, CancelToken cancel) = 0;
};
