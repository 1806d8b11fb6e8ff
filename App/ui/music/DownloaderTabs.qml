import QtQuick
import Morvane

// The downloader inside the music window: the tab that the shared selection names, built anew
// whenever the selection moves.
Item {
    id: tabs

    required property RouteViewModel routes
    required property DownloadQueueModel queue
    required property DownloadScreenModel download
    required property LogSheetModel logSheet
    required property HistoryViewModel history

    function show() {
        switch (routes.downloadsTab) {
        case "history":
            tab.setSource("../downloader/HistoryTab.qml", {
                "history": history,
                "logSheet": logSheet
            })
            return
        case "download":
            tab.setSource("../downloader/DownloadScreen.qml", {
                "model": download
            })
            return
        }
        tab.setSource("../downloader/QueueView.qml", {
            "queue": queue,
            "logSheet": logSheet
        })
    }

    Component.onCompleted: show()

    Connections {
        target: tabs.routes
        function onDownloadsTabChanged() {
            tabs.show()
        }
    }

    Loader {
        id: tab
        objectName: "downloaderTab"
        anchors.fill: parent
    }
}
