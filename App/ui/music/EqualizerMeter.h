#pragma once

#include "EqualizerClock.h"

#include <QList>
#include <QPointer>
#include <QQuickItem>

// The heights of the three bars of the current-song mark. It animates only while `active`, shown
// and in a window on screen; otherwise every bar rests at 4 points and the clock does not tick
// for it.
class EqualizerMeter : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(bool active READ active WRITE setActive NOTIFY activeChanged)
    Q_PROPERTY(QList<qreal> heights READ heights NOTIFY heightsChanged)
    Q_PROPERTY(bool animating READ animating NOTIFY animatingChanged)

public:
    explicit EqualizerMeter(QQuickItem *parent = nullptr);
    ~EqualizerMeter() override;

    [[nodiscard]] bool active() const { return m_active; }
    void setActive(bool active);
    [[nodiscard]] QList<qreal> heights() const { return m_heights; }
    [[nodiscard]] bool animating() const { return m_clock != nullptr; }

    // |sin(4t + 1.7i)| × 10 + 4 for bar i at `seconds`.
    [[nodiscard]] static QList<qreal> heightsAt(double seconds);

Q_SIGNALS:
    void activeChanged();
    void heightsChanged();
    void animatingChanged();

protected:
    void itemChange(ItemChange change, const ItemChangeData &value) override;
    void componentComplete() override;

private:
    void reconsider();
    void setHeights(const QList<qreal> &heights);

    bool m_active = false;
    QList<qreal> m_heights{4, 4, 4};
    QPointer<EqualizerClock> m_clock;
    QMetaObject::Connection m_windowConnection;
};
