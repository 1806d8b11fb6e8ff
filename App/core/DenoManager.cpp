#include "DenoManager.h"

#include "core/ProcessRunner.h"
#include "core/ToolMirror.h"

using namespace std::chrono_literals;

namespace DenoManager {

ToolSpec spec(CpuArch arch)
{
    const QString asset = arch == CpuArch::Arm64 ? QStringLiteral("deno-aarch64-unknown-linux-gnu.zip")
                                                 : QStringLiteral("deno-x86_64-unknown-linux-gnu.zip");
    return {
        Tool::Deno,
        {ToolMirror::apply(QUrl(QStringLiteral("https://github.com/denoland/deno/releases/latest/download/") + asset))},
        ArchiveKind::Zip,
        {QStringLiteral("--version")}};
}

QUrl latestAPI()
{
    return ToolMirror::apply(QUrl(QStringLiteral("https://api.github.com/repos/denoland/deno/releases/latest")));
}

QCoro::Task<ToolCheck> smokeTest()
{
    const QStringList arguments{QStringLiteral("eval"), QStringLiteral("console.log(21*2)")};
    const RunResult result = co_await ProcessRunner::run(Tools::path(Tool::Deno), arguments, 30s);
    const bool ok = result.stdoutText.trimmed() == QLatin1String("42");
    co_return ToolCheck{ok, result.status == 0 ? QStringLiteral("Evaluated JS") : result.stderrText};
}

} // namespace DenoManager
