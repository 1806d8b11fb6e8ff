#pragma once

#include "MenuBarIcon.h"
#include "ui/music/MenuBarPlayerModel.h"

#include <QObject>
#include <QRect>

#include <memory>

class AppState;
class PlayerManager;
class QQuickWindow;
class QuitController;
class Shell;

// The small player outside the main window. Where the desktop has a tray, its icon opens the
// player as a frameless panel beside it, which closes when it loses the focus; where it has none,
// the same player opens as the framed "Mini Player" window from the main window's menu. Either
// way "Open Morvane" brings the main window forward and "Quit" takes the application's one road
// out, the panel put away first.
class TrayPlayer final : public QObject
{
    Q_OBJECT

public:
    // All three must outlive the tray player; the windows load through the shell's engine.
    TrayPlayer(AppState &state, Shell &shell, QuitController &quit, QObject *parent = nullptr);
    ~TrayPlayer() override;

    // Puts the icon up; false where the desktop has no tray (the Mini Player stands in).
    bool start();

    [[nodiscard]] MenuBarIcon *icon() const { return m_icon.get(); }
    [[nodiscard]] MenuBarPlayerModel &model() { return m_model; }
    // Null until first opened, or when the QML failed to load (the reason is in app.log).
    [[nodiscard]] QQuickWindow *panel() const { return m_panel.get(); }
    [[nodiscard]] QQuickWindow *miniPlayer() const { return m_miniPlayer.get(); }

    // Opens the panel beside `anchor` (the icon, or the pointer) on the screen that holds it.
    void openPanel(const QRect &anchor);
    void openMiniPlayer();

private:
    [[nodiscard]] std::unique_ptr<QQuickWindow> create(bool framed);
    void iconClicked();
    void placePanel();
    void panelActiveChanged();
    void openMain();
    void quit();

    PlayerManager &m_player;
    Shell &m_shell;
    QuitController &m_quit;
    MenuBarPlayerModel m_model;
    std::unique_ptr<MenuBarIcon> m_icon;
    std::unique_ptr<QQuickWindow> m_panel;
    std::unique_ptr<QQuickWindow> m_miniPlayer;
    QRect m_anchor;
};
