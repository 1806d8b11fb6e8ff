#pragma once

#include <QObject>
#include <QSet>
#include <QTimer>

#include <functional>

class EqualizerMeter;

// The one clock behind every equalizer of a QML engine: it ticks every 0.25 s while at least one
// meter animates, and not at all otherwise, so an idle player costs nothing.
class EqualizerClock final : public QObject
{
    Q_OBJECT

public:
    // Seconds since 1 January 2001, 00:00 UTC.
    using TimeSource = std::function<double()>;

    explicit EqualizerClock(QObject *parent = nullptr);

    // The clock of `engine`'s meters, made on first use.
    [[nodiscard]] static EqualizerClock *of(QObject *engineOwned);

    void setTimeSource(TimeSource source) { m_time = std::move(source); }
    [[nodiscard]] double now() const { return m_time(); }

    void attach(EqualizerMeter *meter);
    void detach(EqualizerMeter *meter);
    [[nodiscard]] bool isRunning() const { return m_timer.isActive(); }
    [[nodiscard]] int ticks() const { return m_ticks; }
    [[nodiscard]] int meterCount() const { return int(m_meters.size()); }

Q_SIGNALS:
    void tick(double seconds);

private:
    TimeSource m_time;
    QTimer m_timer;
    QSet<EqualizerMeter *> m_meters;
    int m_ticks = 0;
};
