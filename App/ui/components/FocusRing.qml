import QtQuick
import Morvane

// The accent outline of whatever holds the keyboard focus. A keyboard user must see where the next
// key press goes; a mouse click gives focus too, so callers show it for keyboard focus only
// (`visualFocus` on controls, or their own rule on plain items).
Rectangle {
    property bool shown: false
    property real inset: -2

    anchors.fill: parent
    anchors.margins: inset
    color: "transparent"
    border.color: Theme.accent
    border.width: 2
    radius: 6
    visible: shown
    Accessible.ignored: true
}
