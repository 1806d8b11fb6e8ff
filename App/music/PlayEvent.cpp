#include "PlayEvent.h"

#include "core/Json.h"

QJsonObject PlayEvent::toJson() const
{
    QJsonObject object{
        {QStringLiteral("trackID"), trackID},
        {QStringLiteral("date"), Json::dateText(date)},
        {QStringLiteral("listened"), Json::finite(listened)},
        {QStringLiteral("completed"), completed},
        {QStringLiteral("skipped"), skipped},
    };
    Json::insertOptional(object, QStringLiteral("duration"), duration);
    return object;
}

std::optional<PlayEvent> PlayEvent::fromJson(const QJsonObject &object, QString *error)
{
    Json::Reader read(object);
    PlayEvent event;
    event.trackID = read.string(QStringLiteral("trackID"));
    event.date = read.date(QStringLiteral("date"));
    event.listened = read.number(QStringLiteral("listened"));
    event.duration = read.optionalNumber(QStringLiteral("duration"));
    event.completed = read.boolean(QStringLiteral("completed"));
    event.skipped = read.boolean(QStringLiteral("skipped"));
    return read.result(std::move(event), error);
}
