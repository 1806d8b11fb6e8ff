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
// What a run of the download queue adds to its command line (see DownloadRunner): named pipes
// through which yt-dlp tells the name of each item's file and then waits for a line before
// downloading it, so two downloads into one file can take turns; and a mark that names the run's
// own files apart from everything else in the folder until they are done.
struct RunFiles
{
    QString gate;  // yt-dlp reads a line from it before each item's download
    QString knock; // yt-dlp writes the item's file name to it just before
    QString mark;  // goes into the names of what the run downloads, before the extension
};

// The full download command, printing the "MVPROG|", "MVPP|", "MVITEM|", "MVDEST|" and "MVFILE|"
// marker lines.
[[nodiscard]] QStringList downloadArguments(const DownloadOptions &options, const RunFiles &run = {});
// The name a file the run downloaded under its mark gets when it is done: `path` without the mark.
[[nodiscard]] QString unmarked(const QString &path, const QString &mark);

// Splits free text into arguments the way a shell splits plain words and quotes, without any
// expansion: blanks separate, quotes group, a backslash outside single quotes escapes one character.
[[nodiscard]] QStringList splitArguments(const QString &text);

} // namespace YTDLPManager
