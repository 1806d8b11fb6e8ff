#pragma once

#include "core/ProgressEvent.h"

#include <QStringView>

#include <optional>

// Reads one line of yt-dlp output (either stream) of a download started with
// YTDLPManager::downloadArguments. Pure: no state, no side effects.
namespace ProgressParser {

// The event for the line, or nullopt for a marker line that is malformed. Prefixes are matched
// exactly at the very start of the line.
[[nodiscard]] std::optional<ProgressEvent> parse(QStringView line);

} // namespace ProgressParser
