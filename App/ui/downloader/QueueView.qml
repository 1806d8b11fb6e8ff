import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// The download queue: the toolbar of whole-queue actions above the task rows, or the empty
// state, and the log sheet of the task whose log is asked for.
Item {
    id: view

    required property DownloadQueueModel queue
    required property LogSheetModel logSheet
    // The model names the task whose log is asked for; the sheet shows it until it closes.
    readonly property string logTask: queue.logTask

    onLogTaskChanged: {
        if (logTask !== "")
            sheet.show(logTask);
    }

    RowLayout {
        id: toolbar
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.topMargin: 8
        // In line with the page's title and segments.
        anchors.rightMargin: 28
        spacing: 4

        QueueToolButton {
            objectName: "pauseAll"
            symbol: "pause.fill"
            text: "Pause All"
            onClicked: view.queue.pauseAll()
        }
        QueueToolButton {
            objectName: "resumeAll"
            symbol: "play.fill"
            text: "Resume All"
            onClicked: view.queue.resumeAll()
        }
        QueueToolButton {
            objectName: "clearFinished"
            symbol: "trash"
            text: "Clear Finished"
            help: "Remove completed, failed and cancelled items"
            onClicked: view.queue.clearFinished()
        }
    }

    Column {
        anchors.centerIn: parent
        spacing: 8
        visible: view.queue.empty

        Icon {
            anchors.horizontalCenter: parent.horizontalCenter
            name: "tray"
            size: 42
            color: Theme.dim
            opacity: 0.6
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Queue is empty"
            color: Theme.text
            font.pixelSize: Theme.title3
            font.weight: Font.Medium
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Downloads you add will appear here."
            color: Theme.dim
            font.pixelSize: Theme.body
        }
    }

    QueueList {
        objectName: "queueList"
        anchors.top: toolbar.bottom
        anchors.topMargin: 8
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.leftMargin: 28
        anchors.rightMargin: 28
        visible: !view.queue.empty
        queue: view.queue

        delegate: TaskRow {
            width: ListView.view.width
        }
    }

    LogSheet {
        id: sheet
        objectName: "logSheet"
        model: view.logSheet
        onClosed: view.queue.closeLog()
    }
}
