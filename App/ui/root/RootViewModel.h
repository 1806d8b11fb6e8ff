#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <optional>

class AppState;

// The main window's content: the setup screen until the tools are ready, then the music shell;
// links dropped anywhere on the window; and the toast, which clears itself 2.2 s after each new
// message.
class RootViewModel final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool setupDone READ setupDone NOTIFY setupDoneChanged)
    // The message shown at the bottom of the window; empty when none is.
    Q_PROPERTY(QString toast READ toast NOTIFY toastChanged)

public:
    static constexpr int toastMs = 2200;

    // `state` must outlive this model; `receive` takes link text in for intake.
    RootViewModel(AppState *state, std::function<void(const QString &)> receive, QObject *parent = nullptr);

    [[nodiscard]] bool setupDone() const;
    [[nodiscard]] QString toast() const;

    // A drop on the window: its links, else its text. Links travel together, a link a line, so
    // that several dropped at once are all queued rather than each replacing the one before.
    Q_INVOKABLE void drop(const QList<QUrl> &urls, const QString &text);

Q_SIGNALS:
    void setupDoneChanged();
    void toastChanged();

private:
    void followToast();

    AppState *m_state;
    std::function<void(const QString &)> m_receive;
    QTimer m_toastTimer;
    // The message whose wait runs: setting it again while it shows keeps that wait.
    std::optional<QString> m_waitingToast;
};
