import QtQuick
import QtQuick.Templates as T
import Morvane

// A stepper: a minus and a plus button side by side. The value shows once, in the label the screen
// puts beside it; the arrow keys step it too.
T.SpinBox {
    id: control

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, down.implicitIndicatorWidth + up.implicitIndicatorWidth)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, up.implicitIndicatorHeight)
    padding: 0
    opacity: enabled ? 1 : 0.4

    contentItem: Item {}

    down.indicator: Rectangle {
        x: 0
        implicitWidth: 28
        implicitHeight: 24
        radius: 6
        color: Qt.rgba(1, 1, 1, control.down.pressed ? 0.2 : control.down.hovered ? 0.13 : 0.08)
        opacity: control.value > Math.min(control.from, control.to) ? 1 : 0.4

        Icon {
            anchors.centerIn: parent
            name: "minus"
            size: 14
        }
    }

    up.indicator: Rectangle {
        x: control.width - width
        implicitWidth: 28
        implicitHeight: 24
        radius: 6
        color: Qt.rgba(1, 1, 1, control.up.pressed ? 0.2 : control.up.hovered ? 0.13 : 0.08)
        opacity: control.value < Math.max(control.from, control.to) ? 1 : 0.4

        Icon {
            anchors.centerIn: parent
            name: "plus"
            size: 14
        }
    }

    background: Rectangle {
        implicitWidth: 57
        implicitHeight: 24
        radius: 6
        color: "transparent"
        border.color: Theme.stroke

        Rectangle {
            anchors.centerIn: parent
            width: 1
            height: parent.height - 8
            color: Theme.stroke
        }
        FocusRing {
            shown: control.visualFocus
        }
    }
}
