#pragma once

#include "core/Preset.h"
#include "engine/MediaInfo.h"

#include <QString>

// The lines the Download screen's form writes about fetched media.
namespace MediaSummary {

// "Up to 1080p · 12 formats", counting every format; empty without any height.
[[nodiscard]] QString formatsLine(const MediaInfo &info);
// "Playlist · 30 items".
[[nodiscard]] QString playlistLine(const MediaInfo &info);
// What a video preset will get for this media. A cap above the highest height gets that height;
// a cap equal to it is the ordinary case.
[[nodiscard]] QString presetHint(const MediaInfo &info, Preset preset);
// The subtitle languages on offer, the first twelve; or why there are none.
[[nodiscard]] QString subtitleNote(const MediaInfo &info);

} // namespace MediaSummary
