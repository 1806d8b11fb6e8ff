#pragma once

#include "MusicCatalog.h"

// The music catalogue of the running application: the video site through yt-dlp.
class YTMusicCatalog final : public MusicCatalog
{
public:
    QCoro::Task<MusicResult<StreamInfo>> resolve(Track track, int attempt, CancelToken cancel) override;
};
