#include "SeekModel.h"

#include "core/TextHelpers.h"
#include "player/PlayerManager.h"

#include <cmath>

SeekModel::SeekModel(PlayerManager &player, QObject *parent)
    : QObject(parent)
    , m_player(player)
{
    connect(&m_player, &PlayerManager::indexChanged, this, &SeekModel::changed);
    connect(&m_player, &PlayerManager::durationChanged, this, &SeekModel::changed);
    connect(&m_player, &PlayerManager::positionChanged, this, &SeekModel::positionMoved);
    connect(this, &SeekModel::changed, this, [this] { m_shownClock = elapsedText(); });
}

// Every change on screen redraws the whole window: the slider steps with the clock, once a
// second, rather than at each of the player's half-second ticks. While the thumb is held,
// playback changes nothing on screen.
void SeekModel::positionMoved()
{
    if (!m_dragging && elapsedText() != m_shownClock)
        Q_EMIT changed();
}

double SeekModel::duration() const
{
    const double seconds = m_player.duration();
    return std::isfinite(seconds) && seconds > 0 ? seconds : 0;
}

double SeekModel::position() const
{
    const double seconds = m_player.position();
    return std::isfinite(seconds) ? seconds : 0;
}

QUuid SeekModel::currentUid() const
{
    const std::optional<int> index = m_player.index();
    if (!index || *index < 0 || *index >= int(m_player.queue().size()))
        return {};
    return m_player.queue().at(*index).uid();
}

double SeekModel::maximum() const
{
    return std::max(duration(), 1.0);
}

double SeekModel::value() const
{
    return m_dragging ? m_dragValue : std::clamp(position(), 0.0, maximum());
}

bool SeekModel::enabled() const
{
    return m_player.current().has_value() && duration() > 0;
}

QString SeekModel::elapsedText() const
{
    return formatClock(m_dragging ? m_dragValue : position());
}

QString SeekModel::durationText() const
{
    return formatClock(duration());
}

void SeekModel::begin()
{
    m_dragging = true;
    m_dragValue = position();
    m_draggedUid = currentUid();
    Q_EMIT changed();
}

void SeekModel::moveTo(double seconds)
{
    if (!std::isfinite(seconds))
        return;
    if (!m_dragging) {
        if (enabled())
            m_player.seek(std::clamp(seconds, 0.0, duration()));
        return;
    }
    m_dragValue = seconds;
    Q_EMIT changed();
}

// A song that changed while the thumb was held plays on: the time under the thumb was meant
// for the one before.
void SeekModel::end()
{
    if (!m_dragging)
        return;
    if (enabled() && !m_draggedUid.isNull() && currentUid() == m_draggedUid)
        m_player.seek(m_dragValue);
    m_dragging = false;
    Q_EMIT changed();
}
