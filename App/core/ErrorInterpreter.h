#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Turns the error output of a failed yt-dlp run into the one sentence the user sees.
namespace ErrorInterpreter {

// Whether the failed run, tried again, picks up where it stopped (a download) or starts over (a
// search, a listing, a stream's resolution).
enum class Run { Resumes, StartsOver };

// `text` is the collected error lines (or the last "ERROR" line of a one-shot run). A refused
// command line is told in yt-dlp's own words; known failures get a plain explanation; otherwise
// the first non-empty line is returned as it is.
[[nodiscard]] QString explain(const QString &text, int exitCode, Run run = Run::Resumes);

// yt-dlp refusing its own command line, such as "yt-dlp: error: no such option: --foo" (it then
// exits with 2): the complaint without the program name. Nullopt for any other line.
[[nodiscard]] std::optional<QString> commandLineError(QStringView line);

// Follows output line by line for a Python traceback, which yt-dlp prints instead of an "ERROR"
// line for some failures (an invalid format selector). `inside` carries over from line to line.
// At the traceback's exception line, gives the exception's message without its type.
[[nodiscard]] std::optional<QString> followTraceback(QStringView line, bool &inside);

// The part of a one-shot run's error output that names the failure: the last "ERROR" line, else
// a refused command line (the usage text before it tells the user nothing), else the message of
// the last traceback, else all of it.
[[nodiscard]] QString failureText(const QString &stderrText);

} // namespace ErrorInterpreter
