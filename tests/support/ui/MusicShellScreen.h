#pragma once

#include "MusicShellRig.h"
#include "QmlHarness.h"
#include "RecordingDesktopServices.h"
#include "ui/downloader/DiagnosticsViewModel.h"
#include "ui/downloader/DownloadQueueModel.h"
#include "ui/downloader/DownloadScreenModel.h"
#include "ui/downloader/HistoryViewModel.h"
#include "ui/downloader/LogSheetModel.h"
#include "ui/music/MusicShellModel.h"
#include "ui/settings/MusicSettingsModel.h"
#include "ui/settings/ToolsSettingsModel.h"

#include <QSize>

class QQuickItem;
class QQuickWindow;

// The music shell in a window of `size`, over MusicShellRig's AppState (on `library`, when given),
// with a desktop that only records.
struct MusicShellScreen
{
    explicit MusicShellScreen(QSize size = {1020, 660}, const QByteArray &library = {});

    // The item named `objectName` in the window; null when there is none.
    [[nodiscard]] QQuickItem *item(const QString &objectName) const;
    // `item` in window coordinates.
    [[nodiscard]] static QRectF sceneRect(const QQuickItem *item);
    void click(const QQuickItem *item) const;
    // Types Latin-1 `text` into whatever has the focus.
    void type(const QString &text) const;

    MusicShellRig rig;
    RecordingDesktopServices desktop;
    DownloadQueueModel queue{&rig.state->downloads(), &desktop};
    LogSheetModel logSheet{&desktop};
    DownloadScreenModel download{*rig.state};
    HistoryViewModel history{&rig.state->history(), &rig.state->downloads(), &desktop};
    MusicSettingsModel music{rig.state->player(), rig.state->library()};
    ToolsSettingsModel tools{&rig.state->deps(), {[] {}, [](const QString &) {}}};
    DiagnosticsViewModel diagnostics{&rig.state->deps(), &desktop, [] {}};
    MusicShellModel model{rig.state.get()};
    QmlHarness harness;
    QQuickWindow *window = nullptr;
};
