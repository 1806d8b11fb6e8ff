#pragma once

#include "engine/TaskStatus.h"

#include <QString>

#include <optional>

class DownloadTask;

// The values of a download task that its row shows, copied at one moment: what the row's
// presentation is computed from, and what tests build by hand.
struct TaskSnapshot
{
    TaskStatus status = TaskStatus::Queued;
    double progress = 0;
    qint64 currentBytes = 0;
    std::optional<qint64> totalBytes;
    std::optional<double> speed; // bytes per second
    std::optional<int> eta;      // seconds
    std::optional<qint64> finalSize;
    QString stage;
    std::optional<QString> error;
    QString firstFile; // local path of the newest final file; empty when there is none
    QString displayTitle;
    int itemIndex = 1;
    int itemCount = 1;
    QString url;
    std::optional<QString> thumbnail;
    bool audioOnly = false;

    bool operator==(const TaskSnapshot &) const = default;

    [[nodiscard]] static TaskSnapshot of(const DownloadTask &task);
};
