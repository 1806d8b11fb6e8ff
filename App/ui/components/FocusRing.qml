import QtQuick
import Morvane

// The accent outline of whatever holds the keyboard focus. A keyboard user must see where the next
// key press goes; a mouse click gives focus too, so callers show it for keyboard focus only
// (`visualFocus` on controls, or their own rule on plain items). Around a control filled with the
// accent (`overAccent`) an accent ring would only look like a larger fill: there it is white.
Rectangle {
    property bool shown: false
    property bool overAccent: false
    property real inset: -2

    anchors.fill: parent
    anchors.margins: inset
    color: "transparent"
    border.color: overAccent ? Theme.text : Theme.accent
    border.width: 2
    radius: 6
    visible: shown
    Accessible.ignored: true
}
