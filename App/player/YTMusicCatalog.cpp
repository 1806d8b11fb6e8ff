#include "YTMusicCatalog.h"

#include "music/YTMusic.h"

QCoro::Task<MusicResult<StreamInfo>> YTMusicCatalog::resolve(Track track, int attempt, CancelToken cancel)
{
    return YTMusic::resolve(std::move(track), attempt, std::move(cancel));
}
