#pragma once

#include "NamePromptModel.h"
#include "NowPlayingModel.h"
#include "OutputListModel.h"
#include "PlayerBarModel.h"
#include "QueuePanelModel.h"
#include "RouteViewModel.h"
#include "SidebarModel.h"
#include "TopBarModel.h"

#include <QObject>

class AppState;

// The music window: its regions' view models, and what the window lays over or beside its
// content (the Now Playing view, the queue panel, the playback error banner).
class MusicShellModel final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(SidebarModel *sidebar READ sidebar CONSTANT)
    Q_PROPERTY(TopBarModel *topBar READ topBar CONSTANT)
    Q_PROPERTY(RouteViewModel *routes READ routes CONSTANT)
    Q_PROPERTY(NamePromptModel *namePrompt READ namePrompt CONSTANT)
    Q_PROPERTY(PlayerBarModel *playerBar READ playerBar CONSTANT)
    Q_PROPERTY(QueuePanelModel *queuePanel READ queuePanel CONSTANT)
    Q_PROPERTY(NowPlayingModel *nowPlaying READ nowPlaying CONSTANT)
    Q_PROPERTY(OutputListModel *outputs READ outputs CONSTANT)
    Q_PROPERTY(bool showNowPlaying READ showNowPlaying NOTIFY showNowPlayingChanged)
    Q_PROPERTY(bool showQueue READ showQueue NOTIFY showQueueChanged)
    // The player's last failure; empty when there is none, and then no banner shows.
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)

public:
    explicit MusicShellModel(AppState *state, QObject *parent = nullptr);

    [[nodiscard]] SidebarModel *sidebar() { return &m_sidebar; }
    [[nodiscard]] TopBarModel *topBar() { return &m_topBar; }
    [[nodiscard]] RouteViewModel *routes() { return &m_routes; }
    [[nodiscard]] NamePromptModel *namePrompt() { return &m_namePrompt; }
    [[nodiscard]] PlayerBarModel *playerBar() { return &m_playerBar; }
    [[nodiscard]] QueuePanelModel *queuePanel() { return &m_queuePanel; }
    [[nodiscard]] NowPlayingModel *nowPlaying() { return &m_nowPlaying; }
    [[nodiscard]] OutputListModel *outputs() { return &m_outputs; }
    [[nodiscard]] bool showNowPlaying() const;
    [[nodiscard]] bool showQueue() const;
    [[nodiscard]] QString errorMessage() const;

Q_SIGNALS:
    void showNowPlayingChanged();
    void showQueueChanged();
    void errorMessageChanged();

private:
    AppState *m_state;
    SidebarModel m_sidebar;
    TopBarModel m_topBar;
    RouteViewModel m_routes;
    NamePromptModel m_namePrompt;
    PlayerBarModel m_playerBar;
    QueuePanelModel m_queuePanel;
    NowPlayingModel m_nowPlaying;
    OutputListModel m_outputs;
};
