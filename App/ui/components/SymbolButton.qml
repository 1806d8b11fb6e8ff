import QtQuick
import QtQuick.Controls
import Morvane

// A button labelled with a symbol and its text.
Button {
    id: button

    property string symbol

    contentItem: Row {
        spacing: 6
        Icon {
            anchors.verticalCenter: parent.verticalCenter
            name: button.symbol
            size: 16
            color: button.enabled ? Theme.text : Theme.dim
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: button.text
            color: button.enabled ? Theme.text : Theme.dim
            font.pixelSize: Theme.body
        }
    }
}
