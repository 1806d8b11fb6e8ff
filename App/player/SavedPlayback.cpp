#include "SavedPlayback.h"

#include "core/Json.h"

#include <QJsonDocument>

namespace {
const QString queueKey = QStringLiteral("queue");
const QString indexKey = QStringLiteral("index");
const QString positionKey = QStringLiteral("position");
const QString shuffleKey = QStringLiteral("shuffle");
const QString repeatModeKey = QStringLiteral("repeatMode");
} // namespace

QByteArray SavedPlayback::toJson() const
{
    QJsonArray tracks;
    for (const Track &track : queue)
        tracks.append(track.toJson());
    QJsonObject object{
        {queueKey, tracks},
        {positionKey, Json::finite(position)},
        {shuffleKey, shuffle},
        {repeatModeKey, RepeatModes::rawValue(repeatMode)},
    };
    Json::insertOptional(object, indexKey, index);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<SavedPlayback> SavedPlayback::fromJson(const QByteArray &data)
{
    const std::optional<QJsonObject> object = Json::parseObject(data);
    if (!object)
        return std::nullopt;
    Json::Reader read(*object);
    SavedPlayback saved;
    for (const QJsonArray queue = read.array(queueKey); const QJsonValue &element : queue) {
        const std::optional<Track> track = element.isObject() ? Track::fromJson(element.toObject()) : std::nullopt;
        if (!track)
            return std::nullopt;
        saved.queue.append(*track);
    }
    const std::optional<qint64> index = read.optionalInteger(indexKey);
    if (index && *index >= 0 && *index < saved.queue.size())
        saved.index = int(*index);
    saved.position = read.number(positionKey);
    saved.shuffle = read.boolean(shuffleKey);
    const std::optional<RepeatMode> mode = RepeatModes::fromRawValue(read.string(repeatModeKey));
    if (!mode)
        return std::nullopt;
    saved.repeatMode = *mode;
    return read.result(std::move(saved));
}
