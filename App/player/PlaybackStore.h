#pragma once

#include "SavedPlayback.h"

#include <QFutureWatcher>
#include <QObject>
#include <QString>

#include <optional>

// The file "playback.json" in the support folder. Saving hands the state to a worker thread,
// which encodes and writes it, so a long queue costs the window nothing; writes run one at a
// time and the latest state is written last. Once the application is quitting there is no later
// turn of the event loop to wait for: a save then writes at once, after any write in flight.
// A failed write leaves the previous file and a line in "app.log"; nothing reaches the user.
// Main thread only.
class PlaybackStore final : public QObject
{
    Q_OBJECT

public:
    explicit PlaybackStore(QObject *parent = nullptr);
    // Waits for the write in flight: a worker must not outlive the state it writes.
    ~PlaybackStore() override;

    // The saved state, or none without a readable file. An unreadable file is moved aside to
    // "playback.json.bad" before a save can overwrite it.
    [[nodiscard]] std::optional<SavedPlayback> load();
    void save(const SavedPlayback &state);

Q_SIGNALS:
    // A save reached the disk.
    void saved();

private:
    void quitting();
    void writeFinished();
    void report(const QString &error);

    QString m_path;
    QFutureWatcher<QString> m_writer; // the error of the write in flight, empty on success
    bool m_writing = false;
    std::optional<SavedPlayback> m_next; // the latest state saved while a write was running
    bool m_quitting = false;
};
