#pragma once

#include <QString>

// The processor kinds tool downloads are built for.
enum class CpuArch { X86_64, Arm64 };

namespace CpuArchs {
// "arm64" (QSysInfo's name for 64-bit Arm) is the Arm machine; anything else counts as x86_64.
[[nodiscard]] CpuArch fromName(const QString &name);
[[nodiscard]] CpuArch host();
} // namespace CpuArchs
