import QtQuick
import Morvane

// A genre as a coloured tile: its own diagonal gradient behind a large note, the name in the
// bottom-left corner. A click searches the genre's music on the Search screen.
ShelfItem {
    id: tile

    required property string key
    required property color fromColour
    required property color toColour

    objectName: "genre:" + key
    width: 164
    height: 92

    // Rectangle gradients run only across or down; the diagonal is painted.
    Canvas {
        id: fill
        anchors.fill: parent
        onPaint: {
            const context = getContext("2d")
            context.reset()
            const gradient = context.createLinearGradient(0, 0, width, height)
            gradient.addColorStop(0, tile.fromColour)
            gradient.addColorStop(1, tile.toColour)
            context.fillStyle = gradient
            context.beginPath()
            context.roundedRect(0, 0, width, height, 12, 12)
            context.fill()
        }
    }
    onFromColourChanged: fill.requestPaint()

    Icon {
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: 12
        name: "music.quarternote.3"
        size: 44
        color: Qt.rgba(1, 1, 1, 0.14)
    }
    // Plain text: a name such as "R&B" shows its "&".
    Text {
        anchors.left: parent.left
        anchors.bottom: parent.bottom
        anchors.margins: 12
        text: tile.title
        textFormat: Text.PlainText
        color: Theme.text
        font.pixelSize: 17
        font.bold: true
    }
    Rectangle {
        anchors.fill: parent
        radius: 12
        color: "transparent"
        border.width: 1
        border.color: Theme.stroke
    }
    MouseArea {
        anchors.fill: parent
        onClicked: tile.activate()
    }
}
