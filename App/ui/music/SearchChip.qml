import QtQuick
import Morvane

// A past search as a capsule with a clock; a click searches it again. Plain text, so what the
// user typed shows as typed.
ShelfItem {
    id: chip

    objectName: "chip:" + title
    width: row.implicitWidth + 28
    height: row.implicitHeight + 16
    ringRadius: height / 2

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Theme.panel
    }

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 6

        Icon {
            anchors.verticalCenter: parent.verticalCenter
            name: "clock"
            size: 14
            color: Theme.dim
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: chip.title
            textFormat: Text.PlainText
            color: Theme.text
            font.pixelSize: 13
        }
    }
    MouseArea {
        anchors.fill: parent
        onClicked: chip.activate()
    }
}
