#pragma once

#include <QList>
#include <QTimer>

class DownloadTask;

// Downloads under way as yt-dlp reports them: the tasks are set downloading, and once started their
// progress, speed and time left move ten times a second.
class ProgressTicker final
{
public:
    explicit ProgressTicker(const QList<DownloadTask *> &tasks);

    void start() { m_timer.start(); }
    void stop() { m_timer.stop(); }
    [[nodiscard]] int ticks() const { return m_ticks; }

private:
    void tick();

    QList<DownloadTask *> m_tasks;
    QTimer m_timer;
    int m_ticks = 0;
};
