#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>

#include <functional>

class MprisPlayerAdaptor;
class PlayerManager;
class QImage;

// The player in the desktop's media controls: owns "org.mpris.MediaPlayer2.morvane" and serves
// org.mpris.MediaPlayer2 and org.mpris.MediaPlayer2.Player at "/org/mpris/MediaPlayer2". When the
// name is taken the player simply goes without. It remembers only the values it last announced.
class MprisService final : public QObject
{
    Q_OBJECT

public:
    // A link any client can read to the picture the player shows; empty when there is none.
    using ArtworkLink = std::function<QUrl(const QImage &)>;

    // On the session bus. `player` must outlive the service.
    explicit MprisService(PlayerManager *player, QObject *parent = nullptr);
    ~MprisService() override;

    [[nodiscard]] bool isExported() const { return m_exported; }
    void setArtworkLink(ArtworkLink link);

    static QString serviceName() { return QStringLiteral("org.mpris.MediaPlayer2.morvane"); }
    static QString objectPath() { return QStringLiteral("/org/mpris/MediaPlayer2"); }

    // For the adaptors.
    [[nodiscard]] PlayerManager *player() const;
    [[nodiscard]] QUrl artworkLink(const QImage &artwork) const
    {
        return m_artworkLink ? m_artworkLink(artwork) : QUrl();
    }
    // Commands answer the caller at once; their work runs on the next turn of the event loop,
    // and not at all once the player is gone.
    void later(std::function<void(PlayerManager &)> work);
    void requestRaise();
    void requestQuit();
    void requestOpen(const QString &uri);

Q_SIGNALS:
    // What the desktop asks of the application as a whole; the application decides.
    void raiseRequested();
    void quitRequested();
    void openUriRequested(const QString &uri);

private:
    void announceChanges();
    [[nodiscard]] QVariantMap playerProperties() const;

    QPointer<PlayerManager> m_player;
    MprisPlayerAdaptor *m_playerAdaptor;
    ArtworkLink m_artworkLink;
    bool m_exported = false;
    // Every change in one turn of the event loop makes one announcement.
    QTimer m_announce;
    QVariantMap m_announced;
};
