#pragma once

#include "Station.h"
#include "music/Track.h"

#include <QList>
#include <QStringList>
#include <QUuid>

// What one Home section shows: its kind and the one list that kind fills.
struct SectionContent
{
    enum class Kind {
        Tracks,    // a shelf of songs
        Resume,    // songs to continue listening
        Stations,  // endless mixes or radios
        Playlists, // the user's playlists
        Genres,    // genre names to explore
    };

    Kind kind = Kind::Tracks;
    QList<Track> tracks; // for Tracks and Resume
    QList<Station> stations;
    QList<QUuid> playlists;
    QStringList genres;

    bool operator==(const SectionContent &) const = default;

    [[nodiscard]] static SectionContent ofTracks(Kind kind, const QList<Track> &tracks);
    [[nodiscard]] static SectionContent ofStations(const QList<Station> &stations);
    [[nodiscard]] static SectionContent ofPlaylists(const QList<QUuid> &playlists);
    [[nodiscard]] static SectionContent ofGenres(const QStringList &genres);
};
