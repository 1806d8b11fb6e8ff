#pragma once

#include <QString>

// Where the video site and its thumbnail images live, and the links built on them. Tests point
// the hosts at a local server: MORVANE_VIDEO_SITE replaces the web host's scheme and host, and
// MORVANE_IMAGE_HOST the image host's (a base such as "http://127.0.0.1:PORT").
namespace VideoSite {

inline constexpr char16_t mainDomain[] = u"youtube.com";
inline constexpr char16_t shortDomain[] = u"youtu.be";

// Scheme and host without a trailing slash, read at each call.
[[nodiscard]] QString webBase();
[[nodiscard]] QString imageBase();

[[nodiscard]] QString watchLink(const QString &videoId);
[[nodiscard]] QString mixLink(const QString &videoId, const QString &listId);
[[nodiscard]] QString playlistLink(const QString &listId);
// The results page of a search for playlists only; `encodedQuery` is already percent-encoded.
[[nodiscard]] QString playlistResultsLink(const QString &encodedQuery);

} // namespace VideoSite
