#include "HistoryRowPresentation.h"

#include "core/TextHelpers.h"
#include "ui/downloader/ThumbnailLink.h"

#include <QFileInfo>
#include <QLocale>

HistoryRowPresentation HistoryRowPresentation::of(const HistoryItem &item)
{
    HistoryRowPresentation row;
    row.status = StatusLabel::of(item.status);
    row.dateText = QLocale().toString(item.date.toLocalTime(), QLocale::ShortFormat);
    if (item.size)
        row.sizeText = formatByteCount(*item.size);
    row.detail = item.filePath ? *item.filePath : item.error ? *item.error : item.folder;
    row.detailColor = item.status == TaskStatus::Failed ? QStringLiteral("red") : QStringLiteral("secondary");
    row.thumbnail = loadableThumbnail(item.thumbnail);
    return row;
}

QList<UiAction> HistoryRowPresentation::buttonsOf(const HistoryItem &item, bool fileExists)
{
    QList<UiAction> buttons;
    if (item.status == TaskStatus::Completed && fileExists) {
        buttons.append(UiAction::button("play.circle", "Open file", "openFile"));
        buttons.append(UiAction::button("folder", "Show in Folder", "reveal"));
    } else if (item.status != TaskStatus::Completed) {
        buttons.append(UiAction::button("arrow.clockwise", "Retry", "retry"));
    }
    buttons.append(UiAction::button("doc.text", "Show log", "showLog"));
    return buttons;
}

QList<UiAction> HistoryRowPresentation::menuOf(const HistoryItem &item, bool fileExists)
{
    QList<UiAction> menu;
    if (fileExists) {
        menu.append(UiAction::entry("Open File", "openFile"));
        menu.append(UiAction::entry("Show in Folder", "reveal"));
    }
    menu.append(UiAction::entry("Open Folder", "openFolder"));
    menu.append(UiAction::entry("Copy Source URL", "copySourceURL"));
    menu.append(UiAction::entry("Show Log", "showLog"));
    if (item.status != TaskStatus::Completed)
        menu.append(UiAction::entry("Retry Download", "retry"));
    menu.append(UiAction::divider());
    menu.append(UiAction::entry("Remove from History", "remove"));
    return menu;
}

bool HistoryRowPresentation::fileExists(const HistoryItem &item)
{
    return item.filePath && QFileInfo::exists(*item.filePath);
}
