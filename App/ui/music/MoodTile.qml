import QtQuick
import QtQuick.Controls
import Morvane

// A mood as a small tile; a click starts a station of its music where the user is.
ShelfItem {
    id: tile

    required property string key
    required property string help

    objectName: "mood:" + key
    width: 164
    height: 70
    Accessible.description: help

    Rectangle {
        anchors.fill: parent
        radius: 12
        color: Theme.panel
        border.width: 1
        border.color: Theme.stroke
    }
    Row {
        anchors.left: parent.left
        anchors.leftMargin: 14
        anchors.verticalCenter: parent.verticalCenter
        spacing: 8

        Icon {
            anchors.verticalCenter: parent.verticalCenter
            name: "dot.radiowaves.left.and.right"
            size: 16
            color: Theme.accent
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: tile.title
            textFormat: Text.PlainText
            color: Theme.text
            font.pixelSize: 15
            font.weight: Font.DemiBold
        }
    }
    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: tile.activate()
    }
    ToolTip.visible: area.containsMouse
    ToolTip.delay: 500
    ToolTip.text: tile.help
}
