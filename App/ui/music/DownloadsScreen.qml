import QtQuick
import Morvane

// The downloader inside the music window: the header's segments choose the queue, the finished
// downloads or the link form. The choice is the coordinator's selection, so it is there again
// when the screen comes back, and the content is built anew whenever it moves.
Item {
    id: screen

    required property DownloadsScreenModel model
    required property DownloadQueueModel queue
    required property DownloadScreenModel download
    required property LogSheetModel logSheet
    required property HistoryViewModel history

    function show() {
        switch (model.content) {
        case "history":
            history.startFresh()
            content.setSource("../downloader/HistoryTab.qml", {
                "history": history,
                "logSheet": logSheet
            })
            return
        case "download":
            content.setSource("../downloader/DownloadScreen.qml", {
                "model": download
            })
            return
        }
        content.setSource("../downloader/QueueView.qml", {
            "queue": queue,
            "logSheet": logSheet
        })
    }

    Component.onCompleted: show()

    Connections {
        target: screen.model
        function onContentChanged() {
            screen.show()
        }
    }

    SegmentedHeader {
        id: header
        objectName: "downloadsHeader"
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        title: screen.model.title
        segments: screen.model.segments
        current: screen.model.segment
        pickerWidth: 320
        onChosen: index => screen.model.choose(index)
    }

    Loader {
        id: content
        objectName: "downloaderTab"
        anchors.top: header.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        onLoaded: KeyboardAccess.showPage(item)
    }
}
