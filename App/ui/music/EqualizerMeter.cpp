#include "EqualizerMeter.h"

#include "EqualizerClock.h"

#include <QQuickWindow>

#include <cmath>

EqualizerMeter::EqualizerMeter(QQuickItem *parent)
    : QQuickItem(parent)
{}

EqualizerMeter::~EqualizerMeter()
{
    if (m_clock)
        m_clock->detach(this);
}

void EqualizerMeter::setActive(bool active)
{
    if (std::exchange(m_active, active) == active)
        return;
    Q_EMIT activeChanged();
    reconsider();
}

QList<qreal> EqualizerMeter::heightsAt(double seconds)
{
    QList<qreal> heights;
    for (int bar = 0; bar < 3; ++bar)
        heights.append(std::abs(std::sin(4 * seconds + 1.7 * bar)) * 10 + 4);
    return heights;
}

void EqualizerMeter::componentComplete()
{
    QQuickItem::componentComplete();
    reconsider();
}

// Visibility here is the item's own and its ancestors'; the window must also be on screen.
void EqualizerMeter::itemChange(ItemChange change, const ItemChangeData &value)
{
    QQuickItem::itemChange(change, value);
    if (change == ItemSceneChange) {
        disconnect(m_windowConnection);
        if (value.window)
            m_windowConnection = connect(value.window, &QWindow::visibilityChanged, this, &EqualizerMeter::reconsider);
    }
    if (change == ItemSceneChange || change == ItemVisibleHasChanged)
        reconsider();
}

void EqualizerMeter::reconsider()
{
    if (!isComponentComplete())
        return;
    const QQuickWindow *shown = window();
    const bool animate =
        m_active && isVisible() && shown && shown->isVisible() && shown->visibility() != QWindow::Minimized;
    EqualizerClock *clock = animate ? EqualizerClock::of(this) : nullptr;
    if (clock == m_clock)
        return;
    if (m_clock) {
        m_clock->detach(this);
        disconnect(m_clock, nullptr, this, nullptr);
    }
    m_clock = clock;
    if (m_clock) {
        m_clock->attach(this);
        connect(m_clock, &EqualizerClock::tick, this, [this](double seconds) { setHeights(heightsAt(seconds)); });
        setHeights(heightsAt(m_clock->now()));
    } else {
        setHeights({4, 4, 4});
    }
    Q_EMIT animatingChanged();
}

void EqualizerMeter::setHeights(const QList<qreal> &heights)
{
    if (std::exchange(m_heights, heights) != heights)
        Q_EMIT heightsChanged();
}
