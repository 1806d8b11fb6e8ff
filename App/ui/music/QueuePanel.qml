import QtQuick
import QtQuick.Controls
import Morvane

// The queue at the right of the music window: the song playing, then "Next Up", whose rows are
// dragged to reorder. A drag carries the row's uid; at the drop the row it lands before is looked
// up in the list as it is then, so an advance or a refill during the drag moves the right item.
Rectangle {
    id: panel

    required property QueuePanelModel model
    // The uid of the row being dragged, and where the drop line stands (content y).
    property string draggedUid: ""
    property real dropY: -1

    color: Theme.side

    function beforeUidAt(y: real): string {
        const row = list.indexAt(list.width / 2, y)
        if (row < 0) {
            const first = list.itemAtIndex(0)
            return first && y < first.y ? panel.model.upcoming.uidAt(0) : ""
        }
        const item = list.itemAtIndex(row)
        return y - item.y > item.height / 2 ? panel.model.upcoming.uidAt(row + 1) : panel.model.upcoming.uidAt(row)
    }

    function drop(y: real) {
        if (draggedUid !== "")
            model.upcoming.moveBefore(draggedUid, beforeUidAt(y))
        draggedUid = ""
        dropY = -1
    }

    Row {
        id: header

        anchors.left: parent.left
        anchors.right: parent.right
        padding: 16
        spacing: 8
        height: 56

        Text {
            id: heading

            anchors.verticalCenter: parent.verticalCenter
            width: parent.width - 32 - clearButton.width - closeButton.width - 16
            text: qsTr("Queue")
            textFormat: Text.PlainText
            color: Theme.text
            font.pixelSize: 17
            font.bold: true
        }

        PlainTextButton {
            id: clearButton

            objectName: "clearButton"
            anchors.verticalCenter: parent.verticalCenter
            visible: panel.model.canClear
            width: visible ? implicitWidth : 0
            text: qsTr("Clear")
            onClicked: panel.model.clear()
        }

        SymbolToolButton {
            id: closeButton

            objectName: "closeButton"
            anchors.verticalCenter: parent.verticalCenter
            symbol: "xmark"
            help: qsTr("Close")
            colour: Theme.dim
            onClicked: panel.model.close()
        }
    }

    EmptyState {
        objectName: "emptyState"
        anchors.top: header.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        visible: panel.model.queueEmpty
        symbol: "list.bullet"
        title: qsTr("Queue is empty")
        message: qsTr("Play a song, or use “Add to Queue” from any track’s menu.")
    }

    Column {
        id: sections

        anchors.top: header.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        visible: !panel.model.queueEmpty

        Text {
            visible: panel.model.hasCurrent
            topPadding: 6
            bottomPadding: 4
            text: qsTr("Now Playing")
            textFormat: Text.PlainText
            color: Theme.dim
            font.pixelSize: Theme.caption
            font.bold: true
        }

        // Its hover is the pointer's, read live: nothing carries over to the next song. Outside the
        // list, Tab reaches it on its own.
        QueueRow {
            objectName: "currentRow"
            width: parent.width
            activeFocusOnTab: true
            visible: panel.model.hasCurrent
            uid: panel.model.currentUid
            title: panel.model.title
            artist: panel.model.artist
            durationText: panel.model.currentDurationText
            artwork: panel.model.artwork
            current: true
            onPlay: uid => panel.model.upcoming.play(uid)
        }

        Item {
            width: parent.width
            height: 30

            Text {
                anchors.left: parent.left
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 4
                text: qsTr("Next Up")
                textFormat: Text.PlainText
                color: Theme.dim
                font.pixelSize: Theme.caption
                font.bold: true
            }

            Row {
                objectName: "nonStopLabel"
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 4
                visible: panel.model.nonStop
                spacing: 3

                Icon {
                    name: "infinity"
                    size: Theme.caption2
                    color: Theme.dim
                }

                Text {
                    text: panel.model.nonStopLabel
                    textFormat: Text.PlainText
                    color: Theme.dim
                    font.pixelSize: Theme.caption2
                    font.weight: Font.Medium
                }
            }
        }
    }

    ListView {
        id: list

        objectName: "upcomingList"
        anchors.top: sections.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        visible: !panel.model.queueEmpty
        clip: true
        reuseItems: true
        activeFocusOnTab: true
        model: panel.model.upcoming
        boundsBehavior: Flickable.StopAtBounds
        // In the panel's margin beside the rows, clear of their durations.
        ScrollBar.vertical: ScrollBar {
            objectName: "upcomingScrollBar"
            parent: panel
            x: list.x + list.width
            y: list.y
            height: list.height
            policy: ScrollBar.AlwaysOn
        }

        delegate: QueueRow {
            id: queueRow

            width: ListView.view.width
            onPlay: uid => panel.model.upcoming.play(uid)
            onRemove: uid => panel.model.upcoming.remove(uid)

            DragHandler {
                target: null
                xAxis.enabled: false
                onActiveChanged: () => {
                    if (active)
                        panel.draggedUid = queueRow.uid
                    else
                        panel.drop(panel.dropY)
                }
                onCentroidChanged: () => {
                    if (active)
                        panel.dropY = queueRow.mapToItem(list.contentItem, centroid.position).y
                }
            }
        }

        // Where the dragged row will land.
        Rectangle {
            parent: list.contentItem
            visible: panel.draggedUid !== "" && panel.dropY >= 0
            x: 0
            y: panel.dropY
            width: list.width
            height: 2
            color: Theme.accent
        }
    }
}
