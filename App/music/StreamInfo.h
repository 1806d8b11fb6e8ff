#pragma once

#include "Track.h"

#include <QDateTime>
#include <QMap>
#include <QUrl>

// A resolved audio stream: what to play, the header fields its server expects, the song as
// yt-dlp described it, and when it was resolved (the player ages its stream cache by that).
struct StreamInfo
{
    QUrl url;
    QMap<QString, QString> headers;
    Track track;
    QDateTime resolved;

    bool operator==(const StreamInfo &) const = default;
};
