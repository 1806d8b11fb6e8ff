#include "MprisPlayerAdaptor.h"

#include "platform/MprisService.h"
#include "player/PlayerManager.h"

#include <QStringList>

#include <cmath>

namespace {

// MPRIS says "None", "Track" and "Playlist" for what the player calls off, one and all.
struct LoopWord
{
    RepeatMode mode;
    const char *word;
};
constexpr LoopWord loopWords[] = {{RepeatMode::Off, "None"}, {RepeatMode::One, "Track"}, {RepeatMode::All, "Playlist"}};

} // namespace

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService *service)
    : QDBusAbstractAdaptor(service)
    , m_service(service)
{}

qlonglong MprisPlayerAdaptor::microseconds(double seconds)
{
    return std::llround(seconds * 1e6);
}

QString MprisPlayerAdaptor::playbackStatus() const
{
    if (!hasCurrent())
        return QStringLiteral("Stopped");
    // Meant to play counts as playing, while the song still loads too.
    return m_service->player()->isPlaying() ? QStringLiteral("Playing") : QStringLiteral("Paused");
}

void MprisPlayerAdaptor::setRate(double rate)
{
    if (rate == 0.0)
        Pause();
}

QString MprisPlayerAdaptor::loopStatus() const
{
    const RepeatMode mode = m_service->player()->repeatMode();
    for (const LoopWord &loop : loopWords) {
        if (loop.mode == mode)
            return QString::fromLatin1(loop.word);
    }
    Q_UNREACHABLE();
}

void MprisPlayerAdaptor::setLoopStatus(const QString &status)
{
    for (const LoopWord &loop : loopWords) {
        if (status == QLatin1String(loop.word))
            m_service->player()->setRepeatMode(loop.mode);
    }
}

bool MprisPlayerAdaptor::shuffle() const
{
    return m_service->player()->shuffle();
}

void MprisPlayerAdaptor::setShuffle(bool shuffle)
{
    m_service->player()->setShuffle(shuffle);
}

QVariantMap MprisPlayerAdaptor::metadata() const
{
    const PlayerManager *player = m_service->player();
    const std::optional<Track> track = player->current();
    if (!track)
        return {};
    // The value types are part of the interface: an object path, a list of artists, and a
    // 64-bit length (a plain int would go out as "i").
    QVariantMap metadata{
        {QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId())},
        {QStringLiteral("xesam:title"), track->title},
        {QStringLiteral("xesam:artist"), QStringList{track->artist}},
    };
    if (track->album)
        metadata.insert(QStringLiteral("xesam:album"), *track->album);
    if (player->duration() > 0)
        metadata.insert(QStringLiteral("mpris:length"), microseconds(player->duration()));
    // Only the picture the player shows: a link of the catalogue's may not exist in that size.
    if (const QImage artwork = player->artwork(); !artwork.isNull()) {
        if (const QUrl link = m_service->artworkLink(artwork); !link.isEmpty())
            metadata.insert(QStringLiteral("mpris:artUrl"), link.toString());
    }
    return metadata;
}

double MprisPlayerAdaptor::volume() const
{
    return m_service->player()->volume();
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    m_service->player()->setVolume(volume);
}

qlonglong MprisPlayerAdaptor::position() const
{
    return microseconds(m_service->player()->position());
}

bool MprisPlayerAdaptor::canGoNext() const
{
    return m_service->player()->hasNext();
}

bool MprisPlayerAdaptor::hasCurrent() const
{
    return m_service->player()->current().has_value();
}

bool MprisPlayerAdaptor::canSeek() const
{
    return hasCurrent() && m_service->player()->duration() > 0;
}

QDBusObjectPath MprisPlayerAdaptor::trackId() const
{
    const PlayerManager *player = m_service->player();
    if (!player->current())
        return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    const QUuid uid = player->queue().at(*player->index()).uid();
    return QDBusObjectPath(QStringLiteral("/org/morvane/Morvane/track/") +
                           QString::fromLatin1(uid.toByteArray(QUuid::Id128)));
}

void MprisPlayerAdaptor::Next()
{
    m_service->later([](PlayerManager &player) { player.advance(true); });
}

void MprisPlayerAdaptor::Previous()
{
    m_service->later([](PlayerManager &player) { player.previous(); });
}

void MprisPlayerAdaptor::Pause()
{
    m_service->later([](PlayerManager &player) { player.pause(); });
}

void MprisPlayerAdaptor::PlayPause()
{
    m_service->later([](PlayerManager &player) { player.togglePlay(); });
}

// From the top when played again.
void MprisPlayerAdaptor::Stop()
{
    m_service->later([](PlayerManager &player) {
        player.pause();
        player.seek(0);
    });
}

void MprisPlayerAdaptor::Play()
{
    m_service->later([](PlayerManager &player) { player.resume(); });
}

// The position is read when the seek runs, so quick presses add up. Past either end the seek
// stays inside the song.
void MprisPlayerAdaptor::Seek(qlonglong Offset)
{
    m_service->later([Offset](PlayerManager &player) { player.seek(player.position() + double(Offset) / 1e6); });
}

// Ignored for a song no longer current, and outside the song.
void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath &TrackId, qlonglong Position)
{
    m_service->later([this, TrackId, Position](PlayerManager &player) {
        if (!canSeek() || TrackId != trackId() || Position < 0 || Position > microseconds(player.duration()))
            return;
        player.seek(double(Position) / 1e6);
    });
}

void MprisPlayerAdaptor::OpenUri(const QString &Uri)
{
    m_service->requestOpen(Uri);
}
