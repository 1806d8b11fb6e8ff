#pragma once

#include "QmlHarness.h"
#include "RecordingDesktopServices.h"
#include "TestEnvironment.h"
#include "engine/DownloadManager.h"
#include "engine/HistoryStore.h"
#include "ui/downloader/DownloadQueueModel.h"
#include "ui/downloader/LogSheetModel.h"

class QQuickItem;
class QQuickWindow;

// The queue screen in a window of the content area's size, over a real queue that is never
// started (tasks stay where a test puts them), with a desktop that only records.
struct QueueScreen
{
    QueueScreen();

    // A queued task titled `title`; nothing runs it.
    DownloadTask *add(const QString &title);
    // One task in each status, as the gallery shows them.
    void addEveryStatus();

    [[nodiscard]] QQuickItem *list() const;
    // The built row of a task (null when it is not built); its control or entry `objectName`.
    [[nodiscard]] QQuickItem *row(int index) const;
    [[nodiscard]] QQuickItem *control(int index, const QString &action) const;
    [[nodiscard]] QObject *sheet() const;
    [[nodiscard]] QStringList titles() const;

    TestEnvironment env;
    HistoryStore history;
    DownloadManager manager{&history};
    RecordingDesktopServices desktop;
    DownloadQueueModel queue{&manager, &desktop};
    LogSheetModel logSheet{&desktop};
    QmlHarness harness;
    QQuickWindow *window = nullptr;
};
