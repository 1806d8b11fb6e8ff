#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <optional>

class AppState;
class LibraryStore;
class PlayerManager;
struct Track;

// What the player bar, the Now Playing view and the tray player show of the current song, and
// the actions they share: like, Non-Stop and download. Read from the player and the library
// each time; nothing is kept.
class CurrentTrackModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool hasCurrent READ hasCurrent NOTIFY currentChanged)
    Q_PROPERTY(QString title READ title NOTIFY currentChanged)
    Q_PROPERTY(QString artist READ artist NOTIFY currentChanged)
    // Candidate links of the current song's small picture; empty with nothing current.
    Q_PROPERTY(QList<QUrl> artwork READ artwork NOTIFY currentChanged)
    Q_PROPERTY(bool liked READ liked NOTIFY likedChanged)
    Q_PROPERTY(QString likeSymbol READ likeSymbol NOTIFY likedChanged)
    Q_PROPERTY(bool nonStop READ nonStop NOTIFY nonStopChanged)
    Q_PROPERTY(QString nonStopHelp READ nonStopHelp NOTIFY nonStopChanged)

public:
    explicit CurrentTrackModel(AppState &state, QObject *parent = nullptr);

    [[nodiscard]] bool hasCurrent() const;
    [[nodiscard]] QString title() const;
    [[nodiscard]] QString artist() const;
    [[nodiscard]] QList<QUrl> artwork() const;
    [[nodiscard]] bool liked() const;
    [[nodiscard]] QString likeSymbol() const;
    [[nodiscard]] bool nonStop() const;
    [[nodiscard]] QString nonStopHelp() const;

    // Like and download act on the song current at the moment of the click; with none, nothing.
    Q_INVOKABLE void toggleLike();
    Q_INVOKABLE void toggleNonStop();
    // Queued as an audio download into the music folder; the outcome shows as a toast.
    Q_INVOKABLE void download();

Q_SIGNALS:
    void currentChanged();
    void likedChanged();
    void nonStopChanged();

protected:
    [[nodiscard]] std::optional<Track> current() const;

    AppState &m_state;
    PlayerManager &m_player;
    LibraryStore &m_library;
};
