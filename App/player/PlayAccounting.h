#pragma once

#include "music/PlayEvent.h"
#include "music/Track.h"

#include <QStringList>

#include <optional>

// The accounting of one play at a time: the seconds actually heard, counted on the ticks of a
// monotonic clock while sound comes out, and the closing of the play into at most one entry of
// the play log. Also the ids of the plays closed lately, which the non-stop refill avoids.
class PlayAccounting
{
public:
    // A new item: nothing heard yet, not started, open.
    void open();
    // The item became ready to play: from now on its play is recorded.
    void markStarted() { m_hasStarted = true; }
    [[nodiscard]] bool hasStarted() const { return m_hasStarted; }
    // The same item again from its start (repeat one): a new play that counts as started.
    void reopen();

    // One tick of the time observer at `now` seconds. Between two running ticks at most 1.5 s
    // count, so a suspended machine or a blocked event loop adds little; a tick while nothing
    // plays stops the count, so a pause adds nothing.
    void tick(double now, bool running);
    // Playback resumed at `now`: the next tick counts from here.
    void resumeAt(double now) { m_lastTick = now; }

    // Closes the open play of `track`, once. `length` is the item's known length. Gives the
    // play-log entry when the play started and was completed or heard for 2 s or more.
    [[nodiscard]] std::optional<PlayEvent> close(const Track &track, std::optional<double> length, bool userSkipped,
                                                 bool ended);

    // Oldest first; past 100 ids the oldest 50 are dropped.
    [[nodiscard]] const QStringList &recentlyPlayed() const { return m_recentlyPlayed; }

private:
    double m_listened = 0;
    std::optional<double> m_lastTick;
    bool m_hasStarted = false;
    bool m_recorded = false;
    QStringList m_recentlyPlayed;
};
