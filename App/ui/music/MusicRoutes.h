#pragma once

#include "music/Route.h"

#include <QString>

// How the music window names its destinations: the key a screen is chosen by, and the symbol and
// title a destination is listed and announced with.
namespace MusicRoutes {
[[nodiscard]] QString key(Route::Kind kind);
[[nodiscard]] QString symbol(Route::Kind kind);
[[nodiscard]] QString title(Route::Kind kind);
} // namespace MusicRoutes
