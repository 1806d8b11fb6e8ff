#pragma once

#include "music/Track.h"

#include <QString>

#include <optional>

// One endless mix or radio card on Home.
struct Station
{
    QString id; // unique within its section: "mix-…", "mix-genre-…" or "radio-…"
    QString title;
    QString subtitle;
    Track seed;                   // the song a radio starts from
    std::optional<QString> query; // when present the station starts from this search text instead

    bool operator==(const Station &) const = default;
};

size_t qHash(const Station &station, size_t seed = 0);
