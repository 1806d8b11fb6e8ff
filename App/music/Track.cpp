#include "Track.h"

#include "MusicText.h"
#include "VideoSite.h"
#include "core/Json.h"
#include "core/StringPool.h"

namespace {

std::optional<QString> stringValue(const QJsonObject &json, const QString &key)
{
    const QJsonValue value = json.value(key);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

// A leading byte order mark, which some uploads carry in their texts, is dropped: Qt's JSON
// reader drops it from a stored track, so it would differ after a restart.
std::optional<QString> firstString(const QJsonObject &json, std::initializer_list<QString> keys)
{
    for (const QString &key : keys) {
        if (auto value = stringValue(json, key)) {
            if (value->startsWith(QChar(0xFEFF)))
                value->remove(0, 1);
            return value;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<Track> Track::from(const QJsonObject &json)
{
    const auto id = stringValue(json, QStringLiteral("id"));
    if (!id || MusicText::characterCount(*id) != 11)
        return std::nullopt;

    Track track;
    track.id = *id;
    track.title =
        firstString(json, {QStringLiteral("track"), QStringLiteral("title")}).value_or(QStringLiteral("Untitled"));
    track.artist = MusicText::cleanArtist(firstString(json, {QStringLiteral("artist"), QStringLiteral("creator"),
                                                             QStringLiteral("channel"), QStringLiteral("uploader")})
                                              .value_or(QStringLiteral("Unknown artist")));

    if (!json.contains(QStringLiteral("artist"))) {
        // Uploads of a bare channel are often titled "Artist - Song".
        const qsizetype dash = track.title.indexOf(QStringLiteral(" - "));
        if (dash >= 0 && MusicText::characterCount(track.title.left(dash)) < 40) {
            const QString before = MusicText::trimmedSpaces(track.title.left(dash));
            const QString after = MusicText::trimmedSpaces(track.title.mid(dash + 3));
            if (!before.isEmpty() && !after.isEmpty()) {
                track.artist = before;
                track.title = after;
            }
        }
    } else {
        // Several credited artists: keep the first.
        const QStringList pieces = track.artist.split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (!pieces.isEmpty())
            track.artist = MusicText::trimmedSpaces(pieces.first());
    }

    QStringList candidates;
    if (auto genre = stringValue(json, QStringLiteral("genre")))
        candidates.append(*genre);
    const QJsonValue tags = json.value(QStringLiteral("tags"));
    if (tags.isArray()) {
        QStringList tagTexts;
        bool allStrings = true;
        for (const QJsonArray array = tags.toArray(); const QJsonValue &tag : array) {
            allStrings = allStrings && tag.isString();
            tagTexts.append(tag.toString());
        }
        if (allStrings)
            candidates.append(tagTexts);
    }
    track.genre = MusicText::detectGenre(candidates);

    const QJsonValue duration = json.value(QStringLiteral("duration"));
    if (duration.isDouble())
        track.duration = duration.toDouble();
    track.album = firstString(json, {QStringLiteral("album")});
    return track;
}

bool Track::isPlaceholder() const
{
    return title == QStringLiteral("Loading…");
}

QList<QUrl> Track::artwork(bool large) const
{
    static const QStringList largeNames{QStringLiteral("maxresdefault"), QStringLiteral("sddefault"),
                                        QStringLiteral("mqdefault")};
    static const QStringList smallNames{QStringLiteral("mqdefault")};
    QList<QUrl> links;
    for (const QString &name : large ? largeNames : smallNames) {
        const QUrl link(VideoSite::imageBase() + QStringLiteral("/vi/") + id + QLatin1Char('/') + name +
                            QStringLiteral(".jpg"),
                        QUrl::StrictMode);
        if (link.isValid())
            links.append(link);
    }
    return links;
}

QJsonObject Track::toJson() const
{
    QJsonObject object{
        {QStringLiteral("id"), id},
        {QStringLiteral("title"), title},
        {QStringLiteral("artist"), artist},
    };
    Json::insertOptional(object, QStringLiteral("duration"), duration);
    Json::insertOptional(object, QStringLiteral("album"), album);
    Json::insertOptional(object, QStringLiteral("genre"), genre);
    return object;
}

std::optional<Track> Track::fromJson(const QJsonObject &object, QString *error)
{
    Json::Reader read(object);
    Track track;
    track.id = read.string(QStringLiteral("id"));
    track.title = read.string(QStringLiteral("title"));
    track.artist = read.string(QStringLiteral("artist"));
    track.duration = read.optionalNumber(QStringLiteral("duration"));
    track.album = read.optionalString(QStringLiteral("album"));
    track.genre = read.optionalString(QStringLiteral("genre"));
    return read.result(std::move(track), error);
}

void Track::shareTexts(StringPool &pool)
{
    for (QString *text : {&id, &title, &artist})
        pool.share(*text);
    pool.share(album);
    pool.share(genre);
}

size_t qHash(const Track &track, size_t seed)
{
    // Each optional is preceded by a presence flag, so an absent value and an empty one differ.
    return qHashMulti(seed, track.id, track.title, track.artist, track.duration.has_value(), track.duration.value_or(0),
                      track.album.has_value(), track.album.value_or(QString()), track.genre.has_value(),
                      track.genre.value_or(QString()));
}
