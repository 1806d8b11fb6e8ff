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
            sheet.show(logTask, queue.logTitle);
    }

    RowLayout {
        id: toolbar
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.topMargin: 8
        // The page inset, as every screen's content keeps from the window's edge.
        anchors.rightMargin: Theme.pageInset
        spacing: 4

        SymbolButton {
            flat: true
            objectName: "pauseAll"
            symbol: "pause.fill"
            text: "Pause All"
            onClicked: view.queue.pauseAll()
        }
        SymbolButton {
            flat: true
            objectName: "resumeAll"
            symbol: "play.fill"
            text: "Resume All"
            onClicked: view.queue.resumeAll()
        }
        SymbolButton {
            flat: true
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
            textFormat: Text.PlainText
            color: Theme.text
            font.pixelSize: Theme.title3
            font.weight: Font.Medium
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Downloads you add will appear here."
            textFormat: Text.PlainText
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
        anchors.leftMargin: Theme.pageInset
        anchors.rightMargin: Theme.pageInset
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
