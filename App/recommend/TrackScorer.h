#pragma once

#include "ListeningProfile.h"
#include "music/Track.h"
#include "music/TrackStat.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>

// Scores tracks against a listening profile for one ranking pass: the inputs are gathered once
// and every track of the pass is scored against the same profile, likes, statistics and time.
class TrackScorer
{
public:
    TrackScorer(ListeningProfile profile, QSet<QString> liked, QHash<QString, TrackStat> stats,
                QHash<QString, qint64> shown, quint64 seed, QDateTime now);

    [[nodiscard]] const ListeningProfile &profile() const { return m_profile; }
    [[nodiscard]] const QDateTime &now() const { return m_now; }

    // Higher is better: affinity to the artist and genre, liked, how the track fared so far, how
    // often Home showed it, and a seeded jitter of up to 0.6 that varies rankings between seeds.
    [[nodiscard]] double score(const Track &track) const;

    // The tracks by score, best first, each scored once, plus `bonus` when given; equal scores
    // keep their given order.
    [[nodiscard]] QList<Track> ranked(const QList<Track> &tracks,
                                      const std::function<double(const Track &)> &bonus = {}) const;

    // A value in [0, 0.9999] in steps of 0.0001, fixed for a seed and an id: 64-bit FNV-1a of the
    // id's UTF-8 bytes, started from the offset basis xor the seed, modulo 10000.
    [[nodiscard]] static double jitter(quint64 seed, const QString &id);

private:
    [[nodiscard]] double history(const QString &id) const;

    ListeningProfile m_profile;
    QSet<QString> m_liked;
    QHash<QString, TrackStat> m_stats;
    QHash<QString, qint64> m_shown;
    quint64 m_seed;
    QDateTime m_now;
};
