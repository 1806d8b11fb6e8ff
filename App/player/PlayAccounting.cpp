#include "PlayAccounting.h"

#include <QDateTime>

#include <algorithm>

namespace {
constexpr double longestTick = 1.5;
constexpr double completedShare = 0.85;
constexpr double shortPlay = 30;
constexpr double shortestRecorded = 2.0;
constexpr qsizetype recentLimit = 100;
constexpr qsizetype recentDrop = 50;
} // namespace

void PlayAccounting::open()
{
    m_listened = 0;
    m_lastTick.reset();
    m_hasStarted = false;
    m_recorded = false;
}

void PlayAccounting::reopen()
{
    m_listened = 0;
    m_recorded = false;
    m_hasStarted = true;
}

void PlayAccounting::tick(double now, bool running)
{
    if (!running) {
        m_lastTick.reset();
        return;
    }
    if (m_lastTick)
        m_listened += std::min(now - *m_lastTick, longestTick);
    m_lastTick = now;
}

std::optional<PlayEvent> PlayAccounting::close(const Track &track, std::optional<double> length, bool userSkipped,
                                               bool ended)
{
    if (m_recorded)
        return std::nullopt;
    m_recorded = true;
    m_recentlyPlayed.append(track.id);
    if (m_recentlyPlayed.size() > recentLimit)
        m_recentlyPlayed.remove(0, recentDrop);
    if (!m_hasStarted)
        return std::nullopt;

    const bool completed = ended || (length && m_listened >= completedShare * *length);
    const bool skipped =
        userSkipped && !completed && (m_listened < shortPlay || (length && *length > 1 && m_listened / *length < 0.5));
    if (!completed && m_listened < shortestRecorded)
        return std::nullopt;
    return PlayEvent{track.id, QDateTime::currentDateTimeUtc(), m_listened, length, completed, skipped};
}
