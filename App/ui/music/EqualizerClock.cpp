#include "EqualizerClock.h"

#include <QDateTime>
#include <QQmlEngine>
#include <QTimeZone>

namespace {
// Each step redraws the whole window, which costs far more than the bars. A quarter second divides
// the player's half-second position clock, and Qt lands repeating coarse timers on multiples of
// their interval, so the two fire together: every step of the seek bar shares its frame with a
// step of the bars.
constexpr int intervalMs = 250;
} // namespace

EqualizerClock::EqualizerClock(QObject *parent)
    : QObject(parent)
    , m_time([] {
        static const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
        return double(reference.msecsTo(QDateTime::currentDateTimeUtc())) / 1000.0;
    })
{
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        ++m_ticks;
        Q_EMIT tick(now());
    });
}

EqualizerClock *EqualizerClock::of(QObject *engineOwned)
{
    QQmlEngine *engine = qmlEngine(engineOwned);
    if (!engine)
        return nullptr;
    auto *clock = engine->findChild<EqualizerClock *>(QString(), Qt::FindDirectChildrenOnly);
    return clock ? clock : new EqualizerClock(engine);
}

void EqualizerClock::attach(EqualizerMeter *meter)
{
    m_meters.insert(meter);
    if (!m_timer.isActive())
        m_timer.start();
}

void EqualizerClock::detach(EqualizerMeter *meter)
{
    m_meters.remove(meter);
    if (m_meters.isEmpty())
        m_timer.stop();
}
