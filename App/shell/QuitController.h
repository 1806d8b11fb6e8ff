#pragma once

#include <QObject>

#include <functional>

class DownloadManager;
class QuitQuestion;

// The one road out of the application. A person quitting (menu, tray, the media controls' Quit)
// is asked first while downloads run; the system ending the process or the session (SIGTERM,
// SIGINT, logout) is never asked. Either way playback is saved on every request, and a quit that
// goes ahead saves it again and hands the running downloads to the next start before the event
// loop ends.
class QuitController final : public QObject
{
    Q_OBJECT

public:
    // `savePlayback` writes the player's state (and the library) at once.
    QuitController(DownloadManager &downloads, std::function<void()> savePlayback, QuitQuestion &question,
                   QObject *parent = nullptr);

    // A person asks to quit. Asking again while the question is open changes nothing.
    void requestQuit();
    // The system ends the process or the session: quits without a question, also while one is open.
    void quitUnasked();

    [[nodiscard]] bool isAsking() const { return m_asking; }

Q_SIGNALS:
    // Everything is saved and the downloads are handed over: the event loop may end with status 0.
    void readyToExit();

private:
    void request(bool personAsking);
    void answered(bool quit);
    void terminate();

    DownloadManager &m_downloads;
    std::function<void()> m_savePlayback;
    QuitQuestion &m_question;
    bool m_asking = false;
    bool m_terminated = false;
};
