#pragma once

#include <QList>
#include <QString>

#include <optional>

// The external tools installed into the "Tools" folder, in display order. The raw value is the
// id, the display name and the stored form.
enum class Tool { Ytdlp, Ffmpeg, Ffprobe, Deno, Ejs };

namespace Tools {
[[nodiscard]] const QList<Tool> &all();
[[nodiscard]] QString rawValue(Tool tool);
// Exact, case-sensitive match of a raw value: "ffmpeg" is no tool, "FFmpeg" is.
[[nodiscard]] std::optional<Tool> fromRawValue(const QString &text);
// The tool's executable in the "Tools" folder; for the yt-dlp-ejs scripts, the folder itself.
[[nodiscard]] QString path(Tool tool);
} // namespace Tools
