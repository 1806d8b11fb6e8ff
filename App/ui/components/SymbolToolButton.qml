import QtQuick
import QtQuick.Controls
import Morvane

// An icon-only, borderless button, sized by its symbol; its help text shows on hover and names it
// for accessibility. A click leaves the keyboard focus where it was. Disabled, it dims.
ToolButton {
    id: button

    property string symbol
    property string help
    property real size: 15
    property color colour: Theme.text
    property bool bold: false

    padding: 3
    implicitWidth: Math.max(size + leftPadding + rightPadding, 20)
    implicitHeight: Math.max(size + topPadding + bottomPadding, 20)
    flat: true
    focusPolicy: Qt.TabFocus
    Accessible.name: help
    ToolTip.visible: hovered && help !== ""
    ToolTip.text: help
    ToolTip.delay: 500
    contentItem: Icon {
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        name: button.symbol
        size: button.size
        font.bold: button.bold
        color: button.colour
        opacity: button.enabled ? 1 : 0.35
    }
}
