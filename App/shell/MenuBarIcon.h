#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

class PlayerManager;

// The application's icon in the desktop's tray: a waveform while playback is meant to run, a
// note list otherwise. A click asks for the small player; the menu, for hosts that send no
// click, offers the main window and quitting.
class MenuBarIcon final : public QObject
{
    Q_OBJECT

public:
    // `player` must outlive the icon. Nothing shows before show().
    explicit MenuBarIcon(PlayerManager &player, QObject *parent = nullptr);

    void show();
    // The symbol drawn now.
    [[nodiscard]] QString symbol() const { return m_symbol; }
    // Where the icon sits on the screen; empty where the host does not say (StatusNotifier hosts).
    [[nodiscard]] QRect geometry() const { return m_tray.geometry(); }

    // A symbol of the interface's icon font as an icon, drawn at the sizes trays and window lists
    // ask for.
    [[nodiscard]] static QIcon symbolIcon(const QString &symbol);

Q_SIGNALS:
    void clicked();
    void openRequested();
    void quitRequested();

private:
    // Hosts redraw and resend the whole picture on every change: only a change of the symbol
    // itself gets through.
    void followPlayer();

    PlayerManager &m_player;
    QMenu m_menu;
    QSystemTrayIcon m_tray;
    QString m_symbol;
};
