#pragma once

#include "core/CpuArch.h"
#include "core/NetworkOptions.h"
#include "core/ToolCheck.h"
#include "core/ToolSpec.h"
#include "engine/DownloadOptions.h"

#include <QCoroTask>
#include <QString>
#include <QStringList>
#include <QUrl>

// Every command line handed to yt-dlp. Each argument is one element of the argument vector (no
// shell ever sees them), and the link always follows "--" so it can never be taken for an option.
namespace YTDLPManager {

// The newest release's single executable for the processor kind, bare (no archive).
[[nodiscard]] ToolSpec spec(CpuArch arch = CpuArchs::host());
// The release API answer holding the newest version in "tag_name".
[[nodiscard]] QUrl latestAPI();
// Lists the extractors of the installed yt-dlp: ok with more than 100 of them.
QCoro::Task<ToolCheck> smokeTest();

// The options that open every yt-dlp command line: no user config, the tools and cache folders,
// challenge solving, and the network settings.
[[nodiscard]] QStringList baseArguments(const NetworkOptions &net);
// The metadata query used by format discovery: one JSON document on standard output.
[[nodiscard]] QStringList infoArguments(const QString &url, const NetworkOptions &net);
// The full download command, printing the "MVPROG|", "MVPP|", "MVITEM|", "MVDEST|" and "MVFILE|"
// marker lines. With a gate (the path of a named pipe), yt-dlp stops after each item's "MVDEST|"
// line until it has read a line from the gate, so two downloads into one file can take turns.
[[nodiscard]] QStringList downloadArguments(const DownloadOptions &options, const QString &gate = QString());

// Splits free text into arguments the way a shell splits plain words and quotes, without any
// expansion: blanks separate, quotes group, a backslash outside single quotes escapes one character.
[[nodiscard]] QStringList splitArguments(const QString &text);

} // namespace YTDLPManager
