import QtQuick
import QtQuick.Controls
import Morvane

// A borderless symbol button of the player controls; its help text shows on hover and names it
// for accessibility. Disabled, it dims. Tab reaches it, a click leaves the keyboard focus where it
// was; inside a row that the keyboard reaches as a whole, the row sets NoFocus.
AbstractButton {
    id: button

    property string symbol
    property string help
    property real size: 15
    property color colour: Theme.text
    property bool bold: false

    implicitWidth: Math.max(size + 6, 20)
    implicitHeight: Math.max(size + 6, 20)
    focusPolicy: Qt.TabFocus
    Accessible.name: help !== "" ? help : symbol
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

    FocusRing {
        shown: button.visualFocus
    }
}
