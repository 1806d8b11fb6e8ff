#pragma once

#include "MediaInfo.h"
#include "core/Preset.h"

#include <QJsonObject>
#include <QString>

#include <optional>

// Asks yt-dlp what a link is, reads its answer, and picks the format selector for a preset.
namespace FormatManager {

// What yt-dlp is told to fetch: "-f", "-S" and whether to extract audio.
struct Selection
{
    QString format;
    std::optional<QString> sort;
    bool audioOnly = false;

    bool operator==(const Selection &) const = default;
};

// Reads yt-dlp's "-J" object. Never fails: a missing or mistyped field takes its default, and
// `fallbackURL` stands in for a missing "webpage_url".
[[nodiscard]] MediaInfo parse(const QJsonObject &json, const QString &fallbackURL);

// `compatible` is the "preferCompatible" setting; `videoID` and `audioID` are the advanced
// pickers' choices, where absent or "auto" means no choice and the audio "none" means no audio.
[[nodiscard]] Selection selection(Preset preset, bool compatible, const std::optional<QString> &videoID,
                                  const std::optional<QString> &audioID);

} // namespace FormatManager
