#include "HistoryItem.h"

#include "core/Json.h"
#include "core/StringPool.h"
#include "engine/DownloadTask.h"

HistoryItem HistoryItem::from(const DownloadTask &task)
{
    HistoryItem item;
    item.id = task.id();
    item.title = task.displayTitle();
    item.thumbnail = task.options().thumbnail;
    item.date = task.finishedAt().value_or(QDateTime::currentDateTimeUtc());
    item.status = task.status();
    if (!task.outputFiles().isEmpty())
        item.filePath = task.outputFiles().last();
    item.folder = task.options().folder;
    item.sourceURL = task.options().url;
    item.size = task.finalSize();
    item.error = task.error();
    item.options = task.options();
    return item;
}

QJsonObject HistoryItem::toJson() const
{
    QJsonObject object{
        {QStringLiteral("id"), Json::uuidText(id)},
        {QStringLiteral("title"), title},
        {QStringLiteral("date"), Json::dateText(date)},
        {QStringLiteral("status"), TaskStatuses::rawValue(status)},
        {QStringLiteral("folder"), folder},
        {QStringLiteral("sourceURL"), sourceURL},
        {QStringLiteral("options"), options.toJson()},
    };
    Json::insertOptional(object, QStringLiteral("thumbnail"), thumbnail);
    Json::insertOptional(object, QStringLiteral("filePath"), filePath);
    Json::insertOptional(object, QStringLiteral("size"), size);
    Json::insertOptional(object, QStringLiteral("error"), error);
    return object;
}

std::optional<HistoryItem> HistoryItem::fromJson(const QJsonObject &object, QString *error)
{
    Json::Reader read(object);
    HistoryItem item;
    item.id = read.uuid(QStringLiteral("id"));
    item.title = read.string(QStringLiteral("title"));
    item.thumbnail = read.optionalString(QStringLiteral("thumbnail"));
    item.date = read.date(QStringLiteral("date"));
    const QString status = read.string(QStringLiteral("status"));
    if (read.ok()) {
        if (const auto decoded = TaskStatuses::fromRawValue(status))
            item.status = *decoded;
        else
            read.fail(QStringLiteral("unknown status \"%1\"").arg(status));
    }
    item.filePath = read.optionalString(QStringLiteral("filePath"));
    item.folder = read.string(QStringLiteral("folder"));
    item.sourceURL = read.string(QStringLiteral("sourceURL"));
    item.size = read.optionalInteger(QStringLiteral("size"));
    item.error = read.optionalString(QStringLiteral("error"));
    const QJsonObject options = read.object(QStringLiteral("options"));
    if (read.ok()) {
        QString optionsError;
        if (const auto decoded = DownloadOptions::fromJson(options, &optionsError))
            item.options = *decoded;
        else
            read.fail(QStringLiteral("options: ") + optionsError);
    }
    return read.result(std::move(item), error);
}

void HistoryItem::shareTexts(StringPool &pool)
{
    for (QString *text : {&title, &folder, &sourceURL})
        pool.share(*text);
    for (std::optional<QString> *text : {&thumbnail, &filePath, &error})
        pool.share(*text);
    options.shareTexts(pool);
}
