#pragma once

#include <QUrl>

// Every tool download and release lookup can be pointed at one other server through the
// environment variable MORVANE_TOOL_MIRROR, a base URL such as "http://127.0.0.1:8080".
namespace ToolMirror {
// `url` with its scheme, host and port replaced by the mirror's and the mirror's path (if any)
// put before its own; unchanged when no mirror is set or `url` already points at it.
[[nodiscard]] QUrl apply(const QUrl &url);
} // namespace ToolMirror
