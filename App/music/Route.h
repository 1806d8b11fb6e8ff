#pragma once

#include <QHashFunctions>
#include <QUuid>

// The screen the music window shows. Only a playlist route carries a payload, the playlist's id;
// the id of any other route is ignored by equality and hashing.
struct Route
{
    enum class Kind {
        Playlist,
        Home,
        Search,
        Explore,
        Liked,
        Recent,
        Playlists,
        LibraryDownloads,
        Downloads,
        Settings,
    };

    Kind kind = Kind::Home;
    QUuid playlistID;

    [[nodiscard]] static Route playlist(const QUuid &id) { return {Kind::Playlist, id}; }

    bool operator==(const Route &other) const
    {
        return kind == other.kind && (kind != Kind::Playlist || playlistID == other.playlistID);
    }
};

inline size_t qHash(const Route &route, size_t seed = 0)
{
    return qHashMulti(seed, static_cast<int>(route.kind),
                      route.kind == Route::Kind::Playlist ? route.playlistID : QUuid());
}
