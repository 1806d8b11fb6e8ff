#pragma once

#include <QList>
#include <QString>

#include <optional>

// The player's repeat setting; stored by its raw value ("off", "all", "one").
enum class RepeatMode { Off, All, One };

namespace RepeatModes {
[[nodiscard]] const QList<RepeatMode> &all();
[[nodiscard]] QString rawValue(RepeatMode mode);
// Exact match of a raw value; anything else gives none.
[[nodiscard]] std::optional<RepeatMode> fromRawValue(const QString &text);
} // namespace RepeatModes
