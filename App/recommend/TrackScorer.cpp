#include "TrackScorer.h"

#include "RecommendText.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr double likedBonus = 1.2;
constexpr double unheardBonus = 0.4;
constexpr double jitterSpan = 0.6;
constexpr qint64 shownCap = 6;

} // namespace

TrackScorer::TrackScorer(ListeningProfile profile, QSet<QString> liked, QHash<QString, TrackStat> stats,
                         QHash<QString, qint64> shown, quint64 seed, QDateTime now)
    : m_profile(std::move(profile))
    , m_liked(std::move(liked))
    , m_stats(std::move(stats))
    , m_shown(std::move(shown))
    , m_seed(seed)
    , m_now(std::move(now))
{}

double TrackScorer::score(const Track &track) const
{
    double score =
        2 * std::max(m_profile.artists.value(RecommendText::artistKey(track.artist)), 0.0) / m_profile.maxArtist;
    if (track.genre)
        score += std::max(m_profile.genres.value(*track.genre), 0.0) / m_profile.maxGenre;
    if (m_liked.contains(track.id))
        score += likedBonus;
    score += history(track.id);
    score -= 0.25 * std::min(m_shown.value(track.id), shownCap);
    return score + jitterSpan * jitter(m_seed, track.id);
}

double TrackScorer::history(const QString &id) const
{
    const auto stat = m_stats.constFind(id);
    if (stat == m_stats.cend() || (stat->plays == 0 && stat->skips == 0))
        return unheardBonus;
    // Finishing a song often counts, up to its full 0.8 from 12 plays on.
    const double completion = stat->plays > 0 ? double(stat->completes) / stat->plays : 0.0;
    double result = completion * std::min(std::log(stat->plays + 1.0) / 2.5, 1.0) * 0.8;
    result -= 0.5 * stat->skips;
    // A song just heard should rest before it is offered again.
    const double hours = stat->last.msecsTo(m_now) / 3.6e6;
    if (hours < 3)
        result -= 2.5;
    else if (hours < 24)
        result -= 1.0;
    return result;
}

QList<Track> TrackScorer::ranked(const QList<Track> &tracks, const std::function<double(const Track &)> &bonus) const
{
    QList<std::pair<double, qsizetype>> scored;
    scored.reserve(tracks.size());
    for (qsizetype i = 0; i < tracks.size(); ++i)
        scored.append({score(tracks.at(i)) + (bonus ? bonus(tracks.at(i)) : 0.0), i});
    std::stable_sort(scored.begin(), scored.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    QList<Track> result;
    result.reserve(tracks.size());
    for (const auto &entry : std::as_const(scored))
        result.append(tracks.at(entry.second));
    return result;
}

double TrackScorer::jitter(quint64 seed, const QString &id)
{
    quint64 hash = 0xcbf29ce484222325ULL ^ seed;
    for (const char byte : id.toUtf8()) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 0x100000001b3ULL;
    }
    return double(hash % 10000) / 10000.0;
}
