#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// When the installed tools count as out of date, and when the automatic check is due.
namespace UpdateCheck {

// A day between automatic checks.
inline constexpr qint64 interval = 86400;

// Whether the release `tag` is what is installed. Every lower-case "v" leaves the tag (release
// tags are "v2.1.4" where the tool prints "2.1.4"); the rest is up to date when it begins with
// the installed version, so a tool whose version is unknown (empty) is never outdated.
[[nodiscard]] bool isUpToDate(const QString &tag, const QString &installed);

// Whether an automatic check is due at `now` after the last one at `last` (none: never checked).
// A last check in the future is never due, so a wrong clock cannot force a download each start.
[[nodiscard]] bool isDue(const std::optional<QDateTime> &last, const QDateTime &now);

} // namespace UpdateCheck
