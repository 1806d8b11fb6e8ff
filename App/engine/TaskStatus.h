#pragma once

#include <QList>
#include <QString>

#include <optional>

// The state of a task in the queue, stored by its raw value in "queue.json" and "history.json".
enum class TaskStatus { Queued, Downloading, Processing, Paused, Completed, Failed, Cancelled };

namespace TaskStatuses {
[[nodiscard]] const QList<TaskStatus> &all();
[[nodiscard]] QString rawValue(TaskStatus status);
// Exact, case-sensitive match of a raw value.
[[nodiscard]] std::optional<TaskStatus> fromRawValue(const QString &text);
// yt-dlp runs for the task (fetching data or post-processing).
[[nodiscard]] bool isActive(TaskStatus status);
// Completed, failed or cancelled: the task will not run again unless retried.
[[nodiscard]] bool isFinished(TaskStatus status);
} // namespace TaskStatuses
