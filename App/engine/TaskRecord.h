#pragma once

#include "DownloadOptions.h"
#include "TaskStatus.h"

#include <QDateTime>
#include <QJsonObject>
#include <QStringList>
#include <QUuid>

#include <optional>

// The stored form of one download task: one element of the array in "queue.json". Runtime state
// (speed, time left, byte counters, stage text, collected error lines) is not kept; the playlist
// item is, since the row names the task by its title after the run too.
struct TaskRecord
{
    QUuid id;
    DownloadOptions options;
    TaskStatus status = TaskStatus::Queued;
    double progress = 0; // 0...1
    QDateTime createdAt;
    std::optional<QDateTime> finishedAt;
    QStringList outputFiles; // absolute paths, in order
    std::optional<qint64> finalSize;
    std::optional<QString> error;
    // Written only when the task had an item of its own, so files without these keys still read
    // as a task that has none.
    int itemIndex = 1;
    int itemCount = 1;
    QString itemTitle;

    bool operator==(const TaskRecord &) const = default;

    // Dates are written as whole seconds; progress is clamped to 0...1 so that a stray NaN can
    // never reach the file (it would be written as null and make the whole queue unreadable).
    [[nodiscard]] QJsonObject toJson() const;
    [[nodiscard]] static std::optional<TaskRecord> fromJson(const QJsonObject &object, QString *error = nullptr);
};
