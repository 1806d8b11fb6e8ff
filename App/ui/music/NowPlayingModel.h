#pragma once

#include "CurrentTrackModel.h"
#include "SeekModel.h"
#include "TransportModel.h"
#include "UpcomingModel.h"

// The Now Playing view over the content area: the current song large over a blur of its picture,
// the seek bar, the big transport row, the actions (like, radio, download, Non-Stop) and the
// first 40 songs of "Up Next".
class NowPlayingModel final : public CurrentTrackModel
{
    Q_OBJECT
    Q_PROPERTY(TransportModel *transport READ transport CONSTANT)
    Q_PROPERTY(SeekModel *seek READ seek CONSTANT)
    Q_PROPERTY(UpcomingModel *upcoming READ upcoming CONSTANT)
    // The artist, then " · " and the album when there is one.
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY currentChanged)
    Q_PROPERTY(QString likeText READ likeText NOTIFY likedChanged)
    // Candidate links of the large picture.
    Q_PROPERTY(QList<QUrl> largeArtwork READ largeArtwork NOTIFY currentChanged)
    Q_PROPERTY(bool hasUpcoming READ hasUpcoming NOTIFY upcomingChanged)
    // What "Up Next" says when nothing follows.
    Q_PROPERTY(QString emptyText READ emptyText NOTIFY nonStopChanged)

public:
    static constexpr int upcomingLimit = 40;

    explicit NowPlayingModel(AppState &state, QObject *parent = nullptr);

    [[nodiscard]] TransportModel *transport() const { return m_transport; }
    [[nodiscard]] SeekModel *seek() const { return m_seek; }
    [[nodiscard]] UpcomingModel *upcoming() const { return m_upcoming; }
    [[nodiscard]] QString subtitle() const;
    [[nodiscard]] QString likeText() const;
    [[nodiscard]] QList<QUrl> largeArtwork() const;
    [[nodiscard]] bool hasUpcoming() const;
    [[nodiscard]] QString emptyText() const;

    // A station of the current song: it plays alone, Non-Stop comes on and fills the queue behind it.
    Q_INVOKABLE void startRadio();
    Q_INVOKABLE void close();

Q_SIGNALS:
    void upcomingChanged();

private:
    TransportModel *m_transport;
    SeekModel *m_seek;
    UpcomingModel *m_upcoming;
};
