#include "PanelPlacement.h"

#include <algorithm>

namespace {
// Between the icon and the panel, so the panel does not cover what was clicked.
constexpr int gap = 4;
} // namespace

QPoint PanelPlacement::topLeft(const QRect &anchor, const QSize &size, const QRect &available)
{
    const bool below = anchor.center().y() < available.center().y();
    const int x = anchor.center().x() - size.width() / 2;
    const int y = below ? anchor.bottom() + 1 + gap : anchor.top() - gap - size.height();
    // A panel larger than the screen keeps its top-left corner on it.
    return {std::max(available.left(), std::min(x, available.right() + 1 - size.width())),
            std::max(available.top(), std::min(y, available.bottom() + 1 - size.height()))};
}
