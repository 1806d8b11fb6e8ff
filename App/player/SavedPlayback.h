#pragma once

#include "music/RepeatMode.h"
#include "music/Track.h"

#include <QByteArray>
#include <QList>

#include <optional>

// What of the player survives a restart: the queue's songs (not their queue identities), the
// current item, where in it playback stood, shuffle and repeat.
struct SavedPlayback
{
    QList<Track> queue;
    std::optional<int> index; // none when no item is current
    double position = 0;      // seconds
    bool shuffle = false;
    RepeatMode repeatMode = RepeatMode::Off;

    bool operator==(const SavedPlayback &) const = default;

    // {"queue": [track…], "index": n, "position": s, "shuffle": b, "repeatMode": "off"}, "index"
    // left out when no item is current.
    [[nodiscard]] QByteArray toJson() const;
    // None when any required key is missing, null or of the wrong type, when a song of the
    // queue is not a valid track, or when "repeatMode" is not one of the three raw values.
    // "index" must be a whole number; one outside the queue reads as no current item.
    [[nodiscard]] static std::optional<SavedPlayback> fromJson(const QByteArray &data);
};
