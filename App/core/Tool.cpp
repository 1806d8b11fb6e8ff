#include "Tool.h"

#include "AppPaths.h"
#include "RawValues.h"

namespace Tools {

const QList<Tool> &all()
{
    static const QList<Tool> tools{Tool::Ytdlp, Tool::Ffmpeg, Tool::Ffprobe, Tool::Deno, Tool::Ejs};
    return tools;
}

QString rawValue(Tool tool)
{
    switch (tool) {
    case Tool::Ytdlp: return QStringLiteral("yt-dlp");
    case Tool::Ffmpeg: return QStringLiteral("FFmpeg");
    case Tool::Ffprobe: return QStringLiteral("ffprobe");
    case Tool::Deno: return QStringLiteral("Deno");
    case Tool::Ejs: return QStringLiteral("yt-dlp-ejs");
    }
    return {};
}

std::optional<Tool> fromRawValue(const QString &text)
{
    return RawValues::find(all(), &rawValue, text);
}

QString path(Tool tool)
{
    const QString folder = AppPaths::sub(QStringLiteral("Tools"));
    switch (tool) {
    case Tool::Ytdlp: return folder + QStringLiteral("/yt-dlp");
    case Tool::Ffmpeg: return folder + QStringLiteral("/ffmpeg");
    case Tool::Ffprobe: return folder + QStringLiteral("/ffprobe");
    case Tool::Deno: return folder + QStringLiteral("/deno");
    case Tool::Ejs: return folder;
    }
    return {};
}

} // namespace Tools
