#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

// What the playback benchmarks share: process CPU time, a song made by ffmpeg, and the baseline of
// a bare libmpv playing it.
namespace BenchAudio {

[[nodiscard]] double processCpuSeconds();

// CPU seconds per wall second over one measured stretch.
struct Meter
{
    double cpu = processCpuSeconds();
    QElapsedTimer wall;
    Meter() { wall.start(); }
    [[nodiscard]] double percent() const
    {
        return 100.0 * (processCpuSeconds() - cpu) / (double(wall.nsecsElapsed()) / 1e9);
    }
};

// Counts what reaches objects on the main thread: timer events and queued calls.
class WakeupCounter : public QObject
{
public:
    int timers = 0;
    int queuedCalls = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// A 192 kb/s stereo MP3 of a 440 Hz tone, two seconds longer than `seconds`, in `folder`.
[[nodiscard]] QString makeSong(const QString &folder, int seconds);
// libmpv alone, its events waited for on this thread, for `seconds` of playback: percent of one core.
[[nodiscard]] double bareMpv(const QString &path, int seconds);

} // namespace BenchAudio
