#include "Card.h"

#include <cmath>

namespace {
// FNV-1a over the UTF-8 bytes: the same value in every process, unlike the seeded qHash.
quint64 stableHash(const QString &text)
{
    quint64 hash = 14695981039346656037ULL;
    for (const char byte : text.toUtf8()) {
        hash ^= quint8(byte);
        hash *= 1099511628211ULL;
    }
    return hash;
}

// A card of `kind` showing `value`, held in the member that kind reads.
template<typename T> Card make(Card::Kind kind, T Card::*member, const T &value)
{
    Card card;
    card.kind = kind;
    card.*member = value;
    return card;
}
} // namespace

Card Card::ofTrack(const Track &track)
{
    return make(Kind::Track, &Card::track, track);
}

Card Card::ofStation(const Station &station)
{
    Card card = make(Kind::Station, &Card::station, station);
    card.track = station.seed;
    return card;
}

Card Card::ofPlaylist(const Playlist &playlist)
{
    return make(Kind::Playlist, &Card::playlist, playlist);
}

Card Card::ofRef(const PlaylistRef &ref)
{
    return make(Kind::PlaylistRef, &Card::ref, ref);
}

Card Card::ofGenre(const QString &name)
{
    return make(Kind::Genre, &Card::name, name);
}

Card Card::ofMood(const QString &name)
{
    return make(Kind::Mood, &Card::name, name);
}

Card Card::ofSearch(const QString &text)
{
    return make(Kind::Search, &Card::name, text);
}

QString Card::key() const
{
    switch (kind) {
    case Kind::Track: return track.id;
    case Kind::Station: return station.id;
    case Kind::Playlist: return playlist.id.toString(QUuid::WithoutBraces);
    case Kind::PlaylistRef: return ref.id;
    case Kind::Genre:
    case Kind::Mood:
    case Kind::Search: break;
    }
    return name;
}

QString Card::kindName() const
{
    switch (kind) {
    case Kind::Track: return QStringLiteral("track");
    case Kind::Station: return QStringLiteral("station");
    case Kind::Playlist: return QStringLiteral("playlist");
    case Kind::PlaylistRef: return QStringLiteral("ref");
    case Kind::Genre: return QStringLiteral("genre");
    case Kind::Mood: return QStringLiteral("mood");
    case Kind::Search: break;
    }
    return QStringLiteral("search");
}

QString Card::title() const
{
    switch (kind) {
    case Kind::Track: return track.title;
    case Kind::Station: return station.title;
    case Kind::Playlist: return playlist.name;
    case Kind::PlaylistRef: return ref.title;
    case Kind::Genre:
    case Kind::Mood:
    case Kind::Search: break;
    }
    return name;
}

QString Card::subtitle() const
{
    switch (kind) {
    case Kind::Track: return track.artist;
    case Kind::Station: return station.subtitle;
    // Deliberately plural whatever the count: "1 songs".
    case Kind::Playlist: return QString::number(playlist.tracks.size()) + QStringLiteral(" songs");
    case Kind::PlaylistRef: return ref.uploader;
    case Kind::Genre:
    case Kind::Mood:
    case Kind::Search: break;
    }
    return {};
}

QList<QUrl> Card::artwork() const
{
    switch (kind) {
    case Kind::Track:
    case Kind::Station: return track.artwork(false);
    case Kind::Playlist: return playlist.tracks.isEmpty() ? QList<QUrl>() : playlist.tracks.constFirst().artwork(false);
    case Kind::PlaylistRef: return ref.thumbnail ? QList<QUrl>{*ref.thumbnail} : QList<QUrl>();
    case Kind::Genre:
    case Kind::Mood:
    case Kind::Search: break;
    }
    return {};
}

QString Card::badge() const
{
    return kind == Kind::Station ? QStringLiteral("dot.radiowaves.left.and.right") : QStringLiteral("play.fill");
}

QString Card::help() const
{
    return kind == Kind::Mood ? QStringLiteral("Start a ") + name + QStringLiteral(" station") : QString();
}

std::pair<QColor, QColor> Card::genreColours(const QString &name)
{
    // The magnitude of the hash read as a signed number, so every value has one.
    const auto value = qint64(stableHash(name));
    const quint64 magnitude = value < 0 ? quint64(0) - quint64(value) : quint64(value);
    const double hue = double(magnitude % 360) / 360.0;
    double second = hue + 0.08;
    second -= std::floor(second);
    return {QColor::fromHsvF(float(hue), 0.65f, 0.62f), QColor::fromHsvF(float(second), 0.75f, 0.34f)};
}
