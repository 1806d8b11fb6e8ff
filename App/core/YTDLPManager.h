#pragma once

#include "core/NetworkOptions.h"
#include "engine/DownloadOptions.h"

#include <QString>
#include <QStringList>

// Every command line handed to yt-dlp. Each argument is one element of the argument vector (no
// shell ever sees them), and the link always follows "--" so it can never be taken for an option.
namespace YTDLPManager {

// The options that open every yt-dlp command line: no user config, the tools and cache folders,
// challenge solving, and the network settings.
[[nodiscard]] QStringList baseArguments(const NetworkOptions &net);
// The metadata query used by format discovery: one JSON document on standard output.
[[nodiscard]] QStringList infoArguments(const QString &url, const NetworkOptions &net);
// The full download command, printing the "MVPROG|", "MVPP|", "MVITEM|" and "MVFILE|" marker lines.
[[nodiscard]] QStringList downloadArguments(const DownloadOptions &options);

// Splits free text into arguments the way a shell splits plain words and quotes, without any
// expansion: blanks separate, quotes group, a backslash outside single quotes escapes one character.
[[nodiscard]] QStringList splitArguments(const QString &text);

} // namespace YTDLPManager
