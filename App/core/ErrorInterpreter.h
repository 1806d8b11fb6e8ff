#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Turns the error output of a failed yt-dlp run into the one sentence the user sees.
namespace ErrorInterpreter {

// Whether the failed run, tried again, picks up where it stopped (a download) or starts over (a
// search, a listing, a stream's resolution).
enum class Run { Resumes, StartsOver };

// `text` is the collected error lines (or the last "ERROR" line of a one-shot run). Known
// failures get a plain explanation; otherwise the first non-empty line is returned as it is.
[[nodiscard]] QString explain(const QString &text, int exitCode, Run run = Run::Resumes);

// yt-dlp refusing its own command line, such as "yt-dlp: error: no such option: --foo" (it then
// exits with 2): the complaint without the program name. Nullopt for any other line.
[[nodiscard]] std::optional<QString> commandLineError(QStringView line);

// The part of a one-shot run's error output that names the failure: the last "ERROR" line, else
// a refused command line (the usage text before it tells the user nothing), else all of it.
[[nodiscard]] QString failureText(const QString &stderrText);

} // namespace ErrorInterpreter
