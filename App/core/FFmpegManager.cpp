#include "FFmpegManager.h"

#include "core/ProcessRunner.h"
#include "core/ToolMirror.h"

using namespace std::chrono_literals;

namespace FFmpegManager {

ToolSpec spec(Tool tool, CpuArch arch)
{
    Q_ASSERT(tool == Tool::Ffmpeg || tool == Tool::Ffprobe);
    const bool arm = arch == CpuArch::Arm64;
    const QString builds = QStringLiteral("https://github.com/BtbN/FFmpeg-Builds/releases/download/latest/") +
                           (arm ? QStringLiteral("ffmpeg-master-latest-linuxarm64-gpl.tar.xz")
                                : QStringLiteral("ffmpeg-master-latest-linux64-gpl.tar.xz"));
    const QString release = QStringLiteral("https://johnvansickle.com/ffmpeg/releases/") +
                            (arm ? QStringLiteral("ffmpeg-release-arm64-static.tar.xz")
                                 : QStringLiteral("ffmpeg-release-amd64-static.tar.xz"));
    return {tool,
            {ToolMirror::apply(QUrl(builds)), ToolMirror::apply(QUrl(release))},
            ArchiveKind::TarXz,
            {QStringLiteral("-version")}};
}

QCoro::Task<ToolCheck> smokeTest()
{
    const QStringList arguments{QStringLiteral("-hide_banner"),
                                QStringLiteral("-loglevel"),
                                QStringLiteral("error"),
                                QStringLiteral("-f"),
                                QStringLiteral("lavfi"),
                                QStringLiteral("-i"),
                                QStringLiteral("anullsrc=r=8000:cl=mono"),
                                QStringLiteral("-t"),
                                QStringLiteral("0.1"),
                                QStringLiteral("-f"),
                                QStringLiteral("null"),
                                QStringLiteral("-")};
    const RunResult result = co_await ProcessRunner::run(Tools::path(Tool::Ffmpeg), arguments, 30s);
    if (result.status != 0)
        co_return ToolCheck{false, result.stderrText};
    co_return ToolCheck{true, QStringLiteral("Encoded test audio")};
}

} // namespace FFmpegManager
