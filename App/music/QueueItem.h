#pragma once

#include "Track.h"

#include <QUuid>

// One entry of the play queue. Every enqueue makes a fresh uid, so a song may stand in the
// queue more than once; the track may be replaced by what stream resolution learns.
class QueueItem
{
public:
    explicit QueueItem(Track track)
        : track(std::move(track))
        , m_uid(QUuid::createUuid())
    {}

    [[nodiscard]] QUuid uid() const { return m_uid; }

    Track track;

    bool operator==(const QueueItem &) const = default;

private:
    QUuid m_uid;
};

inline size_t qHash(const QueueItem &item, size_t seed = 0)
{
    return qHashMulti(seed, item.uid(), item.track);
}
