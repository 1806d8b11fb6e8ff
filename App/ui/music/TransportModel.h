#pragma once

#include <QObject>
#include <QString>

class PlayerManager;

// The transport row: shuffle, previous, play/pause, next and repeat, with what each shows. Every
// control acts on the player at once; the model keeps nothing but the player.
class TransportModel final : public QObject
{
    Q_OBJECT
    // Play/pause, previous and next need a current song.
    Q_PROPERTY(bool hasCurrent READ hasCurrent NOTIFY changed)
    // The play/pause button spins instead of showing its symbol.
    Q_PROPERTY(bool busy READ busy NOTIFY changed)
    Q_PROPERTY(QString playSymbol READ playSymbol NOTIFY changed)
    Q_PROPERTY(bool shuffle READ shuffle NOTIFY changed)
    Q_PROPERTY(QString repeatSymbol READ repeatSymbol NOTIFY changed)
    Q_PROPERTY(bool repeatOn READ repeatOn NOTIFY changed)

public:
    explicit TransportModel(PlayerManager &player, QObject *parent = nullptr);

    [[nodiscard]] bool hasCurrent() const;
    // A paused player that waits for data shows its play symbol: only loading, or buffering
    // while meant to play, is worth a spinner.
    [[nodiscard]] bool busy() const;
    [[nodiscard]] QString playSymbol() const;
    [[nodiscard]] bool shuffle() const;
    [[nodiscard]] QString repeatSymbol() const;
    [[nodiscard]] bool repeatOn() const;

    Q_INVOKABLE void togglePlay();
    Q_INVOKABLE void previous();
    Q_INVOKABLE void next();
    Q_INVOKABLE void toggleShuffle();
    // off → all → one → off; the new mode is published before the save is asked for.
    Q_INVOKABLE void stepRepeat();

Q_SIGNALS:
    void changed();

private:
    PlayerManager &m_player;
};
