#include "ProgressTicker.h"

#include "engine/DownloadTask.h"

#include <algorithm>

ProgressTicker::ProgressTicker(const QList<DownloadTask *> &tasks)
    : m_tasks(tasks)
{
    for (DownloadTask *task : m_tasks)
        task->setStatus(TaskStatus::Downloading);
    m_timer.setInterval(100);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { tick(); });
}

void ProgressTicker::tick()
{
    ++m_ticks;
    for (DownloadTask *task : m_tasks) {
        task->setProgress(std::min(0.995, m_ticks / 1000.0));
        task->setSpeed(1'000'000.0 + m_ticks * 1000);
        task->setEta(1000 - m_ticks);
    }
}
