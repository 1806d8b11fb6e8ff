import QtQuick
import QtQuick.Templates as T
import Morvane

// The surface of every button-like control: plain (nothing until hovered), bordered (a quiet fill
// with an outline) or prominent (the accent), lighter while hovered and darker while pressed, with
// the focus ring while the keyboard focus is on it.
Rectangle {
    id: face

    required property T.Control control
    property bool pressed: false
    property bool checked: false
    property bool bordered: true
    property bool prominent: false

    readonly property real strength: pressed ? 0.2 : control.hovered ? 0.13 : checked ? 0.12 : bordered ? 0.08 : 0

    implicitWidth: 64
    implicitHeight: 28
    radius: 6
    color: prominent ? (pressed ? Qt.darker(Theme.accent, 1.25) : control.hovered ? Qt.lighter(Theme.accent, 1.1) : Theme.accent)
                     : Qt.rgba(1, 1, 1, strength)
    border.width: bordered && !prominent ? 1 : 0
    border.color: Theme.stroke

    FocusRing {
        shown: face.control.visualFocus
        overAccent: face.prominent
    }
}
