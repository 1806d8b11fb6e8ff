#pragma once

#include "core/ProgressEvent.h"

#include <QList>
#include <QStringView>

#include <optional>

// Reads one line of yt-dlp output (either stream) of a download started with
// YTDLPManager::downloadArguments. Pure: no state, no side effects.
namespace ProgressParser {

// The event for the line, or nullopt for a marker line that is malformed. Prefixes are matched
// exactly at the very start of the line.
[[nodiscard]] std::optional<ProgressEvent> parse(QStringView line);

// Older yt-dlp builds (such as Debian's 2023 one) end post-processing markers without a line
// break, so several markers, and an ERROR or WARNING line after them, arrive as one line. Cuts
// such a line back into the lines it was meant to be; any other line comes back whole.
[[nodiscard]] QList<QStringView> splitGlued(QStringView line);

} // namespace ProgressParser
