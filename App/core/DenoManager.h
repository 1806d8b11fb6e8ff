#pragma once

#include "core/CpuArch.h"
#include "core/ToolCheck.h"
#include "core/ToolSpec.h"

#include <QCoroTask>
#include <QUrl>

// Deno, the JavaScript runtime yt-dlp solves the video site's challenges with.
namespace DenoManager {

// The newest release for the processor kind, a zip archive holding the executable.
[[nodiscard]] ToolSpec spec(CpuArch arch = CpuArchs::host());
// The release API answer holding the newest version in "tag_name".
[[nodiscard]] QUrl latestAPI();
// Evaluates 21*2: ok when it prints 42, whatever the exit status.
QCoro::Task<ToolCheck> smokeTest();

} // namespace DenoManager
