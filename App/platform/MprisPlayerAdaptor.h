#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QVariantMap>

class MprisService;

// org.mpris.MediaPlayer2.Player: the current song and the transport of the music player.
// Positions and lengths travel in microseconds.
class MprisPlayerAdaptor final : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QString LoopStatus READ loopStatus WRITE setLoopStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(bool Shuffle READ shuffle WRITE setShuffle)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double MinimumRate READ minimumRate)
    Q_PROPERTY(double MaximumRate READ maximumRate)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ hasCurrent)
    Q_PROPERTY(bool CanPlay READ hasCurrent)
    Q_PROPERTY(bool CanPause READ hasCurrent)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)

public:
    explicit MprisPlayerAdaptor(MprisService *service);

    [[nodiscard]] QString playbackStatus() const;
    [[nodiscard]] QString loopStatus() const;
    // An unknown word changes nothing.
    void setLoopStatus(const QString &status);
    // Songs play at normal speed only, and MPRIS tells a pause by PlaybackStatus alone: the rate
    // is 1 always. Clients counting the time themselves are set right by Seeked when a loaded
    // song starts. A client setting 0 asks for a pause, as the interface has it.
    [[nodiscard]] double rate() const { return 1.0; }
    void setRate(double rate);
    [[nodiscard]] double minimumRate() const { return 1.0; }
    [[nodiscard]] double maximumRate() const { return 1.0; }
    [[nodiscard]] bool shuffle() const;
    void setShuffle(bool shuffle);
    [[nodiscard]] QVariantMap metadata() const;
    [[nodiscard]] double volume() const;
    void setVolume(double volume);
    [[nodiscard]] qlonglong position() const;
    [[nodiscard]] bool canGoNext() const;
    [[nodiscard]] bool hasCurrent() const;
    [[nodiscard]] bool canSeek() const;
    [[nodiscard]] bool canControl() const { return true; }

    // The current queue item's id: the same song queued twice has two.
    [[nodiscard]] QDBusObjectPath trackId() const;
    [[nodiscard]] static qlonglong microseconds(double seconds);

public Q_SLOTS:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong Offset);
    void SetPosition(const QDBusObjectPath &TrackId, qlonglong Position);
    void OpenUri(const QString &Uri);

Q_SIGNALS:
    void Seeked(qlonglong Position);

private:
    MprisService *m_service;
};
