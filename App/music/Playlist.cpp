#include "Playlist.h"

#include "core/Json.h"

#include <QJsonArray>

QJsonObject Playlist::toJson() const
{
    QJsonArray trackList;
    for (const Track &track : tracks)
        trackList.append(track.toJson());
    QJsonObject object{
        {QStringLiteral("id"), Json::uuidText(id)},
        {QStringLiteral("name"), name},
        {QStringLiteral("tracks"), trackList},
        {QStringLiteral("created"), Json::dateText(created)},
    };
    Json::insertOptional(object, QStringLiteral("sourceURL"), sourceURL);
    return object;
}

std::optional<Playlist> Playlist::fromJson(const QJsonObject &object, QString *error)
{
    Json::Reader read(object);
    Playlist playlist;
    playlist.id = read.uuid(QStringLiteral("id"));
    playlist.name = read.string(QStringLiteral("name"));
    const QJsonArray trackList = read.array(QStringLiteral("tracks"));
    playlist.tracks.reserve(trackList.size());
    for (const QJsonValue &element : trackList) {
        if (!read.ok())
            break;
        QString trackError;
        const auto track = element.isObject() ? Track::fromJson(element.toObject(), &trackError) : std::nullopt;
        if (!track)
            read.fail(QStringLiteral("track %1 of \"tracks\": %2")
                          .arg(playlist.tracks.size())
                          .arg(element.isObject() ? trackError : QStringLiteral("not an object")));
        else
            playlist.tracks.append(*track);
    }
    playlist.created = read.date(QStringLiteral("created"));
    playlist.sourceURL = read.optionalString(QStringLiteral("sourceURL"));
    return read.result(std::move(playlist), error);
}

size_t qHash(const Playlist &playlist, size_t seed)
{
    return qHashMulti(seed, playlist.id, playlist.name, qHashRange(playlist.tracks.begin(), playlist.tracks.end()),
                      playlist.created, playlist.sourceURL.has_value(), playlist.sourceURL.value_or(QString()));
}
