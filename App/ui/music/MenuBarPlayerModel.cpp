#include "MenuBarPlayerModel.h"

#include "coordinator/AppState.h"

MenuBarPlayerModel::MenuBarPlayerModel(AppState &state, QObject *parent)
    : CurrentTrackModel(state, parent)
    , m_transport(new TransportModel(m_player, this))
    , m_seek(new SeekModel(m_player, this))
    , m_volume(new VolumeModel(m_player, this))
    , m_upcoming(new UpcomingModel(m_player, rowLimit, this))
{
    // Every change of the queue or the index reaches currentChanged; the rows alone would miss
    // songs added beyond the eighth.
    connect(this, &CurrentTrackModel::currentChanged, this, &MenuBarPlayerModel::upcomingChanged);
    connect(&m_player, &PlayerManager::errorMessageChanged, this, &MenuBarPlayerModel::errorMessageChanged);
}

int MenuBarPlayerModel::upcomingCount() const
{
    const std::optional<int> index = m_player.index();
    return index ? std::max(0, int(m_player.queue().size()) - *index - 1) : 0;
}

QString MenuBarPlayerModel::queueTitle() const
{
    return QStringLiteral("Queue (%1)").arg(upcomingCount());
}

bool MenuBarPlayerModel::hasUpcoming() const
{
    return upcomingCount() > 0;
}

QString MenuBarPlayerModel::emptyQueueText() const
{
    return nonStop() ? QStringLiteral("Finding more songs…") : QStringLiteral("Queue is empty");
}

QString MenuBarPlayerModel::errorMessage() const
{
    return m_player.errorMessage();
}

void MenuBarPlayerModel::openMain()
{
    Q_EMIT openMainRequested();
}

void MenuBarPlayerModel::quit()
{
    Q_EMIT quitRequested();
}
