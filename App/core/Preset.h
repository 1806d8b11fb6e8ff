#pragma once

#include <QList>
#include <QString>

#include <optional>

// The download quality presets, in picker order. The raw value is the display title and the
// stored form.
enum class Preset { Best, Uhd, Hd1080, Hd720, Audio, Custom };

namespace Presets {
[[nodiscard]] const QList<Preset> &all();
[[nodiscard]] QString rawValue(Preset preset);
// Exact, case-sensitive match of a raw value.
[[nodiscard]] std::optional<Preset> fromRawValue(const QString &text);
} // namespace Presets
