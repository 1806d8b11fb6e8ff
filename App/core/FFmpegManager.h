#pragma once

#include "core/CpuArch.h"
#include "core/ToolCheck.h"
#include "core/ToolSpec.h"

#include <QCoroTask>

// FFmpeg and ffprobe: where they are downloaded from and how FFmpeg is checked.
namespace FFmpegManager {

// For `tool` FFmpeg or ffprobe: static builds for the processor kind, as tar.xz archives that
// hold both tools in a sub-folder.
[[nodiscard]] ToolSpec spec(Tool tool, CpuArch arch = CpuArchs::host());
// Encodes a tenth of a second of generated silence.
QCoro::Task<ToolCheck> smokeTest();

} // namespace FFmpegManager
