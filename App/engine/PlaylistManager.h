#pragma once

#include <QSet>
#include <QString>

#include <optional>

// Playlist item selection for yt-dlp's "--playlist-items".
namespace PlaylistManager {

// The chosen 1-based entry ids as ranges ("1-3,5,7-8"); nullopt when none or as many as
// `total` are chosen, which means the whole playlist.
[[nodiscard]] std::optional<QString> itemsString(const QSet<int> &selected, int total);

} // namespace PlaylistManager
