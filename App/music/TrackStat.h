#pragma once

#include <QDateTime>

// How often one track was played, finished and skipped, derived from the play log; never stored.
struct TrackStat
{
    int plays = 0;                  // finished, or listened to for at least 10 s
    int completes = 0;              // finished
    int skips = 0;                  // skipped, whether counted as a play or not
    QDateTime last = distantPast(); // latest counted play

    bool operator==(const TrackStat &) const = default;

    // Stands for "never": earlier than every real play date.
    [[nodiscard]] static QDateTime distantPast() { return QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC); }
};
