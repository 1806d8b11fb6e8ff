#pragma once

#include "core/Preset.h"
#include "engine/DownloadOptions.h"
#include "engine/FormatManager.h"

#include <QSet>
#include <QString>

#include <optional>

struct MediaInfo;

// The download requests of the downloader, filled from the user's settings at the moment of
// queueing: a setting changed later applies to the next request, never to a queued one.
namespace DownloadRequests {

// A request with fixed starting values, the download folder and the file name template.
[[nodiscard]] DownloadOptions baseOptions(const QString &url, const QString &title);

// Writes a format choice, the preset's name and the current format, embedding, subtitle and
// network settings into `options`; every other field is left alone.
void apply(const FormatManager::Selection &selection, Preset preset, DownloadOptions &options);

// Makes `options` a playlist download: one folder per playlist, numbered files when the user
// wants them. With `info` the chosen entries become the item ranges; without it (nothing was
// fetched) the item ranges stay as they were.
void applyPlaylist(DownloadOptions &options, const MediaInfo *info, const QSet<int> &items);

// The "defaultPreset" setting, "Best Quality" when it names no preset. "Advanced" stays
// "Advanced": the callers decide what it means for them.
[[nodiscard]] Preset defaultPreset();

// A link queued at once without a fetch: the default preset with automatic formats, "Advanced"
// choosing like "Best Quality" but keeping its name. Playlist links download every entry.
[[nodiscard]] DownloadOptions quick(const QString &url);

// The fetched media as chosen on the download screen (`videoID` and `audioID` as the pickers
// hold them, "auto" included). Nothing for a playlist of which no entry is chosen.
[[nodiscard]] std::optional<DownloadOptions> fetched(const QString &url, const MediaInfo &info, Preset preset,
                                                     const QString &videoID, const QString &audioID,
                                                     const QSet<int> &items);

} // namespace DownloadRequests
