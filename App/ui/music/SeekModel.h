#pragma once

#include <QObject>
#include <QString>
#include <QUuid>

class PlayerManager;

// The seek bar: elapsed time, slider and length. While the thumb is held the slider and the
// elapsed time follow the thumb alone, and one seek goes out at release, to the song that was
// playing when the thumb was taken. Playback moves the bar once per second of the clock.
class SeekModel final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double maximum READ maximum NOTIFY changed)
    Q_PROPERTY(double value READ value NOTIFY changed)
    Q_PROPERTY(bool enabled READ enabled NOTIFY changed)
    Q_PROPERTY(bool dragging READ dragging NOTIFY changed)
    Q_PROPERTY(QString elapsedText READ elapsedText NOTIFY changed)
    Q_PROPERTY(QString durationText READ durationText NOTIFY changed)

public:
    explicit SeekModel(PlayerManager &player, QObject *parent = nullptr);

    // The slider runs from 0 to this; never below 1, and 1 for a length that is no number.
    [[nodiscard]] double maximum() const;
    [[nodiscard]] double value() const;
    [[nodiscard]] bool enabled() const;
    [[nodiscard]] bool dragging() const { return m_dragging; }
    [[nodiscard]] QString elapsedText() const;
    [[nodiscard]] QString durationText() const;

    // The thumb is taken, moved, let go. A move without the thumb held (an arrow key) seeks there
    // at once.
    Q_INVOKABLE void begin();
    Q_INVOKABLE void moveTo(double seconds);
    Q_INVOKABLE void end();

Q_SIGNALS:
    void changed();

private:
    void positionMoved();
    // The player's numbers with what is not finite read as 0.
    [[nodiscard]] double duration() const;
    [[nodiscard]] double position() const;
    [[nodiscard]] QUuid currentUid() const;

    PlayerManager &m_player;
    bool m_dragging = false;
    double m_dragValue = 0;
    QUuid m_draggedUid;
    // The elapsed time as last published.
    QString m_shownClock;
};
