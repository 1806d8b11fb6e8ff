#include "TaskPresentation.h"

#include "core/TextHelpers.h"
#include "ui/downloader/PercentText.h"
#include "ui/downloader/ThumbnailLink.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

const QString separator = QStringLiteral(" \u00b7 ");

QString downloadingLine(const TaskSnapshot &task)
{
    QStringList parts{percentText(task.progress)};
    if (task.currentBytes >= 1) {
        QString bytes = formatByteCount(task.currentBytes);
        if (task.totalBytes)
            bytes += QStringLiteral(" of ") + formatByteCount(*task.totalBytes);
        parts.append(bytes);
    }
    // A speed that is not a finite, non-negative number is left out rather than shown wrong.
    if (task.speed && std::isfinite(*task.speed) && *task.speed >= 0) {
        // Capped far above any real link, so the whole number always fits.
        parts.append(formatByteCount(qint64(std::min(*task.speed, 1e15))) + QStringLiteral("/s"));
    }
    if (task.eta)
        parts.append(QStringLiteral("ETA ") + formatDuration(double(*task.eta)));
    if (!task.stage.isEmpty())
        parts.append(task.stage);
    return parts.join(separator);
}

QString completedLine(const TaskSnapshot &task)
{
    QStringList parts{QStringLiteral("Done")};
    if (task.finalSize)
        parts.append(formatByteCount(*task.finalSize));
    if (task.error)
        parts.append(*task.error);
    if (!task.firstFile.isEmpty())
        parts.append(QFileInfo(task.firstFile).fileName());
    return parts.join(separator);
}

} // namespace

QString TaskPresentation::statusLineOf(const TaskSnapshot &task)
{
    switch (task.status) {
    case TaskStatus::Queued: return task.stage.isEmpty() ? QStringLiteral("Waiting\u2026") : task.stage;
    case TaskStatus::Processing: return task.stage.isEmpty() ? QStringLiteral("Processing\u2026") : task.stage;
    case TaskStatus::Downloading: return downloadingLine(task);
    case TaskStatus::Paused:
        return QStringLiteral("Paused at ") + percentText(task.progress) +
               QStringLiteral(" \u2014 resume continues from the partial file");
    case TaskStatus::Completed: return completedLine(task);
    case TaskStatus::Failed: return task.error.value_or(QStringLiteral("Failed"));
    case TaskStatus::Cancelled: return QStringLiteral("Cancelled");
    }
    return {};
}

QList<UiAction> TaskPresentation::controlsOf(const TaskSnapshot &task)
{
    QList<UiAction> controls;
    switch (task.status) {
    case TaskStatus::Queued:
    case TaskStatus::Downloading:
    case TaskStatus::Processing: controls.append(UiAction::button("pause.fill", "Pause", "pause")); break;
    case TaskStatus::Paused: controls.append(UiAction::button("play.fill", "Resume", "resume")); break;
    case TaskStatus::Failed:
    case TaskStatus::Cancelled: controls.append(UiAction::button("arrow.clockwise", "Retry", "retry")); break;
    case TaskStatus::Completed:
        if (!task.firstFile.isEmpty())
            controls.append(UiAction::button("magnifyingglass", "Show in Folder", "reveal"));
        break;
    }
    if (!TaskStatuses::isFinished(task.status))
        controls.append(UiAction::button("xmark", "Cancel", "cancel"));
    controls.append(UiAction::button("doc.text", "Show log", "showLog"));
    controls.append(UiAction::button("trash", "Remove from queue", "remove"));
    return controls;
}

QList<UiAction> TaskPresentation::menuOf(const TaskSnapshot &task)
{
    QList<UiAction> menu{UiAction::entry("Move Up", "moveUp"), UiAction::entry("Move Down", "moveDown"),
                         UiAction::divider(), UiAction::entry("Show Log", "showLog")};
    if (!task.firstFile.isEmpty())
        menu.append(UiAction::entry("Show in Folder", "reveal"));
    menu.append(UiAction::entry("Copy Link", "copyLink"));
    return menu;
}

TaskPresentation TaskPresentation::of(const TaskSnapshot &task)
{
    TaskPresentation row;
    row.title = task.displayTitle;
    if (task.itemCount >= 2)
        row.itemText = QString::number(task.itemIndex) + QLatin1Char('/') + QString::number(task.itemCount);
    row.status = StatusLabel::of(task.status);
    row.statusLine = statusLineOf(task);
    row.statusLineColor = task.status == TaskStatus::Failed ? QStringLiteral("red") : QStringLiteral("secondary");
    row.showsProgress = !TaskStatuses::isFinished(task.status);
    row.progress = std::isfinite(task.progress) ? std::clamp(task.progress, 0.0, 1.0) : 0.0;
    row.thumbnail = loadableThumbnail(task.thumbnail);
    row.placeholderIcon = task.audioOnly ? QStringLiteral("music.note") : QStringLiteral("film");
    row.controls = controlsOf(task);
    row.menu = menuOf(task);
    return row;
}
