import QtQuick
import Morvane

// The music shell filling a main window, over the fixture the test hands in.
AppWindow {
    id: page

    required property MusicShellModel model
    required property DownloadQueueModel queue
    required property DownloadScreenModel download
    required property LogSheetModel logSheet
    required property HistoryViewModel history
    required property MusicSettingsModel music
    required property ToolsSettingsModel tools
    required property DiagnosticsViewModel diagnostics

    width: 1020
    height: 660

    MusicShell {
        anchors.fill: parent
        model: page.model
        queue: page.queue
        download: page.download
        logSheet: page.logSheet
        history: page.history
        music: page.music
        tools: page.tools
        diagnostics: page.diagnostics
    }
}
