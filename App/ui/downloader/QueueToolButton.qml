import QtQuick
import QtQuick.Controls
import Morvane

// A toolbar button of the queue screen: a symbol and its label, with an optional tooltip.
ToolButton {
    id: button

    required property string symbol
    property string help: ""

    contentItem: Row {
        spacing: 6
        Icon {
            anchors.verticalCenter: parent.verticalCenter
            name: button.symbol
            size: 16
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: button.text
            color: Theme.text
            font.pixelSize: Theme.body
        }
    }
    ToolTip.visible: help !== "" && hovered
    ToolTip.text: help
    ToolTip.delay: 600
}
