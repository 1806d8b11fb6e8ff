#include "NowPlayingModel.h"

#include "SeekModel.h"
#include "TransportModel.h"
#include "UpcomingModel.h"
#include "coordinator/AppState.h"

NowPlayingModel::NowPlayingModel(AppState &state, QObject *parent)
    : CurrentTrackModel(state, parent)
    , m_transport(new TransportModel(m_player, this))
    , m_seek(new SeekModel(m_player, this))
    , m_upcoming(new UpcomingModel(m_player, upcomingLimit, this))
{
    connect(m_upcoming, &QAbstractItemModel::rowsInserted, this, &NowPlayingModel::upcomingChanged);
    connect(m_upcoming, &QAbstractItemModel::rowsRemoved, this, &NowPlayingModel::upcomingChanged);
}

QString NowPlayingModel::subtitle() const
{
    const std::optional<Track> track = current();
    if (!track)
        return {};
    return track->album ? track->artist + QStringLiteral(" · ") + *track->album : track->artist;
}

QString NowPlayingModel::likeText() const
{
    return liked() ? QStringLiteral("Liked") : QStringLiteral("Like");
}

QList<QUrl> NowPlayingModel::largeArtwork() const
{
    const std::optional<Track> track = current();
    return track ? track->artwork(true) : QList<QUrl>();
}

bool NowPlayingModel::hasUpcoming() const
{
    return m_upcoming->rowCount() > 0;
}

QString NowPlayingModel::emptyText() const
{
    return nonStop() ? QStringLiteral("Finding more songs for you…")
                     : QStringLiteral("Nothing queued. Turn on Non-Stop Playback to keep the music going.");
}

void NowPlayingModel::startRadio()
{
    if (const std::optional<Track> track = current())
        m_player.startRadio(*track);
}

void NowPlayingModel::close()
{
    m_state.setShowNowPlaying(false);
}
