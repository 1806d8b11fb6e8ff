#include "ListeningProfile.h"

#include "RecommendText.h"
#include "core/TextHelpers.h"
#include "music/LibraryStore.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double decayDays = 45;
constexpr double likeWeight = 2.0;

double eventWeight(const PlayEvent &event)
{
    if (event.completed)
        return 1.0;
    if (event.skipped)
        return -0.6;
    return event.isCounted() ? 0.4 : 0.0;
}

// Adds weights by track; each artist name is turned into its key once per build.
class Accumulator
{
public:
    explicit Accumulator(ListeningProfile &profile)
        : m_profile(profile)
    {}

    void add(const Track &track, double weight)
    {
        auto key = m_keys.constFind(track.artist);
        if (key == m_keys.cend())
            key = m_keys.insert(track.artist, RecommendText::artistKey(track.artist));
        // A zero weight still makes the artist known.
        m_profile.artists[*key] += weight;
        if (track.genre)
            m_profile.genres[*track.genre] += weight;
    }

private:
    ListeningProfile &m_profile;
    QHash<QString, QString> m_keys;
};

double largest(const QHash<QString, double> &weights)
{
    double result = 1.0;
    for (double weight : weights)
        result = std::max(result, weight);
    return result;
}

} // namespace

ListeningProfile ListeningProfile::build(const LibraryStore &library, const QDateTime &now)
{
    ListeningProfile profile;
    Accumulator weights(profile);
    const QHash<QString, Track> catalog = library.catalog();
    int skips = 0;
    int events = 0;
    for (const PlayEvent &event : library.plays()) {
        const auto track = catalog.constFind(event.trackID);
        if (track == catalog.cend())
            continue;
        const double ageDays = event.date.msecsTo(now) / 1000.0 / 86400.0;
        weights.add(*track, std::exp(-ageDays / decayDays) * eventWeight(event));
        skips += event.skipped ? 1 : 0;
        ++events;
    }
    for (const Track &track : library.tracks(library.likes()))
        weights.add(track, likeWeight);

    profile.maxArtist = largest(profile.artists);
    profile.maxGenre = largest(profile.genres);
    profile.skipRate = events > 0 ? double(skips) / events : 0.0;

    const QHash<QString, TrackStat> stats = library.stats();
    qint64 plays = 0;
    for (const TrackStat &stat : stats)
        plays += stat.plays;
    profile.repeatFactor = std::min(double(plays) / std::max<qsizetype>(stats.size(), 1) - 1, 1.0);
    return profile;
}

QStringList ListeningProfile::heaviest(const QHash<QString, double> &weights, double threshold)
{
    QList<std::pair<double, QString>> kept;
    for (auto it = weights.cbegin(); it != weights.cend(); ++it) {
        if (it.value() > threshold)
            kept.append({it.value(), it.key()});
    }
    std::sort(kept.begin(), kept.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first > b.first : codePointLess(a.second, b.second);
    });
    QStringList keys;
    keys.reserve(kept.size());
    for (const auto &entry : std::as_const(kept))
        keys.append(entry.second);
    return keys;
}
