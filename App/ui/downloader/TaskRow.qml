import QtQuick
import QtQuick.Controls
import Morvane

// One task of the queue: thumbnail, title, playlist position, status, bar and summary, then the
// icon buttons. Everything shown is a role of the queue model; actions go back to it by task id.
// Pressing and moving the row drags it; the queue screen resolves the drop. The keyboard reaches
// the row as its list's current item: Return or Space shows the log, the Menu key opens the menu at
// the row, and Tab goes on through the current row's buttons.
Item {
    id: row

    required property var model
    required property int index
    required property string title
    required property string itemText
    required property string statusText
    required property string statusIcon
    required property string statusColor
    required property string statusLine
    required property string statusLineColor
    required property bool showsProgress
    required property real progress
    required property string thumbnail
    required property string placeholderIcon
    required property var controls
    required property var menu

    // "id" names the role but cannot name a property.
    readonly property string taskId: model.id
    // The row lives in the queue's list, which resolves drags and opens the menu.
    readonly property QueueList queueList: ListView.view as QueueList
    readonly property bool dragged: queueList !== null && queueList.draggedTask === taskId
    // Only the current row's buttons are stops of the Tab chain, not every row's.
    readonly property int buttonFocus: ListView.isCurrentItem ? Qt.TabFocus : Qt.NoFocus

    function activate() {
        queueList.queue.trigger(taskId, "showLog");
    }
    function openMenu() {
        queueList.showMenu(taskId, menu, row);
    }

    objectName: "taskRow" + index
    implicitHeight: content.height + 12
    opacity: dragged ? 0.5 : 1
    focus: ListView.isCurrentItem
    // The current row is the list's stop of the Tab chain, so Shift+Tab from its buttons comes back to it.
    activeFocusOnTab: ListView.isCurrentItem
    Accessible.role: Accessible.ListItem
    Accessible.name: title
    Accessible.description: statusText
    Keys.onPressed: event => event.accepted = KeyboardAccess.press(row, event.key, event.modifiers)

    FocusRing {
        shown: row.activeFocus
        inset: 0
    }

    MouseArea {
        id: dragArea
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        preventStealing: true

        property real pressY: 0
        property bool dragging: false

        onPressed: mouse => {
            pressY = mouse.y;
            dragging = false;
        }
        onPositionChanged: mouse => {
            if (!(mouse.buttons & Qt.LeftButton))
                return;
            if (!dragging && Math.abs(mouse.y - pressY) < 6)
                return;
            dragging = true;
            row.queueList.dragTo(row.taskId, mapToItem(row.queueList.contentItem, mouse.x, mouse.y).y);
        }
        onReleased: mouse => {
            if (dragging)
                row.queueList.drop();
            dragging = false;
        }
        onClicked: mouse => {
            // The keyboard goes on from the row last clicked.
            row.queueList.currentIndex = row.index;
            if (mouse.button === Qt.RightButton)
                row.queueList.showMenu(row.taskId, row.menu);
        }
    }

    Row {
        id: content
        y: 6
        width: parent.width
        spacing: 12

        Rectangle {
            id: thumbnailFrame
            width: 96
            height: 54
            radius: 6
            color: Qt.rgba(1, 1, 1, 0.06)

            Icon {
                anchors.centerIn: parent
                name: row.placeholderIcon
                size: 20
                color: Theme.dim
                visible: picture.status !== Image.Ready
            }
            // The provider delivers the crop with its corners rounded.
            Image {
                id: picture
                anchors.fill: parent
                source: row.thumbnail !== "" ? "image://thumbnail/" + encodeURIComponent(row.thumbnail) : ""
                sourceSize.width: 96
                sourceSize.height: 54
                asynchronous: true
                visible: status === Image.Ready
            }
        }

        Column {
            width: content.width - thumbnailFrame.width - buttons.width - 2 * content.spacing
            spacing: 5

            Item {
                width: parent.width
                height: titleText.height

                Text {
                    id: titleText
                    objectName: "titleLabel"
                    width: Math.min(implicitWidth, parent.width - position.width - status.width - 16)
                    text: row.title
                    textFormat: Text.PlainText
                    color: Theme.text
                    font.pixelSize: Theme.body
                    font.weight: Font.Medium
                    elide: Text.ElideRight
                    maximumLineCount: 1
                }
                Text {
                    id: position
                    anchors.left: titleText.right
                    anchors.leftMargin: 8
                    anchors.baseline: titleText.baseline
                    text: row.itemText
                    textFormat: Text.PlainText
                    visible: text !== ""
                    width: visible ? implicitWidth : 0
                    color: Theme.dim
                    font.pixelSize: Theme.caption
                }
                Row {
                    id: status
                    anchors.right: parent.right
                    anchors.verticalCenter: titleText.verticalCenter
                    spacing: 4

                    Icon {
                        anchors.verticalCenter: parent.verticalCenter
                        name: row.statusIcon
                        size: 12
                        color: Theme.roleColour(row.statusColor)
                    }
                    Text {
                        objectName: "statusLabel"
                        anchors.verticalCenter: parent.verticalCenter
                        text: row.statusText
                        textFormat: Text.PlainText
                        color: Theme.roleColour(row.statusColor)
                        font.pixelSize: Theme.caption
                    }
                }
            }

            Rectangle {
                visible: row.showsProgress
                width: parent.width
                height: 4
                radius: 2
                color: Theme.stroke

                Rectangle {
                    width: parent.width * row.progress
                    height: parent.height
                    radius: parent.radius
                    color: Theme.roleColour(row.statusColor)
                }
            }

            Text {
                width: parent.width
                text: row.statusLine
                // Changes every tick of a running download: no look for markup each time.
                textFormat: Text.PlainText
                color: Theme.roleColour(row.statusLineColor)
                font.pixelSize: Theme.caption
                wrapMode: Text.Wrap
                maximumLineCount: 2
                elide: Text.ElideRight
            }
        }

        Row {
            id: buttons
            anchors.verticalCenter: parent.verticalCenter
            spacing: 4

            Repeater {
                model: row.controls
                // Wired here: a delegate that reached the row would read it from a context of its own.
                onItemAdded: (index, item) => {
                    const button = item as ToolButton;
                    button.clicked.connect(() => row.queueList.queue.trigger(row.taskId, button.objectName));
                    button.focusPolicy = Qt.binding(() => row.buttonFocus);
                }

                SymbolToolButton {
                    required property var modelData

                    objectName: modelData.action
                    implicitWidth: 26
                    implicitHeight: 26
                    symbol: modelData.icon
                    help: modelData.text
                    size: 18
                }
            }
        }
    }
}
