#include "BenchAudio.h"

#include <QEvent>
#include <QProcess>

#include <mpv/client.h>

#include <ctime>

namespace BenchAudio {

double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

bool WakeupCounter::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Timer)
        ++timers;
    else if (event->type() == QEvent::MetaCall)
        ++queuedCalls;
    return false;
}

QString makeSong(const QString &folder, int seconds)
{
    const QString path = folder + QStringLiteral("/bench.mp3");
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                  QStringLiteral("-y"), QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                  QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds + 2),
                  QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-b:a"), QStringLiteral("192k"), path});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0)
        qFatal("ffmpeg failed: %s", ffmpeg.readAllStandardError().constData());
    return path;
}

double bareMpv(const QString &path, int seconds)
{
    mpv_handle *mpv = mpv_create();
    mpv_set_option_string(mpv, "ao", "null");
    mpv_set_option_string(mpv, "vid", "no");
    mpv_set_option_string(mpv, "config", "no");
    mpv_set_option_string(mpv, "load-scripts", "no");
    mpv_initialize(mpv);
    const QByteArray file = path.toUtf8();
    const char *command[] = {"loadfile", file.constData(), nullptr};
    mpv_command(mpv, command);
    const Meter meter;
    while (meter.wall.elapsed() < seconds * 1000)
        mpv_wait_event(mpv, 0.25);
    const double percent = meter.percent();
    mpv_terminate_destroy(mpv);
    return percent;
}

} // namespace BenchAudio
