import QtQuick
import QtQuick.Controls
import Morvane

// One entry of a song's menu. Its label is plain text, not the item's text, so a playlist named
// "R&B" shows its "&" instead of taking it for a shortcut mark.
MenuItem {
    id: item

    property string label
    property string symbol
    property bool destructive: false

    Accessible.name: label
    contentItem: Row {
        spacing: 8

        Icon {
            anchors.verticalCenter: parent.verticalCenter
            width: 16
            visible: item.symbol !== ""
            name: item.symbol
            size: 15
            color: item.destructive ? Theme.red : Theme.text
        }

        Text {
            anchors.verticalCenter: parent.verticalCenter
            // What the icon leaves: a long playlist name ends in "…".
            width: parent.width - x
            elide: Text.ElideRight
            text: item.label
            textFormat: Text.PlainText
            color: item.destructive ? Theme.red : Theme.text
            font.pixelSize: Theme.body
        }
    }
}
