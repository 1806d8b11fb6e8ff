#pragma once

#include "CurrentTrackModel.h"
#include "SeekModel.h"
#include "TransportModel.h"
#include "VolumeModel.h"

// The player bar along the bottom of the music window: the current song with its status line,
// the transport and seek controls, and the tools (Non-Stop, download, queue, volume).
class PlayerBarModel final : public CurrentTrackModel
{
    Q_OBJECT
    Q_PROPERTY(TransportModel *transport READ transport CONSTANT)
    Q_PROPERTY(SeekModel *seek READ seek CONSTANT)
    Q_PROPERTY(VolumeModel *volume READ volume CONSTANT)
    // "Loading…", else "Buffering…", else the artist.
    Q_PROPERTY(QString statusText READ statusText NOTIFY statusChanged)
    Q_PROPERTY(bool showQueue READ showQueue NOTIFY showQueueChanged)

public:
    explicit PlayerBarModel(AppState &state, QObject *parent = nullptr);

    [[nodiscard]] TransportModel *transport() const { return m_transport; }
    [[nodiscard]] SeekModel *seek() const { return m_seek; }
    [[nodiscard]] VolumeModel *volume() const { return m_volume; }
    [[nodiscard]] QString statusText() const;
    [[nodiscard]] bool showQueue() const;

    // A click on the song opens or closes Now Playing; with nothing current it does nothing.
    Q_INVOKABLE void open();
    Q_INVOKABLE void toggleQueue();

Q_SIGNALS:
    void statusChanged();
    void showQueueChanged();

private:
    TransportModel *m_transport;
    SeekModel *m_seek;
    VolumeModel *m_volume;
};
