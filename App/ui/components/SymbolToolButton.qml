import QtQuick
import QtQuick.Controls
import Morvane

// An icon-only, borderless button; its help text shows on hover and names it for accessibility.
ToolButton {
    id: button

    property string symbol
    property string help

    flat: true
    Accessible.name: help
    ToolTip.visible: hovered && help !== ""
    ToolTip.text: help
    ToolTip.delay: 500
    contentItem: Icon {
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        name: button.symbol
        size: 18
        color: button.enabled ? Theme.text : Theme.dim
    }
}
