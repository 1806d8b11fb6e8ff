#pragma once

#include "core/CpuArch.h"
#include "core/Tool.h"
#include "tools/DiagnosticItem.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The pieces of the diagnostics list that need no tool run, and the report built from the list.
namespace Diagnostics {

// Less free space than this in the home folder's file system is flagged.
inline constexpr qint64 lowDiskSpace = 1'000'000'000;

// The distribution's name ("Debian GNU/Linux"), from os-release; "Linux" when it has none.
[[nodiscard]] QString systemName();
// The system item: the distribution's name, with its full name and version as the detail.
[[nodiscard]] DiagnosticItem systemItem();
// The processor kind as the screens name it: "Arm (aarch64)" or "x86_64".
[[nodiscard]] QString architectureText(CpuArch arch = CpuArchs::host());
// The architecture item, detailed by architectureText().
[[nodiscard]] DiagnosticItem architectureItem(CpuArch arch = CpuArchs::host());
// The version the probe found, or that it found none, with the executable's path.
[[nodiscard]] DiagnosticItem toolItem(Tool tool, const std::optional<QString> &version);
// Free space, ok above `lowDiskSpace` bytes; nothing when the size could not be read.
[[nodiscard]] std::optional<DiagnosticItem> diskItem(std::optional<qint64> freeBytes);
// The space the user may still fill in the file system of the home folder; nothing when unknown.
[[nodiscard]] std::optional<qint64> homeFreeBytes();

// Plain text for pasting into a bug report, one line per item, each ended by a line feed.
[[nodiscard]] QString report(const QList<DiagnosticItem> &items, const QDateTime &now, const QString &toolsFolder);

} // namespace Diagnostics
