#include "SectionContent.h"

SectionContent SectionContent::ofTracks(Kind kind, const QList<Track> &tracks)
{
    SectionContent content;
    content.kind = kind;
    content.tracks = tracks;
    return content;
}

SectionContent SectionContent::ofStations(const QList<Station> &stations)
{
    SectionContent content;
    content.kind = Kind::Stations;
    content.stations = stations;
    return content;
}

SectionContent SectionContent::ofPlaylists(const QList<QUuid> &playlists)
{
    SectionContent content;
    content.kind = Kind::Playlists;
    content.playlists = playlists;
    return content;
}

SectionContent SectionContent::ofGenres(const QStringList &genres)
{
    SectionContent content;
    content.kind = Kind::Genres;
    content.genres = genres;
    return content;
}
