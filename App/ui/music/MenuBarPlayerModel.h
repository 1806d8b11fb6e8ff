#pragma once

#include "CurrentTrackModel.h"
#include "SeekModel.h"
#include "TransportModel.h"
#include "UpcomingModel.h"
#include "VolumeModel.h"

// The small player of the tray panel and the Mini Player window: the current song with like and
// Non-Stop, the seek bar, the transport, the volume, the last playback error, the next few songs
// and the two ways out, to the main window and out of the application.
class MenuBarPlayerModel final : public CurrentTrackModel
{
    Q_OBJECT
    Q_PROPERTY(TransportModel *transport READ transport CONSTANT)
    Q_PROPERTY(SeekModel *seek READ seek CONSTANT)
    Q_PROPERTY(VolumeModel *volume READ volume CONSTANT)
    // The first `rowLimit` songs after the current one.
    Q_PROPERTY(UpcomingModel *upcoming READ upcoming CONSTANT)
    // "Queue (N)", N counting every song after the current one, not only the rows shown.
    Q_PROPERTY(QString queueTitle READ queueTitle NOTIFY upcomingChanged)
    Q_PROPERTY(bool hasUpcoming READ hasUpcoming NOTIFY upcomingChanged)
    // What the open queue says when nothing follows.
    Q_PROPERTY(QString emptyQueueText READ emptyQueueText NOTIFY nonStopChanged)
    // The player's last error; empty when there is none.
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)

public:
    static constexpr int rowLimit = 8;

    explicit MenuBarPlayerModel(AppState &state, QObject *parent = nullptr);

    [[nodiscard]] TransportModel *transport() const { return m_transport; }
    [[nodiscard]] SeekModel *seek() const { return m_seek; }
    [[nodiscard]] VolumeModel *volume() const { return m_volume; }
    [[nodiscard]] UpcomingModel *upcoming() const { return m_upcoming; }
    [[nodiscard]] int upcomingCount() const;
    [[nodiscard]] QString queueTitle() const;
    [[nodiscard]] bool hasUpcoming() const;
    [[nodiscard]] QString emptyQueueText() const;
    [[nodiscard]] QString errorMessage() const;

    // The windows belong to the application: these only say what the person chose.
    Q_INVOKABLE void openMain();
    Q_INVOKABLE void quit();

Q_SIGNALS:
    void upcomingChanged();
    void errorMessageChanged();
    void openMainRequested();
    void quitRequested();

private:
    TransportModel *m_transport;
    SeekModel *m_seek;
    VolumeModel *m_volume;
    UpcomingModel *m_upcoming;
};
