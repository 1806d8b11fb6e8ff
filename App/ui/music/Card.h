#pragma once

#include "music/Playlist.h"
#include "music/PlaylistRef.h"
#include "music/Track.h"
#include "recommend/Station.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QUrl>

#include <utility>

// One card or tile of a shelf or grid, holding what it shows and what a click acts on: a song, a
// station, one of the user's playlists, a playlist found by search, a genre, a mood or a recent
// search.
struct Card
{
    enum class Kind { Track, Station, Playlist, PlaylistRef, Genre, Mood, Search };

    Kind kind = Kind::Track;
    Track track; // also a station's seed
    Station station;
    Playlist playlist;
    PlaylistRef ref;
    QString name; // of a genre or a mood; the text of a search

    bool operator==(const Card &) const = default;

    [[nodiscard]] static Card ofTrack(const Track &track);
    [[nodiscard]] static Card ofStation(const Station &station);
    [[nodiscard]] static Card ofPlaylist(const Playlist &playlist);
    [[nodiscard]] static Card ofRef(const PlaylistRef &ref);
    [[nodiscard]] static Card ofGenre(const QString &name);
    [[nodiscard]] static Card ofMood(const QString &name);
    [[nodiscard]] static Card ofSearch(const QString &text);

    // Unique within one shelf: the song, station, playlist or name it shows.
    [[nodiscard]] QString key() const;
    [[nodiscard]] QString kindName() const;
    [[nodiscard]] QString title() const;
    [[nodiscard]] QString subtitle() const;
    [[nodiscard]] QList<QUrl> artwork() const;
    // The symbol of the badge that rises over the artwork under the pointer.
    [[nodiscard]] QString badge() const;
    // The tooltip; empty for none.
    [[nodiscard]] QString help() const;

    // A genre's two gradient colours, from a hash that holds across runs: equal names, equal
    // colours, in every process.
    [[nodiscard]] static std::pair<QColor, QColor> genreColours(const QString &name);
};
