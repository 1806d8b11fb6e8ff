#pragma once

#include "CurrentTrackModel.h"
#include "UpcomingModel.h"

// The queue panel at the right of the music window: the song now playing, the songs after it
// ("Next Up", reorderable), and the Non-Stop hint while the player tops the queue up.
class QueuePanelModel final : public CurrentTrackModel
{
    Q_OBJECT
    Q_PROPERTY(UpcomingModel *upcoming READ upcoming CONSTANT)
    Q_PROPERTY(bool queueEmpty READ queueEmpty NOTIFY queueChanged)
    // "Clear" shows only while songs follow the current one.
    Q_PROPERTY(bool canClear READ canClear NOTIFY queueChanged)
    Q_PROPERTY(QString currentUid READ currentUid NOTIFY currentChanged)
    Q_PROPERTY(QString currentDurationText READ currentDurationText NOTIFY currentChanged)
    // The Next Up header's Non-Stop label: "Finding more…" while a refill runs, else "Non-Stop".
    Q_PROPERTY(QString nonStopLabel READ nonStopLabel NOTIFY nonStopLabelChanged)

public:
    explicit QueuePanelModel(AppState &state, QObject *parent = nullptr);

    [[nodiscard]] UpcomingModel *upcoming() const { return m_upcoming; }
    [[nodiscard]] bool queueEmpty() const;
    [[nodiscard]] bool canClear() const;
    [[nodiscard]] QString currentUid() const;
    [[nodiscard]] QString currentDurationText() const;
    [[nodiscard]] QString nonStopLabel() const;

    Q_INVOKABLE void clear();
    Q_INVOKABLE void close();

Q_SIGNALS:
    void queueChanged();
    void nonStopLabelChanged();

private:
    UpcomingModel *m_upcoming;
};
