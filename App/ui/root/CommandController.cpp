#include "CommandController.h"

#include "coordinator/AppState.h"
#include "core/SettingsStore.h"
#include "platform/DesktopServices.h"

#include <QDir>
#include <QUrl>

namespace {
// The Go menu's screens, in its order.
constexpr Route::Kind goRoutes[] = {Route::Kind::Home,  Route::Kind::Search,    Route::Kind::Explore,
                                    Route::Kind::Liked, Route::Kind::Playlists, Route::Kind::Downloads};

RepeatMode nextMode(RepeatMode mode)
{
    switch (mode) {
    case RepeatMode::Off: return RepeatMode::All;
    case RepeatMode::All: return RepeatMode::One;
    case RepeatMode::One: return RepeatMode::Off;
    }
    return RepeatMode::Off;
}
} // namespace

CommandController::CommandController(AppState *state, DesktopServices *desktop, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_desktop(desktop)
{
    connect(&state->player(), &PlayerManager::playingChanged, this, &CommandController::playTitleChanged);
}

QString CommandController::playTitle() const
{
    return m_state->player().isPlaying() ? tr("Pause") : tr("Play");
}

void CommandController::newDownload()
{
    m_state->setSelection(SidebarItem::Download);
    m_state->setRoute(Route{Route::Kind::Downloads, {}});
    m_state->setUrlText(QString());
}

void CommandController::checkToolUpdates()
{
    // Returns at once; the installer shows its own progress and refuses a second run.
    m_state->deps().updateTools();
}

void CommandController::quit()
{
    Q_EMIT quitRequested();
}

void CommandController::togglePlay()
{
    m_state->player().togglePlay();
}

void CommandController::next()
{
    m_state->player().advance(true);
}

void CommandController::previous()
{
    m_state->player().previous();
}

void CommandController::skip(double seconds)
{
    m_state->player().seek(m_state->player().position() + seconds);
}

void CommandController::changeVolume(double step)
{
    m_state->player().changeVolume(step);
}

void CommandController::toggleShuffle()
{
    m_state->player().setShuffle(!m_state->player().shuffle());
}

void CommandController::cycleRepeat()
{
    m_state->player().setRepeatMode(nextMode(m_state->player().repeatMode()));
}

void CommandController::toggleNonStop()
{
    m_state->player().setNonStop(!m_state->player().nonStop());
}

void CommandController::likeCurrentSong()
{
    if (const std::optional<Track> current = m_state->player().current())
        m_state->library().toggleLike(*current);
}

void CommandController::toggleQueue()
{
    m_state->setShowQueue(!m_state->showQueue());
}

void CommandController::pauseAll()
{
    m_state->downloads().pauseAll();
}

void CommandController::resumeAll()
{
    m_state->downloads().resumeAll();
}

void CommandController::clearFinished()
{
    m_state->downloads().clearFinished();
}

void CommandController::openDownloadFolder()
{
    const QVariant folder = SettingsStore::value(QStringLiteral("downloadFolder"));
    m_desktop->openUrl(QUrl::fromLocalFile(folder.isValid() ? folder.toString() : QDir::homePath()));
}

void CommandController::go(int screen)
{
    if (screen >= 1 && screen <= int(std::size(goRoutes)))
        m_state->setRoute(Route{goRoutes[screen - 1], {}});
}
