import QtQuick
import Morvane

// The queue screen in a window of the content area's size.
AppWindow {
    id: window

    required property DownloadQueueModel queue
    required property LogSheetModel logSheet

    width: 900
    height: 720

    QueueView {
        objectName: "queueView"
        anchors.fill: parent
        queue: window.queue
        logSheet: window.logSheet
    }
}
