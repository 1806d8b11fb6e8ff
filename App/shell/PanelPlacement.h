#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the tray's panel opens: beside what was clicked, on the screen.
namespace PanelPlacement {
// The top-left corner of a panel of `size` opened from `anchor` (the icon's rectangle, or the
// pointer as a one-pixel one): centred on it, below it when it lies in the upper half of
// `available` (a panel at the top of the screen), above it otherwise, and moved inside
// `available` where it would stick out.
[[nodiscard]] QPoint topLeft(const QRect &anchor, const QSize &size, const QRect &available);
} // namespace PanelPlacement
