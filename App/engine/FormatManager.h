#pragma once

#include "InfoError.h"
#include "MediaInfo.h"
#include "core/CancelToken.h"
#include "core/NetworkOptions.h"
#include "core/Preset.h"

#include <QCoroTask>
#include <QJsonObject>
#include <QString>

#include <chrono>
#include <optional>
#include <variant>

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

// What discovery gives back: the link's description, or the one sentence that says why not.
using Discovery = std::variant<MediaInfo, InfoError>;

// How long yt-dlp may take to describe a link before it is killed.
inline constexpr std::chrono::milliseconds infoTimeout = std::chrono::seconds(120);

// Runs the installed yt-dlp once in metadata mode for `url` (the link text as given, already
// trimmed by the caller) and reads its answer. Every run leaves "info URL -> exit N" in "app.log".
// Cancelling `cancel` ends the child, and the outcome is then the failure that run reports.
// `timeout` is there for tests, which cannot wait two minutes for a site that never answers.
QCoro::Task<Discovery> discover(QString url, NetworkOptions net, CancelToken cancel = CancelToken(),
                                std::chrono::milliseconds timeout = infoTimeout);

// Reads yt-dlp's "-J" object. Never fails: a missing or mistyped field takes its default, and
// `fallbackURL` stands in for a missing "webpage_url".
[[nodiscard]] MediaInfo parse(const QJsonObject &json, const QString &fallbackURL);

// `compatible` is the "preferCompatible" setting; `videoID` and `audioID` are the advanced
// pickers' choices, where absent or "auto" means no choice and the audio "none" means no audio.
[[nodiscard]] Selection selection(Preset preset, bool compatible, const std::optional<QString> &videoID,
                                  const std::optional<QString> &audioID);

} // namespace FormatManager
