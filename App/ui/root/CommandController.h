#pragma once

#include <QObject>
#include <QString>

class AppState;
class DesktopServices;

// What the main window's menus and keyboard shortcuts do. Every command acts on the one
// coordinator and the services it owns, whichever window is in front; none is ever disabled, and
// one that finds nothing to act on does nothing.
class CommandController final : public QObject
{
    Q_OBJECT
    // "Pause" while playing, else "Play".
    Q_PROPERTY(QString playTitle READ playTitle NOTIFY playTitleChanged)

public:
    static constexpr double skipSeconds = 15;
    static constexpr double volumeStep = 0.1;

    // Both must outlive the controller.
    CommandController(AppState *state, DesktopServices *desktop, QObject *parent = nullptr);

    [[nodiscard]] QString playTitle() const;

    // File
    Q_INVOKABLE void newDownload();
    Q_INVOKABLE void checkToolUpdates();
    // A person asks to quit; the application decides whether to ask back.
    Q_INVOKABLE void quit();
    // Playback
    Q_INVOKABLE void togglePlay();
    Q_INVOKABLE void next();
    Q_INVOKABLE void previous();
    // The target is passed on unclamped: the player keeps it inside the track.
    Q_INVOKABLE void skip(double seconds);
    Q_INVOKABLE void changeVolume(double step);
    Q_INVOKABLE void toggleShuffle();
    // Off, then all, then one, then off again.
    Q_INVOKABLE void cycleRepeat();
    Q_INVOKABLE void toggleNonStop();
    Q_INVOKABLE void likeCurrentSong();
    Q_INVOKABLE void toggleQueue();
    // Downloads
    Q_INVOKABLE void pauseAll();
    Q_INVOKABLE void resumeAll();
    Q_INVOKABLE void clearFinished();
    // The folder "downloadFolder" names (an empty text included), the home folder when it names
    // none; it is not created when missing.
    Q_INVOKABLE void openDownloadFolder();
    // Go: the screens of the music window, 1 to 6 (Home, Search, Explore, Liked Songs, Playlists,
    // Downloads); other numbers do nothing.
    Q_INVOKABLE void go(int screen);

Q_SIGNALS:
    void playTitleChanged();
    void quitRequested();

private:
    AppState *m_state;
    DesktopServices *m_desktop;
};
