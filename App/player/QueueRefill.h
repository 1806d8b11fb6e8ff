#pragma once

#include "core/CancelToken.h"
#include "core/SharedResult.h"
#include "music/QueueItem.h"
#include "music/Track.h"

#include <QCoroTask>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QUuid>

#include <optional>

class LibraryStore;
class MusicCatalog;
class PlayerManager;
class RecommendationEngine;

// Keeps a non-stop queue from running dry: before the last songs play, it appends songs that fit
// the one playing. They come from that song's radio mix (fetched once per song and kept until the
// process ends, a failed fetch as an empty mix), with the recommender's candidates near it woven
// in; when those give too little, from the mix of an earlier song of the queue and a search for
// the artist's songs. Songs queued or heard lately are left out, and so are those the user took
// out of the queue. Nothing here reports an error: whatever the catalogue cannot answer adds
// nothing.
//
// At most one refill runs; requests made meanwhile wait for it instead of fetching twice. What a
// refill finds goes to the end of the queue of the moment it ends, whatever the user did meanwhile,
// unless a new station replaced the queue: a station grows only from its own songs.
class QueueRefill final : public QObject
{
    Q_OBJECT

public:
    QueueRefill(PlayerManager *player, LibraryStore *library, RecommendationEngine *engine, MusicCatalog *catalog);
    ~QueueRefill() override;

    [[nodiscard]] bool isFilling() const { return m_running.has_value(); }

    // With non-stop playback on and fewer than 4 songs after the current one (3 when forced),
    // refills; returns when the refill it started or joined has ended.
    QCoro::Task<> request(bool force);
    // The periodic check while a song plays. A song whose refill found nothing is not asked
    // about again this way: the catalogue would only be asked the same questions every tick.
    void requestFromTimer();
    // Every song may be asked about again (non-stop playback was switched on).
    void forgetEmpty() { m_emptyFor.reset(); }
    // A new station replaced the queue: a refill still running for the queue before appends
    // nothing, and requests wait for its end to run one of their own.
    void startOver() { ++m_station; }
    // The user cleared or removed these items: they count as queued lately, or the next refill
    // would bring them straight back from the same mix.
    void setAside(const QList<QueueItem> &items);

Q_SIGNALS:
    void fillingChanged();

private:
    // One refill; returns whether it appended anything.
    QCoro::Task<bool> refill();
    QCoro::Task<QList<Track>> radioOf(Track seed);
    // The radio picks with the recommender's candidates woven in, then whatever the fallbacks add
    // while that is too little.
    QCoro::Task<QList<Track>> picksFor(Track seed, QSet<QString> avoid);
    [[nodiscard]] QSet<QString> avoided() const;
    [[nodiscard]] bool needed(bool force) const;
    [[nodiscard]] std::optional<QString> fallbackSeed(const QString &seedID) const;

    PlayerManager *m_player;
    LibraryStore *m_library;
    RecommendationEngine *m_engine;
    MusicCatalog *m_catalog;
    QHash<QString, QList<Track>> m_radioCache; // by the id of the seed song
    std::optional<SharedResult<>> m_running;   // the end of the running refill
    quint64 m_station = 0;                     // counts the stations started
    quint64 m_runningFor = 0;                  // the station the running refill fills
    std::optional<QUuid> m_emptyFor;           // the queue item whose last refill found nothing
    QStringList m_setAside;                    // ids of the songs the user took out, oldest first
    // Cancelled on destruction, which ends the catalogue's children.
    CancelToken m_cancel;
};
