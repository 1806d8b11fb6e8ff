import QtQuick
import QtQuick.Controls
import Morvane

// The small white slider of the player controls. Tab reaches it and the arrow keys move it by
// `stepSize`; a click leaves the keyboard focus where it was.
Slider {
    id: slider

    focusPolicy: Qt.TabFocus
    implicitHeight: 16
    padding: 0

    background: Rectangle {
        x: slider.leftPadding
        y: slider.topPadding + (slider.availableHeight - height) / 2
        width: slider.availableWidth
        height: 3
        radius: 1.5
        color: Qt.rgba(1, 1, 1, 0.18)

        Rectangle {
            width: slider.visualPosition * parent.width
            height: parent.height
            radius: parent.radius
            color: slider.enabled ? "white" : Theme.dim
        }
    }

    handle: Rectangle {
        x: slider.leftPadding + slider.visualPosition * (slider.availableWidth - width)
        y: slider.topPadding + (slider.availableHeight - height) / 2
        width: 10
        height: 10
        radius: 5
        color: "white"
        visible: slider.enabled
    }

    FocusRing {
        shown: slider.visualFocus
    }
}
