#pragma once

#include <QString>

#include <optional>

// One entry of a discovered playlist. `id` is its 1-based position, the number yt-dlp's
// "--playlist-items" selects it by.
struct PlaylistEntry
{
    int id = 0;
    QString title;
    std::optional<QString> url;
    std::optional<double> duration;

    bool operator==(const PlaylistEntry &) const = default;
};
