#pragma once

#include <QObject>
#include <QString>

class AppState;

// The main window's content: the setup screen until the tools are ready, then the shell with the
// downloader tab that the coordinator's selection names.
class RootViewModel final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool setupDone READ setupDone NOTIFY setupDoneChanged)
    // The downloader tab shown in the shell slot: "Download", "Queue", "History" or "Diagnostics".
    Q_PROPERTY(QString screen READ screen NOTIFY screenChanged)

public:
    // `state` must outlive this model.
    explicit RootViewModel(AppState *state, QObject *parent = nullptr);

    [[nodiscard]] bool setupDone() const;
    [[nodiscard]] QString screen() const;

Q_SIGNALS:
    void setupDoneChanged();
    void screenChanged();

private:
    AppState *m_state;
};
