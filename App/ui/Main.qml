import QtQuick
import Morvane

// The main window. Closing it only hides it: the application keeps running until it is quit.
AppWindow {
    id: window

    required property RootViewModel root
    required property SetupViewModel setup
    required property DiagnosticsViewModel diagnostics
    required property HistoryViewModel history
    required property DownloadQueueModel queue
    required property LogSheetModel logSheet

    objectName: "mainWindow"
    title: "Morvane"
    width: 1280
    height: 800
    minimumWidth: 1020
    minimumHeight: 660

    Root {
        anchors.fill: parent
        model: window.root
        setup: window.setup
        diagnostics: window.diagnostics
        history: window.history
        queue: window.queue
        logSheet: window.logSheet
    }
}
