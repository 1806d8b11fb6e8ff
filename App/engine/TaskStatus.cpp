#include "TaskStatus.h"

#include "core/RawValues.h"

namespace TaskStatuses {

const QList<TaskStatus> &all()
{
    static const QList<TaskStatus> statuses{TaskStatus::Queued,   TaskStatus::Downloading, TaskStatus::Processing,
                                            TaskStatus::Paused,   TaskStatus::Completed,   TaskStatus::Failed,
                                            TaskStatus::Cancelled};
    return statuses;
}

QString rawValue(TaskStatus status)
{
    switch (status) {
    case TaskStatus::Queued: return QStringLiteral("queued");
    case TaskStatus::Downloading: return QStringLiteral("downloading");
    case TaskStatus::Processing: return QStringLiteral("processing");
    case TaskStatus::Paused: return QStringLiteral("paused");
    case TaskStatus::Completed: return QStringLiteral("completed");
    case TaskStatus::Failed: return QStringLiteral("failed");
    case TaskStatus::Cancelled: return QStringLiteral("cancelled");
    }
    return {};
}

std::optional<TaskStatus> fromRawValue(const QString &text)
{
    return RawValues::find(all(), &rawValue, text);
}

bool isActive(TaskStatus status)
{
    return status == TaskStatus::Downloading || status == TaskStatus::Processing;
}

bool isFinished(TaskStatus status)
{
    return status == TaskStatus::Completed || status == TaskStatus::Failed || status == TaskStatus::Cancelled;
}

} // namespace TaskStatuses
