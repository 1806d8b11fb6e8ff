#include "StatusLabel.h"

StatusLabel StatusLabel::of(TaskStatus status)
{
    switch (status) {
    case TaskStatus::Queued: return {QStringLiteral("Queued"), QStringLiteral("clock"), QStringLiteral("secondary")};
    case TaskStatus::Downloading:
        return {QStringLiteral("Downloading"), QStringLiteral("arrow.down.circle.fill"), QStringLiteral("accent")};
    case TaskStatus::Processing:
        return {QStringLiteral("Processing"), QStringLiteral("gearshape.2.fill"), QStringLiteral("accent")};
    case TaskStatus::Paused:
        return {QStringLiteral("Paused"), QStringLiteral("pause.circle.fill"), QStringLiteral("orange")};
    case TaskStatus::Completed:
        return {QStringLiteral("Completed"), QStringLiteral("checkmark.circle.fill"), QStringLiteral("green")};
    case TaskStatus::Failed:
        return {QStringLiteral("Failed"), QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("red")};
    case TaskStatus::Cancelled:
        return {QStringLiteral("Cancelled"), QStringLiteral("xmark.circle"), QStringLiteral("secondary")};
    }
    return {};
}
