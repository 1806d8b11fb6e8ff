#pragma once

#include <QObject>
#include <QString>

class PlayerManager;

// The speaker icon and the volume slider. Every write goes to the player's volume, which applies
// and stores it.
class VolumeModel final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double volume READ volume NOTIFY changed)
    Q_PROPERTY(QString symbol READ symbol NOTIFY changed)

public:
    explicit VolumeModel(PlayerManager &player, QObject *parent = nullptr);

    [[nodiscard]] double volume() const;
    // Muted at exactly 0, one wave below 0.4, two from there.
    [[nodiscard]] QString symbol() const;

    Q_INVOKABLE void setVolume(double volume);
    // Unmuting gives 0.8, not the level before: the click remembers nothing.
    Q_INVOKABLE void toggleMute();

Q_SIGNALS:
    void changed();

private:
    PlayerManager &m_player;
};
