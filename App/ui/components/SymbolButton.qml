import QtQuick
import QtQuick.Controls
import Morvane

// A button labelled with a symbol and its text; its help text, when it has one, shows on hover.
// Flat, it is a toolbar's button.
Button {
    id: button

    property string symbol
    property string help

    ToolTip.visible: hovered && help !== ""
    ToolTip.text: help
    ToolTip.delay: 600
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
            textFormat: Text.PlainText
            color: button.enabled ? Theme.text : Theme.dim
            font.pixelSize: Theme.body
        }
    }
}
