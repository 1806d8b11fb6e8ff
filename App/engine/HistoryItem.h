#pragma once

#include "engine/DownloadOptions.h"
#include "engine/TaskStatus.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QUuid>

#include <optional>

class DownloadTask;
class StringPool;

// A finished (or cancelled) download as the history keeps it: one element of "history.json".
struct HistoryItem
{
    QUuid id; // the task's id, which also names its log
    QString title;
    std::optional<QString> thumbnail;
    QDateTime date;
    TaskStatus status = TaskStatus::Completed;
    std::optional<QString> filePath; // the last final file yt-dlp reported
    QString folder;
    QString sourceURL;
    std::optional<qint64> size;
    std::optional<QString> error;
    DownloadOptions options; // the whole request, so the download can be queued again

    bool operator==(const HistoryItem &) const = default;

    // The entry for a task as it stands now; dated now when the task has no finish time.
    [[nodiscard]] static HistoryItem from(const DownloadTask &task);

    [[nodiscard]] QJsonObject toJson() const;
    [[nodiscard]] static std::optional<HistoryItem> fromJson(const QJsonObject &object, QString *error = nullptr);
    // Makes every text an equal one of the pool already holds share its storage.
    void shareTexts(StringPool &pool);
};
