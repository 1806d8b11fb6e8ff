#include "QueuePanelModel.h"

#include "UpcomingModel.h"
#include "coordinator/AppState.h"
#include "core/TextHelpers.h"

QueuePanelModel::QueuePanelModel(AppState &state, QObject *parent)
    : CurrentTrackModel(state, parent)
    , m_upcoming(new UpcomingModel(m_player, -1, this))
{
    connect(this, &CurrentTrackModel::currentChanged, this, &QueuePanelModel::queueChanged);
    connect(&m_player, &PlayerManager::fillingChanged, this, &QueuePanelModel::nonStopLabelChanged);
}

bool QueuePanelModel::queueEmpty() const
{
    return m_player.queue().isEmpty();
}

bool QueuePanelModel::canClear() const
{
    return !m_player.upcoming().isEmpty();
}

QString QueuePanelModel::currentUid() const
{
    const std::optional<int> index = m_player.index();
    return index && hasCurrent() ? UpcomingModel::uidText(m_player.queue().at(*index).uid()) : QString();
}

QString QueuePanelModel::currentDurationText() const
{
    const std::optional<Track> track = current();
    return track && track->duration ? formatClock(*track->duration) : QString();
}

QString QueuePanelModel::nonStopLabel() const
{
    return m_player.isFillingQueue() ? QStringLiteral("Finding more…") : QStringLiteral("Non-Stop");
}

void QueuePanelModel::clear()
{
    if (canClear())
        m_player.clearUpcoming();
}

void QueuePanelModel::close()
{
    m_state.setShowQueue(false);
}
