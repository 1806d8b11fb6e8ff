#include "TaskRecord.h"

#include "core/Json.h"

#include <QJsonArray>

#include <algorithm>
#include <cmath>
#include <limits>

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
    if (itemCount >= 2) {
        object.insert(QStringLiteral("itemIndex"), itemIndex);
        object.insert(QStringLiteral("itemCount"), itemCount);
    }
    if (!itemTitle.isEmpty())
        object.insert(QStringLiteral("itemTitle"), itemTitle);
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
    // Kept at 1 or more, as a task keeps them.
    const auto count = [&read](const QString &key) {
        return int(std::clamp<qint64>(read.optionalInteger(key).value_or(1), 1, std::numeric_limits<int>::max()));
    };
    record.itemIndex = count(QStringLiteral("itemIndex"));
    record.itemCount = count(QStringLiteral("itemCount"));
    record.itemTitle = read.optionalString(QStringLiteral("itemTitle")).value_or(QString());
    return read.result(std::move(record), error);
}
