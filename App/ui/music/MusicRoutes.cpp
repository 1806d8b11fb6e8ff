#include "MusicRoutes.h"

namespace {
struct Destination
{
    const char *key;
    const char *symbol;
    const char *title;
};

// In the order of Route::Kind. Both "Downloads" differ by symbol: the downloaded songs of the
// library, and the download manager.
constexpr Destination destinations[] = {
    {"playlist", "music.note", "Playlist"},
    {"home", "house.fill", "Home"},
    {"search", "magnifyingglass", "Search"},
    {"explore", "safari.fill", "Explore"},
    {"liked", "heart.fill", "Liked Songs"},
    {"recent", "clock.fill", "Recently Played"},
    {"playlists", "music.note.list", "Playlists"},
    {"libraryDownloads", "arrow.down.circle.fill", "Downloads"},
    {"downloads", "tray.and.arrow.down.fill", "Downloads"},
    {"settings", "gearshape.fill", "Settings"},
};

const Destination &destination(Route::Kind kind)
{
    return destinations[static_cast<int>(kind)];
}
} // namespace

QString MusicRoutes::key(Route::Kind kind)
{
    return QString::fromLatin1(destination(kind).key);
}

QString MusicRoutes::symbol(Route::Kind kind)
{
    return QString::fromLatin1(destination(kind).symbol);
}

QString MusicRoutes::title(Route::Kind kind)
{
    return QString::fromLatin1(destination(kind).title);
}
