#pragma once

#include <QString>

// Turns the error output of a failed yt-dlp run into the one sentence the user sees.
namespace ErrorInterpreter {

// `text` is the collected error lines (or the last "ERROR" line of a one-shot run). Known
// failures get a plain explanation; otherwise the first non-empty line is returned as it is.
[[nodiscard]] QString explain(const QString &text, int exitCode);

} // namespace ErrorInterpreter
