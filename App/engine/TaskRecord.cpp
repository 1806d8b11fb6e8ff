#include "TaskRecord.h"

#include "core/Json.h"

#include <QJsonArray>

#include <algorithm>
#include <cmath>

QJsonObject TaskRecord::toJson() const
{
    QJsonObject object{
        {QStringLiteral("id"), Json::uuidText(id)},
        {QStringLiteral("options"), options.toJson()},
        {QStringLiteral("status"), TaskStatuses::rawValue(status)},
        {QStringLiteral("progress"), std::isnan(progress) ? 0.0 : std::clamp(progress, 0.0, 1.0)},
        {QStringLiteral("createdAt"), Json::dateText(createdAt)},
        {QStringLiteral("outputFiles"), QJsonArray::fromStringList(outputFiles)},
    };
    Json::insertOptional(object, QStringLiteral("finishedAt"), finishedAt);
    Json::insertOptional(object, QStringLiteral("finalSize"), finalSize);
    Json::insertOptional(object, QStringLiteral("error"), error);
    return object;
}

std::optional<TaskRecord> TaskRecord::fromJson(const QJsonObject &object, QString *error)
{
    Json::Reader read(object);
    TaskRecord record;
    record.id = read.uuid(QStringLiteral("id"));
    const QJsonObject options = read.object(QStringLiteral("options"));
    if (read.ok()) {
        QString optionsError;
        if (const auto decoded = DownloadOptions::fromJson(options, &optionsError))
            record.options = *decoded;
        else
            read.fail(QStringLiteral("options: ") + optionsError);
    }
    const QString status = read.string(QStringLiteral("status"));
    if (read.ok()) {
        if (const auto decoded = TaskStatuses::fromRawValue(status))
            record.status = *decoded;
        else
            read.fail(QStringLiteral("unknown status \"%1\"").arg(status));
    }
    record.progress = read.number(QStringLiteral("progress"));
    record.createdAt = read.date(QStringLiteral("createdAt"));
    record.finishedAt = read.optionalDate(QStringLiteral("finishedAt"));
    record.outputFiles = read.stringList(QStringLiteral("outputFiles"));
    record.finalSize = read.optionalInteger(QStringLiteral("finalSize"));
    record.error = read.optionalString(QStringLiteral("error"));
    return read.result(std::move(record), error);
}
